#include "imaging/output/inet/cinet.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/testing/local_servers.h"
#include "platform/win/pending_messages.h"

namespace scanvelt {
namespace {

constexpr int32_t kHttp = 3;

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + i / 251) % 256);
    return bytes;
}

std::string Script(const char* name) { return std::string(INET_TESTDATA_DIR) + "/" + name; }

struct Progress {
    int32_t percent;
    int64_t left;
    int64_t total;
};

class CInetTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Requests to the local servers never go through a proxy of the environment.
        ::setenv("no_proxy", "127.0.0.1", 1);
        baseline_ = inet::OpenHandleCount();
    }
    void TearDown() override {
        win::SetPendingMessagesHandler({});
        // Every handle the objects opened is closed once they are gone.
        EXPECT_EQ(inet::OpenHandleCount(), baseline_);
    }

    // A GET sent on a fresh object that records the progress events.
    std::unique_ptr<cInet> Sent(int port, const std::string& path, std::vector<Progress>& events) {
        auto transfer = std::make_unique<cInet>();
        EXPECT_NE(transfer->hInternet(), 0u);
        transfer->PacketReceieved = [&events](int32_t& percent, int64_t& left, int64_t& total) {
            events.push_back({percent, left, total});
        };
        EXPECT_NE(transfer->Request("GET", "127.0.0.1", path, port, kHttp), 0u);
        return transfer;
    }

    inet::testing::LocalServer* http() {
        if (!http_) http_ = std::make_unique<inet::testing::LocalServer>(Script("http_server.py"), std::vector<std::string>{});
        return http_.get();
    }

    size_t baseline_ = 0;
    std::unique_ptr<inet::testing::LocalServer> http_;
};

TEST_F(CInetTest, ReadsFiveMegabytesInChunksWithProgressInOrder) {
    constexpr int64_t kSize = 5 << 20;
    std::vector<Progress> events;
    int pumped = 0;
    win::SetPendingMessagesHandler([&] { ++pumped; });
    {
        auto transfer = Sent(http()->port(), "/bytes/" + std::to_string(kSize), events);
        ASSERT_NE(transfer->SendRequest("", ""), 0);
        std::string text;
        int64_t length = 0;
        ASSERT_NE(transfer->QueryInfo(0x20000005, text, length), 0);
        ASSERT_EQ(length, kSize);
        transfer->BufferSize(65536);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(transfer->ReadArray(bytes, length));
        EXPECT_TRUE(bytes == Pattern(kSize));
    }
    ASSERT_EQ(events.size(), static_cast<size_t>(kSize / 65536));
    EXPECT_EQ(pumped, static_cast<int>(events.size()));
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].total, kSize);
        EXPECT_EQ(events[i].left, kSize - static_cast<int64_t>(i + 1) * 65536);
        if (i > 0) {
            EXPECT_LE(events[i].percent, events[i - 1].percent);
        }
    }
    EXPECT_EQ(events.back().percent, 0);
}

