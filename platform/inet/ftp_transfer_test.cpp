#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/internet.h"
#include "platform/inet/testing/local_servers.h"

namespace inet {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

class FtpTransferTest : public ::testing::Test {
protected:
    FtpTransferTest()
        : root_("inet-ftp-root"),
          local_("inet-ftp-local"),
          server_(std::string(INET_TESTDATA_DIR) + "/ftp_server.py", {root_.path().string(), "scan", "s3cret"}) {}

    void SetUp() override {
        baseline_ = OpenHandleCount();
        session_ = InternetOpenA("scanvelt-test", INTERNET_OPEN_TYPE_DIRECT);
        ASSERT_NE(session_, 0u);
    }
    void TearDown() override {
        EXPECT_TRUE(InternetCloseHandle(session_));
        EXPECT_EQ(OpenHandleCount(), baseline_);
    }

    HINTERNET Connect(bool passive, const char* password = "s3cret") {
        return InternetConnectA(session_, "127.0.0.1", server_.port(), "scan", password, INTERNET_SERVICE_FTP,
                                passive ? INTERNET_FLAG_PASSIVE : 0);
    }

    files::testing::ScratchFolder root_;
    files::testing::ScratchFolder local_;
    testing::LocalServer server_;
    size_t baseline_ = 0;
    HINTERNET session_ = 0;
};

TEST_F(FtpTransferTest, PutsAndGetsInPassiveAndActiveMode) {
    std::filesystem::create_directories(root_.path() / "scans");
    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        const std::string bytes = RandomBytes(700000, passive ? 1 : 2);
        const std::string upload = local_.write(passive ? "up-p.bin" : "up-a.bin", bytes);
        const HINTERNET connection = Connect(passive);
        ASSERT_NE(connection, 0u) << GetLastError();
        const std::string remote = std::string("scans/page ") + (passive ? "p" : "a") + "#1.bin";
        ASSERT_TRUE(FtpPutFileA(connection, upload, remote)) << GetLastError();
        EXPECT_TRUE(ReadFile((root_.path() / remote).string()) == bytes);

        const std::string download = local_.file(passive ? "down-p.bin" : "down-a.bin");
        ASSERT_TRUE(FtpGetFileA(connection, remote, download, false)) << GetLastError();
        EXPECT_TRUE(ReadFile(download) == bytes);
        // An existing file is kept when the caller asks so.
        EXPECT_FALSE(FtpGetFileA(connection, remote, download, true));
        EXPECT_TRUE(InternetCloseHandle(connection));
    }
}

TEST_F(FtpTransferTest, WrongPasswordMissingFileAndMissingUpload) {
    EXPECT_EQ(Connect(true, "wrong"), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_LOGIN_FAILURE);

    const HINTERNET connection = Connect(true);
    ASSERT_NE(connection, 0u);
    const std::string download = local_.file("never.bin");
    EXPECT_FALSE(FtpGetFileA(connection, "no/such/file.bin", download, false));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_FALSE(std::filesystem::exists(download));
    EXPECT_TRUE(local_.names().empty());

    EXPECT_FALSE(FtpPutFileA(connection, local_.file("absent.bin"), "absent.bin"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // The connection still serves after the failures.
    const std::string upload = local_.write("after.bin", "after");
    EXPECT_TRUE(FtpPutFileA(connection, upload, "after.bin")) << GetLastError();
    EXPECT_EQ(ReadFile((root_.path() / "after.bin").string()), "after");
}

TEST_F(FtpTransferTest, RefusedConnectionIsAConnectError) {
    const HINTERNET connection =
        InternetConnectA(session_, "127.0.0.1", 1, "scan", "s3cret", INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE);
    EXPECT_EQ(connection, 0u);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
}

}  // namespace
}  // namespace inet
