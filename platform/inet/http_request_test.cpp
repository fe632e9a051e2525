#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/internet.h"
#include "platform/inet/testing/local_servers.h"

namespace inet {
namespace {

std::string Pattern(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
    return bytes;
}

std::string Script(const char* name) { return std::string(INET_TESTDATA_DIR) + "/" + name; }

// A port that nothing listens on: bound once, then let go.
int ClosedPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

class HttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("CURL_CA_BUNDLE");
        ::unsetenv("SSL_CERT_FILE");
        baseline_ = OpenHandleCount();
        session_ = InternetOpenA("scanvelt-test", INTERNET_OPEN_TYPE_DIRECT);
        ASSERT_NE(session_, 0u);
    }
    void TearDown() override {
        // Closing the session closes every connection and request under it.
        EXPECT_TRUE(InternetCloseHandle(session_));
        EXPECT_EQ(OpenHandleCount(), baseline_);
        ::unsetenv("CURL_CA_BUNDLE");
    }

    HINTERNET Get(int port, const std::string& path, uint32_t flags = 0) {
        const HINTERNET connection = InternetConnectA(session_, "127.0.0.1", port, "", "", INTERNET_SERVICE_HTTP, 0);
        EXPECT_NE(connection, 0u);
        const HINTERNET request = HttpOpenRequestA(connection, "GET", path, "HTTP/1.0", "", flags);
        EXPECT_NE(request, 0u);
        return request;
    }

    static uint32_t StatusOf(HINTERNET request) {
        uint32_t status = 0, length = 4;
        EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length));
        return status;
    }

    // Reads the body in `chunk`-byte reads; false when a read failed.
    static bool ReadAll(HINTERNET request, uint32_t chunk, std::string& body, std::vector<uint32_t>* sizes = nullptr) {
        std::vector<char> buffer(chunk);
        for (;;) {
            uint32_t read = 0;
            if (!InternetReadFile(request, buffer.data(), chunk, &read)) return false;
            if (read == 0) return true;
            if (sizes) sizes->push_back(read);
            body.append(buffer.data(), read);
        }
    }

    size_t baseline_ = 0;
    HINTERNET session_ = 0;
};

TEST_F(HttpRequestTest, DownloadsFiveMegabytesInChunksOnAPortAbove32767) {
    testing::LocalServer server(Script("http_server.py"), {});
    // The kernel hands out free ports from 32768 up: a port a 16-bit signed
    // number cannot hold.
    ASSERT_GT(server.port(), 32767);
    constexpr size_t kSize = 5u << 20;
    const HINTERNET request = Get(server.port(), "/bytes/" + std::to_string(kSize));
    ASSERT_TRUE(HttpSendRequestA(request, "", ""));
    EXPECT_EQ(StatusOf(request), 200u);
    uint64_t length = 0;
    uint32_t size = 8;
    ASSERT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER64, &length, &size));
    EXPECT_EQ(length, kSize);
    std::string body;
    std::vector<uint32_t> sizes;
    ASSERT_TRUE(ReadAll(request, 65536, body, &sizes));
    EXPECT_EQ(sizes.size(), kSize / 65536);
    EXPECT_TRUE(body == Pattern(kSize));

    // One read larger than what the layer holds back from the server at a time.
    const HINTERNET whole = Get(server.port(), "/bytes/" + std::to_string(kSize));
    ASSERT_TRUE(HttpSendRequestA(whole, "", ""));
    std::string again;
    sizes.clear();
    ASSERT_TRUE(ReadAll(whole, 3u << 20, again, &sizes));
    EXPECT_EQ(sizes, (std::vector<uint32_t>{3u << 20, 2u << 20}));
    EXPECT_TRUE(again == Pattern(kSize));
}

TEST_F(HttpRequestTest, FailuresGiveTheirCodes) {
    testing::LocalServer server(Script("http_server.py"), {});
    struct Case {
        const char* what;
        int port;
        std::string path;
        bool sent;            // HttpSendRequest succeeds
        uint32_t sendError;   // its error otherwise
        uint32_t status;      // status code when sent
        bool bodyWhole;       // the body reads to its end without error
        size_t bodyBytes;     // bytes that arrive
    };
    const Case cases[] = {
        {"missing file", server.port(), "/nothing/here", true, 0, 404, true, std::string::npos},
        {"refused connection", ClosedPort(), "/bytes/10", false, ERROR_INTERNET_CANNOT_CONNECT, 0, false, 0},
        {"truncated body", server.port(), "/short/100000", true, 0, 200, false, 50000},
        {"redirect loop", server.port(), "/loop", false, ERROR_HTTP_REDIRECT_FAILED, 0, false, 0},
        {"one redirect", server.port(), "/redirect/1000", true, 0, 200, true, 1000},
        {"no length", server.port(), "/nolength/3000", true, 0, 200, true, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HINTERNET request = Get(c.port, c.path);
        if (!c.sent) {
            EXPECT_FALSE(HttpSendRequestA(request, "", ""));
            EXPECT_EQ(GetLastError(), c.sendError);
            uint32_t read = 7;
            char byte;
            EXPECT_FALSE(InternetReadFile(request, &byte, 1, &read));
            EXPECT_EQ(read, 0u);
            continue;
        }
        ASSERT_TRUE(HttpSendRequestA(request, "", ""));
        EXPECT_EQ(StatusOf(request), c.status);
        std::string body;
        EXPECT_EQ(ReadAll(request, 4096, body), c.bodyWhole);
        if (!c.bodyWhole) {
            EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_ABORTED);
        }
        if (c.bodyBytes != std::string::npos) {
            EXPECT_EQ(body.size(), c.bodyBytes);
            EXPECT_TRUE(body == Pattern(body.size()));
        }
    }
}

