// Documents fetched over HTTP and FTP from local servers, through the
// viewer's dispatch IDs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/engine/pdf_plugin.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/testing/local_servers.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

namespace scanvelt::testing {
namespace {

using namespace com;
namespace fs = std::filesystem;

constexpr DISPID kDataReceived = 1;

std::string Script(const char* name) { return std::string(INET_TESTDATA_DIR) + "/" + name; }

struct Progress {
    int32_t received, left, total;
};

class ViewerInternet : public ViewerFixture {
protected:
    void SetUp() override {
        ::setenv("no_proxy", "127.0.0.1", 1);
        // The viewer's temporary files land where the test can count them.
        const char* previous = std::getenv("TMP");
        if (previous) savedTmp_ = previous;
        ::setenv("TMP", temp.path().string().c_str(), 1);
        ViewerFixture::SetUp();
        show(100, 80);
        int32_t image = makeImage(12, 8, [](int32_t x, int32_t) { return x < 6 ? 0xFF000000u : 0xFFFFFFFFu; });
        ASSERT_EQ(SaveImageAsPng(image, (served.path() / "bill.png").string()), 0);
        ReleaseImage(image);
        fs::create_directories(served.path() / "in");
        fs::copy_file(served.path() / "bill.png", served.path() / "in" / "bill.png");
        served.write("broken.png", "not an image at all");
        events.answer = [this](DISPID id, DISPPARAMS& p) {
            if (id != kDataReceived) return;
            progress.push_back({p.rgvarg[2].lVal, p.rgvarg[1].lVal, p.rgvarg[0].lVal});
            if (onProgress) onProgress();
        };
    }
    void TearDown() override {
        events.answer = nullptr;
        ViewerFixture::TearDown();
        if (savedTmp_.empty()) ::unsetenv("TMP");
        else ::setenv("TMP", savedTmp_.c_str(), 1);
    }
    inet::testing::LocalServer& http() {
        if (!http_) {
            http_ = std::make_unique<inet::testing::LocalServer>(
                Script("http_server.py"), std::vector<std::string>{"--root", served.path().string()});
        }
        return *http_;
    }
    int32_t url(const std::string& host, const std::string& path) {
        return callLong("DisplayFromURL", {MakeBstrUtf8(host), MakeBstrUtf8(path), MakeI4(http().port())});
    }
    int32_t tempFiles() {
        int32_t n = 0;
        for ([[maybe_unused]] auto& entry : fs::directory_iterator(temp.path())) ++n;
        return n;
    }
    int32_t shownWidth() { return get("ImageWidth").lVal; }

    files::testing::ScratchFolder served{"viewer-served"};
    files::testing::ScratchFolder temp{"viewer-temp"};
    std::vector<Progress> progress;
    std::function<void()> onProgress;
    std::unique_ptr<inet::testing::LocalServer> http_;
    std::string savedTmp_;
};

TEST_F(ViewerInternet, HostsWithOrWithoutSchemeFetchTheSameDocument) {
    for (const char* host : {"127.0.0.1", "http://127.0.0.1", "HTTP://127.0.0.1", "  hTtP://127.0.0.1 ",
                             "https://127.0.0.1", "HTTPS://127.0.0.1"}) {
        SCOPED_TRACE(host);
        call("CloseImage");
        ASSERT_EQ(url(host, "/files/bill.png"), 0);
        EXPECT_EQ(shownWidth(), 12);
        EXPECT_EQ(callLong("GetDocumentType"), 1);
    }
}

TEST_F(ViewerInternet, ProgressRisesToAllReceivedChunkByChunk) {
    const int32_t size = static_cast<int32_t>(fs::file_size(served.path() / "bill.png"));
    call("SetHttpTransfertBufferSize", {MakeI4(16)});
    ASSERT_EQ(url("127.0.0.1", "/files/bill.png"), 0);
    ASSERT_EQ(progress.size(), static_cast<size_t>((size + 15) / 16));
    for (size_t i = 0; i < progress.size(); ++i) {
        const int32_t left = size - std::min<int32_t>(size, 16 * static_cast<int32_t>(i + 1));
        EXPECT_EQ(progress[i].left, left) << i;
        EXPECT_EQ(progress[i].total, size);
        if (i > 0) EXPECT_GE(progress[i].received, progress[i - 1].received);
    }
    EXPECT_EQ(progress.back().received, 100);
    EXPECT_EQ(progress.back().left, 0);
}

TEST_F(ViewerInternet, FailuresGiveTheirStatusAndLeaveTheViewerEmpty) {
    struct Case {
        const char* path;
        int32_t port;  // 0: the server's
        int32_t status;
    } cases[] = {
        {"/nolength/300", 0, 106},     // no content length
        {"/short/20000", 0, 107},      // the body ends before its announced length
        {"/announce/4000000000", 0, 107},  // a length beyond any document, refused before reading
        {"/files/bill.png", 70000, 101},  // no connection to such a port
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8((served.path() / "bill.png").string())}), 0);
        const int32_t port = c.port ? c.port : http().port();
        EXPECT_EQ(callLong("DisplayFromURL", {MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8(c.path), MakeI4(port)}), c.status);
        EXPECT_EQ(callLong("GetStat"), c.status);
        EXPECT_EQ(shownWidth(), 0);
        EXPECT_EQ(callLong("GetDocumentType"), 0);
        EXPECT_EQ(tempFiles(), 0);
    }
}

