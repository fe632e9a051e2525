// The transfer members called by dispatch ID against an FTP server on
// 127.0.0.1: the settings are kept for the next transfer, each upload arrives
// in the format and at the remote path its own arguments name (the page of
// 40 x 30 pixels the right way round), and a refused login uploads nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/testing/local_servers.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt::testing {
namespace {

namespace fs = std::filesystem;
using testing_support::Quoted;
using testing_support::RunTool;

class FtpServerOfTheTest : public testing_support::WithBuildTreePlugin {
protected:
    FtpServerOfTheTest() { fs::create_directories(root_.path() / "scans"); }

    files::testing::ScratchFolder temp_{"twain-ftp-table-temp"};
    files::testing::ScratchFolder root_{"twain-ftp-table-root"};
    inet::testing::LocalServer server_{std::string(INET_TESTDATA_DIR) + "/ftp_server.py",
                                       {root_.path().string(), "scan", "pw"}};
    win::testing::ScopedEnvironment tmp_{"tmp", nullptr};
    win::testing::ScopedEnvironment temp2_{"temp", nullptr};
    win::testing::ScopedEnvironment tmpdir_{"TMPDIR", temp_.path().c_str()};
    win::testing::ScopedEnvironment noProxy_{"no_proxy", "127.0.0.1"};
};

class FtpUploadTable : public TwainTableOver<FtpServerOfTheTest> {};

struct TransferRow {
    const char* member;
    std::vector<RowArgument> args;  // "<port>" stands for the server's port
    int32_t answer;                 // the status, or 0 for a member without one
    bool passiveAfter;
    int32_t bufferAfter;
    const char* arrived;            // the remote file, if one arrives
    const char* identified;         // what ImageMagick says of it
};
const TransferRow kTransferRows[] = {
    {"SetHttpTransfertBufferSize", {int32_t{8192}}, 0, true, 8192, nullptr, nullptr},
    {"SetFtpPassiveMode", {false}, 0, false, 8192, nullptr, nullptr},
    {"SaveToFTP", {"PNG", int32_t{0}, "127.0.0.1", "\\\\scans\\a.png", "scan", "pw", "<port>"}, OK, false, 8192,
     "scans/a.png", "PNG 40 30"},
    {"SetFtpPassiveMode", {true}, 0, true, 8192, nullptr, nullptr},
    {"SaveToFTP", {"JPG", int32_t{90}, "127.0.0.1", "b.jpg", "scan", "pw", "<port>"}, OK, true, 8192, "b.jpg",
     "JPEG 40 30"},
    {"SaveToFTP", {"BMP", int32_t{0}, "127.0.0.1", "c.bmp", "scan", "wrong", "<port>"}, InternetConnectError, true,
     8192, nullptr, nullptr},
};
const bool kTransferRowsRegistered = RegisterMemberTable("_Twain", kTransferRows);

TEST_F(FtpUploadTable, SettingsLastAndEachUploadArrivesAsItsArgumentsSay) {
    ASSERT_TRUE(kTransferRowsRegistered);
    control().setCurrentImage(testing_support::MakePage(40, 30));
    for (const TransferRow& row : kTransferRows) {
        SCOPED_TRACE(row.member);
        std::vector<RowArgument> args = row.args;
        for (RowArgument& a : args)
            if (a == RowArgument{std::string("<port>")}) a = static_cast<int32_t>(server_.port());
        const CallAnswer answer = call(row.member, args);
        ASSERT_EQ(answer.hr, com::S_OK);
        EXPECT_EQ(answer.number, row.answer);
        EXPECT_EQ(control().ftpPassive(), row.passiveAfter);
        EXPECT_EQ(control().httpBufferSize(), row.bufferAfter);
        if (row.arrived) {
            const std::string remote = (root_.path() / row.arrived).string();
            EXPECT_EQ(RunTool("identify -format '%m %w %h' " + Quoted(remote)).Output, row.identified);
        }
    }
    EXPECT_FALSE(fs::exists(root_.path() / "c.bmp"));
    EXPECT_TRUE(fs::is_empty(temp_.path()));
}

}  // namespace
}  // namespace scanvelt::testing
