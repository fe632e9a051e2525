#include "imaging/twain/ftp_upload.h"

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/testing/local_servers.h"

namespace scanvelt {
namespace {

namespace fs = std::filesystem;
using testing_support::Quoted;
using testing_support::RunTool;

TEST(FtpRemotePathTest, SlashesTurnForwardAndAtMostTwoLeadingOnesGo) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\scans\\2024\\bill 7.jpg", "scans/2024/bill 7.jpg"},
        {"///root/page.tif", "/root/page.tif"},
        {"  /in/page.png  ", "in/page.png"},
        {"page.gif", "page.gif"},
    };
    for (const auto& [given, remote] : cases) EXPECT_EQ(FtpRemotePath(given), remote) << given;
}

class FtpUploadTest : public testing_support::WithBuildTreePlugin {
protected:
    FtpUploadTest()
        : temp_("twain-ftp-temp"),
          root_("twain-ftp-root"),
          server_(std::string(INET_TESTDATA_DIR) + "/ftp_server.py", {root_.path().string(), "scan", "pw"}) {}

    void SetUp() override {
        WithBuildTreePlugin::SetUp();
        control_ = std::make_unique<TwainControl>();
        const int32_t id = testing_support::RegisterBitmap(40, 30, gdiplus::PixelFormat24bppRGB);
        testing_support::SetPixels(id, std::vector<uint32_t>(40 * 30, 0xFF336699u));
        control_->setCurrentImage(id);
    }
    void TearDown() override {
        control_.reset();
        WithBuildTreePlugin::TearDown();
        // Every temporary file of the uploads is gone, failed ones included.
        std::string left;
        for (const auto& entry : fs::directory_iterator(temp_.path())) left += entry.path().filename().string() + " ";
        EXPECT_EQ(left, "");
    }

    MorvalenStatus Upload(const std::string& format, int32_t parameter, const std::string& path,
                          const std::string& password = "pw", int port = 0) {
        return SaveToFTP(*control_, format, parameter, "127.0.0.1", path, "scan", password,
                         port != 0 ? port : server_.port());
    }
    std::string Remote(const std::string& name) { return (root_.path() / name).string(); }

    files::testing::ScratchFolder temp_;
    files::testing::ScratchFolder root_;
    inet::testing::LocalServer server_;
    // The control's temporary files go into the test's own folder.
    win::testing::ScopedEnvironment tmp_{"tmp", nullptr};
    win::testing::ScopedEnvironment temp2_{"temp", nullptr};
    win::testing::ScopedEnvironment tmpdir_{"TMPDIR", temp_.path().c_str()};
    win::testing::ScopedEnvironment noProxy_{"no_proxy", "127.0.0.1"};
    std::unique_ptr<TwainControl> control_;
};

TEST_F(FtpUploadTest, UploadsInEachFormatPassiveAndActive) {
    struct Case {
        const char* format;
        int32_t parameter;
        const char* remote;
        const char* magick;  // ImageMagick's name of what arrived
    };
    const Case cases[] = {
        {"BMP", 0, "p.bmp", "BMP3"},     {"JPG", 90, "p.jpg", "JPEG"},   {" tif ", 6, "p.tif", "TIFF"},
        {"png", 0, "p.png", "PNG"},     {"GIF", 0, "p.gif", "GIF"},     {"jpeg", 0, "q.jpg", "JPEG"},
        {"TIFF", 0, "q.tif", "JPEG"},   {"PDF", 0, "p.pdf", "PDF"},
    };
    for (const bool passive : {true, false}) {
        control_->SetFtpPassiveMode(passive);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.format) + (passive ? " passive" : " active"));
            const std::string name = std::string(passive ? "p-" : "a-") + c.remote;
            ASSERT_EQ(Upload(c.format, c.parameter, "\\\\" + name), OK);
            EXPECT_EQ(control_->GetStat(), OK);
            const std::string arrived = Remote(name);
            ASSERT_TRUE(fs::exists(arrived));
            if (std::string(c.magick) == "PDF") {
                EXPECT_EQ(RunTool("pdfinfo " + Quoted(arrived) + " >/dev/null 2>&1").Status, 0);
            } else {
                EXPECT_EQ(RunTool("identify -format '%m %w %h' " + Quoted(arrived)).Output,
                          std::string(c.magick) + " 40 30");
            }
        }
    }
}

TEST_F(FtpUploadTest, FailuresGiveTheirStatusesAndLeaveNoTemporaryFile) {
    EXPECT_EQ(Upload("BMP", 0, "x.bmp", "wrong"), InternetConnectError);
    EXPECT_EQ(Upload("BMP", 0, "x.bmp", "pw", 1), InternetConnectError);
    EXPECT_EQ(control_->GetStat(), InternetConnectError);
    // A folder that does not exist on the server: the put fails.
    EXPECT_EQ(Upload("PNG", 0, "no/such/folder/x.png"), InternetFtpWriteFileError);
    // No image: the saver's status after the connection was made.
    control_->setCurrentImage(0);
    EXPECT_EQ(Upload("BMP", 0, "x.bmp"), GenericError);
    EXPECT_EQ(Upload("PDF", 0, "x.pdf"), GenericError);
    EXPECT_FALSE(fs::exists(Remote("x.bmp")));
}

}  // namespace
}  // namespace scanvelt