TEST_F(HttpRequestTest, HttpsChecksTheCertificateAndTheHostName) {
    files::testing::ScratchFolder folder("inet-tls");
    const std::string own = folder.file("own");
    const std::string other = folder.file("other");
    std::filesystem::create_directories(own);
    std::filesystem::create_directories(other);
    testing::MakeSelfSignedCertificate(own);
    testing::MakeSelfSignedCertificate(other, "files.example.org");
    testing::LocalServer server(Script("http_server.py"),
                                {"--cert", own + "/cert.pem", "--key", own + "/key.pem"});
    testing::LocalServer misnamed(Script("http_server.py"),
                                  {"--cert", other + "/cert.pem", "--key", other + "/key.pem"});

    // Not trusted: refused for its issuer, even with the flag that once let a wrong name pass.
    HINTERNET request = Get(server.port(), "/bytes/100", INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_CN_INVALID);
    EXPECT_FALSE(HttpSendRequestA(request, "", ""));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_CA);
    EXPECT_FALSE(SystemMessageText(ERROR_INTERNET_INVALID_CA).empty());

    // Trusted through the environment: the same request works.
    ::setenv("CURL_CA_BUNDLE", (own + "/cert.pem").c_str(), 1);
    request = Get(server.port(), "/bytes/100", INTERNET_FLAG_SECURE);
    ASSERT_TRUE(HttpSendRequestA(request, "", ""));
    std::string body;
    ASSERT_TRUE(ReadAll(request, 64, body));
    EXPECT_TRUE(body == Pattern(100));

    // Trusted, but made out to another host: refused for the name.
    ::setenv("CURL_CA_BUNDLE", (other + "/cert.pem").c_str(), 1);
    request = Get(misnamed.port(), "/bytes/100", INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_CN_INVALID);
    EXPECT_FALSE(HttpSendRequestA(request, "", ""));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_SEC_CERT_CN_INVALID);
}

TEST_F(HttpRequestTest, QueriesAnswerTextNumbersAndDates) {
    testing::LocalServer server(Script("http_server.py"), {});
    const HINTERNET request = Get(server.port(), "/dated");
    ASSERT_TRUE(HttpSendRequestA(request, "X-Scan: 1\r\n", ""));

    char small[3];
    uint32_t length = sizeof small;
    EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_TYPE, small, &length));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(length, sizeof "application/octet-stream");
    std::string text(length, '\0');
    ASSERT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_TYPE, text.data(), &length));
    EXPECT_EQ(text.substr(0, length), "application/octet-stream");

    SystemTime time;
    length = sizeof time;
    ASSERT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &time, &length));
    EXPECT_EQ(time.year, 2009);
    EXPECT_EQ(time.month, 5);
    EXPECT_EQ(time.day, 13);
    EXPECT_EQ(time.dayOfWeek, 3);
    EXPECT_EQ(time.hour, 10);
    EXPECT_EQ(time.minute, 30);

    uint32_t number = 0;
    length = 4;
    EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_LOCATION | HTTP_QUERY_FLAG_NUMBER, &number, &length));
    EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);

    std::string sent(512, '\0');
    length = static_cast<uint32_t>(sent.size());
    ASSERT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF | HTTP_QUERY_FLAG_REQUEST_HEADERS, sent.data(),
                               &length));
    EXPECT_NE(sent.find("X-Scan: 1"), std::string::npos) << sent;
}

TEST_F(HttpRequestTest, RefusesPortsNoServerCanHaveAndForeignHandles) {
    for (const int port : {-1, 65536, 70000}) {
        EXPECT_EQ(InternetConnectA(session_, "127.0.0.1", port, "", "", INTERNET_SERVICE_HTTP, 0), 0u) << port;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_NE(InternetConnectA(session_, "127.0.0.1", 65535, "", "", INTERNET_SERVICE_HTTP, 0), 0u);
    EXPECT_EQ(HttpOpenRequestA(session_, "GET", "/", "", "", 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    EXPECT_FALSE(InternetCloseHandle(0x12345));
}

}  // namespace
}  // namespace inet