TEST_F(ViewerInternet, AStopFromTheProgressHandlerEndsTheDownloadWithNothingShown) {
    call("SetHttpTransfertBufferSize", {MakeI4(1024)});
    int32_t nested = -1;
    onProgress = [&] {
        if (progress.size() == 1) {
            // A second fetch while one runs is refused with the last status.
            nested = url("127.0.0.1", "/files/bill.png");
            call("DisplayFromURLStop");
        }
    };
    EXPECT_EQ(url("127.0.0.1", "/bytes/100000"), 107);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(progress.size(), 1u);
    EXPECT_EQ(shownWidth(), 0);
    // With no download running, a stop does nothing to the next one.
    onProgress = nullptr;
    call("DisplayFromURLStop");
    EXPECT_EQ(url("127.0.0.1", "/files/bill.png"), 0);
    EXPECT_EQ(shownWidth(), 12);
}

TEST_F(ViewerInternet, ATeardownDuringADownloadStopsItAndShowsNothing) {
    const int32_t before = testing_support::RegisteredImageCount();
    call("SetHttpTransfertBufferSize", {MakeI4(64)});
    onProgress = [&] {
        if (progress.size() == 1) call("Terminate");
    };
    EXPECT_EQ(url("127.0.0.1", "/files/bill.png"), 107);
    EXPECT_EQ(progress.size(), 1u);
    EXPECT_EQ(testing_support::RegisteredImageCount(), before);
    EXPECT_EQ(tempFiles(), 0);
}