TEST_F(CInetTest, ChunksOfTheBufferSizeReportTheShareStillToCome) {
    std::vector<Progress> events;
    auto transfer = Sent(http()->port(), "/bytes/10000", events);
    ASSERT_NE(transfer->SendRequest("", ""), 0);
    transfer->BufferSize(4096);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(transfer->ReadArray(bytes, 10000));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].percent, 59);
    EXPECT_EQ(events[1].percent, 18);
    EXPECT_EQ(events[2].percent, 0);
    EXPECT_EQ(events[2].left, 0);

    // Nothing to read: true at once, the array untouched.
    std::vector<uint8_t> kept{1, 2, 3};
    EXPECT_TRUE(transfer->ReadArray(kept, 0));
    EXPECT_EQ(kept, (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(CInetTest, AStopFromAHostHandlerEndsTheReadAfterItsChunk) {
    std::vector<Progress> events;
    auto transfer = Sent(http()->port(), "/bytes/100000", events);
    ASSERT_NE(transfer->SendRequest("", ""), 0);
    transfer->BufferSize(8192);
    cInet* running = transfer.get();
    win::SetPendingMessagesHandler([&] {
        if (events.size() == 2) running->bStopReadArray = true;
    });
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(transfer->ReadArray(bytes, 100000));
    EXPECT_EQ(events.size(), 2u);
    // The next read starts with the flag cleared.
    win::SetPendingMessagesHandler({});
    EXPECT_TRUE(transfer->ReadArray(bytes, 100000 - 2 * 8192));
}

TEST_F(CInetTest, AnOwnerThatLetsGoInsideTheReadDoesNotEndIt) {
    auto transfer = std::make_shared<cInet>();
    ASSERT_NE(transfer->Request("GET", "127.0.0.1", "/bytes/50000", http()->port(), kHttp), 0u);
    ASSERT_NE(transfer->SendRequest("", ""), 0);
    transfer->BufferSize(10000);
    int events = 0;
    cInet* running = transfer.get();
    std::weak_ptr<cInet> watched = transfer;
    running->PacketReceieved = [&](int32_t&, int64_t&, int64_t&) {
        ++events;
        transfer.reset();  // the owner drops it after the first chunk
    };
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(running->ReadArray(bytes, 50000));
    EXPECT_EQ(events, 5);
    EXPECT_TRUE(bytes == Pattern(50000));
    EXPECT_TRUE(watched.expired());  // ended once the read returned
}

TEST_F(CInetTest, FailuresGiveTheirCodesAndTexts) {
    struct Case {
        const char* what;
        std::string path;
        bool sent;
        int64_t status;
        uint32_t error;
        const char* text;
    };
    const Case cases[] = {
        {"missing", "/nothing", true, 404, 0, nullptr},
        {"truncated", "/short/20000", true, 200, 12030, "The connection with the server has been terminated."},
        {"redirect loop", "/loop", false, 0, 12156, "The redirection failed because either the scheme changed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Progress> events;
        auto transfer = Sent(http()->port(), c.path, events);
        if (!c.sent) {
            EXPECT_EQ(transfer->SendRequest("", ""), 0);
        } else {
            ASSERT_NE(transfer->SendRequest("", ""), 0);
            std::string text;
            int64_t status = 0;
            ASSERT_NE(transfer->QueryInfo(0x20000013, text, status), 0);
            EXPECT_EQ(status, c.status);
            if (c.error != 0) {
                int64_t length = 0;
                ASSERT_NE(transfer->QueryInfo(0x20000005, text, length), 0);
                std::vector<uint8_t> bytes;
                // Half the body came: a failed download, never a success.
                EXPECT_FALSE(transfer->ReadArray(bytes, length));
            }
        }
        EXPECT_EQ(transfer->LastErrorCode(), c.error);
        if (c.text) {
            EXPECT_EQ(cInet::TranslateErrorCode(static_cast<int32_t>(transfer->LastErrorCode())), c.text);
        }
    }

    // Refused: the request is made (nothing is sent yet), the send fails.
    std::vector<Progress> events;
    auto refused = Sent(1, "/bytes/10", events);
    EXPECT_EQ(refused->SendRequest("", ""), 0);
    EXPECT_EQ(refused->LastErrorCode(), 12029u);
}

TEST_F(CInetTest, PortsAndLengthsBeyondTheirLimits) {
    cInet transfer;
    EXPECT_EQ(transfer.Request("GET", "127.0.0.1", "/", 70000, kHttp), 0u);
    EXPECT_EQ(transfer.hSession(), 0u);
    EXPECT_NE(transfer.Request("GET", "127.0.0.1", "/", 65535, kHttp), 0u);
    EXPECT_NE(transfer.hSession(), 0u);

    // A length beyond the ceiling is refused before any memory is taken.
    std::vector<uint8_t> bytes{9};
    EXPECT_FALSE(transfer.ReadArray(bytes, cInet::kMaxReadLength + 1));
    EXPECT_EQ(bytes, std::vector<uint8_t>{9});
    EXPECT_EQ(transfer.LastErrorCode(), 8u);
}

TEST_F(CInetTest, DateAndTextQueries) {
    std::vector<Progress> events;
    auto transfer = Sent(http()->port(), "/dated", events);
    ASSERT_NE(transfer->SendRequest("", ""), 0);
    std::string text;
    int64_t number = 0;
    ASSERT_NE(transfer->QueryInfo(0x4000000B, text, number), 0);
    EXPECT_EQ(text, "2009 13 3 5 10 30 0 0");
    // Bit 28 asks nothing.
    EXPECT_EQ(transfer->QueryInfo(0x10000005, text, number), 0);
    // A text query of what was sent fills the caller's buffer.
    std::string sent(400, ' ');
    ASSERT_NE(transfer->QueryInfo(static_cast<int32_t>(0x80000016), sent, number), 0);
    EXPECT_EQ(sent.size(), 400u);
    EXPECT_EQ(sent.rfind("GET /dated HTTP/1.0", 0), 0u) << sent;
}

TEST_F(CInetTest, GetOnPort443IsSecureAndChecksTheCertificate) {
    files::testing::ScratchFolder folder("cinet-tls");
    inet::testing::MakeSelfSignedCertificate(folder.path().string());
    const std::string cert = folder.file("cert.pem");
    std::unique_ptr<inet::testing::LocalServer> server;
    try {
        server = std::make_unique<inet::testing::LocalServer>(
            Script("http_server.py"),
            std::vector<std::string>{"--port", "443", "--cert", cert, "--key", folder.file("key.pem")});
    } catch (const std::exception&) {
        GTEST_SKIP() << "port 443 of 127.0.0.1 cannot be bound here (not root, or taken)";
    }
    {
        cInet transfer;
        ASSERT_NE(transfer.Request("GET", "127.0.0.1", "/bytes/100", 443, kHttp), 0u);
        EXPECT_EQ(transfer.SendRequest("", ""), 0);
        EXPECT_EQ(transfer.LastErrorCode(), 12045u);  // not trusted
    }
    ::setenv("CURL_CA_BUNDLE", cert.c_str(), 1);
    {
        cInet transfer;
        ASSERT_NE(transfer.Request("GET", "127.0.0.1", "/bytes/100", 443, kHttp), 0u);
        EXPECT_NE(transfer.SendRequest("", ""), 0) << transfer.LastErrorCode();
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(transfer.ReadArray(bytes, 100));
        EXPECT_TRUE(bytes == Pattern(100));
        // The verb in lower case opens a plain request: a plain one to a TLS port fails.
        ASSERT_NE(transfer.Request("get", "127.0.0.1", "/bytes/100", 443, kHttp), 0u);
        EXPECT_EQ(transfer.SendRequest("", ""), 0);
    }
    ::unsetenv("CURL_CA_BUNDLE");
}

TEST_F(CInetTest, ErrorTexts) {
    EXPECT_EQ(cInet::TranslateErrorCode(12002), "The request has timed out.");
    EXPECT_EQ(cInet::TranslateErrorCode(12011), "The request option can not be set, only queried. ");
    EXPECT_EQ(cInet::TranslateErrorCode(12038).rfind("SSL certificate common name (host name field) is incorrect. ", 0), 0u);
    EXPECT_EQ(cInet::TranslateErrorCode(12034), "Unknown Error");
    EXPECT_EQ(cInet::TranslateErrorCode(12035), "Unknown Error");
    const std::string system = cInet::TranslateErrorCode(12045);
    ASSERT_GE(system.size(), 2u);
    EXPECT_EQ(system.substr(system.size() - 2), "\r\n");
}

TEST_F(CInetTest, FtpSessionsGetFilesAndRefuseAWrongPassword) {
    files::testing::ScratchFolder root("cinet-ftp");
    files::testing::ScratchFolder local("cinet-local");
    root.write("in/bill.bin", std::string(30000, 'b'));
    inet::testing::LocalServer ftp(Script("ftp_server.py"), {root.path().string(), "scan", "pw"});
    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive);
        cInet transfer;
        transfer.bFtpPassiveMode = passive;
        ASSERT_NE(transfer.FtpOpenSession("127.0.0.1", ftp.port(), "scan", "pw"), 0u);
        const std::string target = local.file(passive ? "p.bin" : "a.bin");
        ASSERT_TRUE(inet::FtpGetFileA(transfer.hSession(), "in/bill.bin", target, false));
        EXPECT_EQ(std::filesystem::file_size(target), 30000u);
    }
    cInet refused;
    EXPECT_EQ(refused.FtpOpenSession("127.0.0.1", ftp.port(), "scan", "nope"), 0u);
    EXPECT_EQ(refused.LastErrorCode(), 12015u);
}

}  // namespace
}  // namespace scanvelt