TEST_F(ViewerInternet, AFetchClosesTheOpenPdfWhateverItsOutcome) {
    SetPdfPluginFile(MVPDFPLUG_LIBRARY);
    const std::string pdf = (served.path() / "two.pdf").string();
    mvpdfplug::testing::writeBoxPages(pdf, {{216, 216}, {216, 216}});
    ViewerControl& viewerControl = static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control();
    inet::testing::LocalServer ftp(Script("ftp_server.py"), {served.path().string(), "scan", "pw"});
    struct Case {
        const char* name;
        std::function<int32_t()> fetch;
        int32_t status;
        int32_t type;
    } cases[] = {
        {"http", [&] { return url("127.0.0.1", "/files/bill.png"); }, 0, 1},
        {"http without length", [&] { return url("127.0.0.1", "/nolength/10"); }, 106, 0},
        {"ftp", [&] {
             return callLong("DisplayFromFTP", {MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8("bill.png"),
                                                MakeBstrUtf8("scan"), MakeBstrUtf8("pw"), MakeI4(ftp.port())});
         }, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(callLong("DisplayFromPdfFile", {MakeBstrUtf8(pdf), MakeBstrUtf8("")}), 0);
        ASSERT_NE(viewerControl.pdfHandle(), 0);
        EXPECT_EQ(c.fetch(), c.status);
        EXPECT_EQ(viewerControl.pdfHandle(), 0);
        EXPECT_EQ(callLong("GetDocumentType"), c.type);
        call("CloseImage");
    }
    EXPECT_EQ(tempFiles(), 0);
    SetPdfPluginFile("");
}

TEST_F(ViewerInternet, AFetchedDocumentsTemporaryFileGoesWithIt) {
    ASSERT_EQ(url("127.0.0.1", "/files/bill.png"), 0);
    EXPECT_EQ(tempFiles(), 1);
    call("CloseImage");
    EXPECT_EQ(tempFiles(), 0);
    // Bytes that are no image leave no file behind.
    EXPECT_NE(url("127.0.0.1", "/files/broken.png"), 0);
    EXPECT_EQ(tempFiles(), 0);
}

TEST_F(ViewerInternet, FtpDownloadsShowAndTheirFileGoesWithTheImage) {
    inet::testing::LocalServer ftp(Script("ftp_server.py"), {served.path().string(), "scan", "pw"});
    auto fetch = [&](const char* path, const char* password) {
        return callLong("DisplayFromFTP", {MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8(path), MakeBstrUtf8("scan"),
                                           MakeBstrUtf8(password), MakeI4(ftp.port())});
    };
    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive);
        call("SetFtpPassiveMode", {MakeBool(passive)});
        for (const char* path : {"in/bill.png", "\\in\\bill.png", "//in/bill.png", " \\\\in\\bill.png "}) {
            SCOPED_TRACE(path);
            ASSERT_EQ(fetch(path, "pw"), 0);
            EXPECT_EQ(shownWidth(), 12);
            EXPECT_EQ(tempFiles(), 1);
            call("CloseImage");
            EXPECT_EQ(tempFiles(), 0);
        }
    }
    struct Case {
        const char* path;
        const char* password;
        int32_t status;
    } failures[] = {
        {"in/bill.png", "nope", 101},
        {"in/missing.png", "pw", 104},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fetch(c.path, c.password), c.status);
        EXPECT_EQ(shownWidth(), 0);
        EXPECT_EQ(tempFiles(), 0);
    }
    // A downloaded file that shows nothing is deleted.
    EXPECT_NE(fetch("broken.png", "pw"), 0);
    EXPECT_EQ(tempFiles(), 0);
}

TEST_F(ViewerInternet, ADownloadedPdfIsShownAndItsFileGoesWithTheDocument) {
    SetPdfPluginFile(MVPDFPLUG_LIBRARY);
    mvpdfplug::testing::writeBoxPages((served.path() / "two.pdf").string(), {{216, 216}, {216, 216}});
    inet::testing::LocalServer ftp(Script("ftp_server.py"), {served.path().string(), "scan", "pw"});
    const struct {
        const char* name;
        std::function<int32_t()> fetch;
    } cases[] = {
        {"http", [&] { return url("127.0.0.1", "/files/two.pdf"); }},
        {"ftp", [&] {
             return callLong("DisplayFromFTP", {MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8("two.pdf"),
                                                MakeBstrUtf8("scan"), MakeBstrUtf8("pw"), MakeI4(ftp.port())});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.fetch(), 0);
        EXPECT_EQ(callLong("GetDocumentType"), 2);
        EXPECT_EQ(get("PageCount").lVal, 2);
        EXPECT_EQ(get("CurrentPage").lVal, 1);
        EXPECT_EQ(shownWidth(), 600);  // three inches at 200 dpi
        EXPECT_EQ(tempFiles(), 1);
        // The plug-in still reads the downloaded file for the next page.
        EXPECT_EQ(callLong("DisplayNextFrame"), 0);
        EXPECT_EQ(get("CurrentPage").lVal, 2);
        EXPECT_EQ(tempFiles(), 1);
        call("CloseImage");
        EXPECT_EQ(tempFiles(), 0);
    }
    SetPdfPluginFile("");
}

}  // namespace
}  // namespace scanvelt::testing
