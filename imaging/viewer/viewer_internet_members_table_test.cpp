// The viewer's internet members called by dispatch ID against local HTTP and
// FTP servers that serve a PNG wider than high (30 x 20 pixels at 96 x 72
// dpi, red in its left third): each fetch must show that picture, and each
// setting must change the transfer as it says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/engine/save_gdiplus.h"
#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/inet/testing/local_servers.h"

namespace scanvelt::testing {
namespace {

using namespace com;
namespace fs = std::filesystem;

constexpr DISPID kDataReceived = 1;

std::string Script(const char* name) { return std::string(INET_TESTDATA_DIR) + "/" + name; }

class ViewerInternetTable : public ViewerTable {
public:
    void SetUp() override {
        ::setenv("no_proxy", "127.0.0.1", 1);
        if (const char* previous = std::getenv("TMP")) savedTmp_ = previous;
        ::setenv("TMP", temp.path().string().c_str(), 1);
        ViewerTable::SetUp();
        const int32_t picture =
            makeImage(30, 20, [](int32_t x, int32_t) { return x < 10 ? 0xFFFF0000u : 0xFF0000FFu; }, 96, 72);
        ASSERT_EQ(SaveImageAsPng(picture, (served.path() / "wide.png").string()), 0);
        ReleaseImage(picture);
        chunks = 0;
        onProgress = nullptr;
        events.answer = [this](DISPID id, DISPPARAMS&) {
            if (id != kDataReceived) return;
            ++chunks;
            if (onProgress) onProgress();
        };
    }
    void TearDown() override {
        events.answer = nullptr;
        ViewerTable::TearDown();
        if (savedTmp_.empty()) ::unsetenv("TMP");
        else ::setenv("TMP", savedTmp_.c_str(), 1);
    }
    inet::testing::LocalServer& http() {
        if (!http_)
            http_ = std::make_unique<inet::testing::LocalServer>(
                Script("http_server.py"), std::vector<std::string>{"--root", served.path().string()});
        return *http_;
    }
    inet::testing::LocalServer& ftp() {
        if (!ftp_)
            ftp_ = std::make_unique<inet::testing::LocalServer>(
                Script("ftp_server.py"), std::vector<std::string>{served.path().string(), "scan", "pw"});
        return *ftp_;
    }
    int32_t fetch(const char* path) {
        return callLong("DisplayFromURL", {MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8(path), MakeI4(http().port())});
    }
    int32_t fileSize() { return static_cast<int32_t>(fs::file_size(served.path() / "wide.png")); }

    files::testing::ScratchFolder served{"viewer-served-table"};
    files::testing::ScratchFolder temp{"viewer-temp-table"};
    int chunks = 0;                    // progress events of the running fetch
    std::function<void()> onProgress;  // the host's progress handler
    std::unique_ptr<inet::testing::LocalServer> http_, ftp_;
    std::string savedTmp_;
};

ViewerInternetTable& I(ViewerTable& t) { return static_cast<ViewerInternetTable&>(t); }

// The served picture is shown: its size, its resolutions, red on its left.
void expectWide(ViewerTable& t, const VARIANT& r) {
    EXPECT_EQ(r.lVal, 0);
    EXPECT_EQ(t.get("ImageWidth").lVal, 30);
    EXPECT_EQ(t.get("ImageHeight").lVal, 20);
    EXPECT_NEAR(t.number("VerticalResolution"), 72, 0.5);
    EXPECT_EQ(t.callLong("SetZoomFitControl"), 0);
    EXPECT_EQ(t.pixel(t.callLong("GetImageLeft") + 3, 150), 0xFFFF0000u);
    EXPECT_EQ(t.pixel(400 - t.callLong("GetImageLeft") - 4, 150), 0xFF0000FFu);
}

std::vector<VARIANT> httpArguments(ViewerTable& t) {
    return {MakeBstrUtf8("http://127.0.0.1"), MakeBstrUtf8("/files/wide.png"), MakeI4(I(t).http().port())};
}
std::vector<VARIANT> ftpArguments(ViewerTable& t) {
    return {MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8("wide.png"), MakeBstrUtf8("scan"), MakeBstrUtf8("pw"),
            MakeI4(I(t).ftp().port())};
}

const ViewerRow kInternetRows[] = {
    {"DisplayFromURL", kMethod, {}, nullptr, expectWide, httpArguments},
    {"DisplayFromFTP", kMethod, {}, nullptr, expectWide, ftpArguments},
    // A wrong password: refused with 101, nothing shown.
    {"DisplayFromFTP", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 101);
         EXPECT_EQ(t.get("ImageWidth").lVal, 0);
     },
     [](ViewerTable& t) {
         return std::vector<VARIANT>{MakeBstrUtf8("127.0.0.1"), MakeBstrUtf8("wide.png"), MakeBstrUtf8("scan"),
                                     MakeBstrUtf8("nope"), MakeI4(I(t).ftp().port())};
     }},
    // Active mode fetches the same picture.
    {"SetFtpPassiveMode", kMethod, {false}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         VARIANT r = t.call("DisplayFromFTP", ftpArguments(t));
         expectWide(t, r);
         VariantClear(&r);
     }},
    // The file arrives in chunks of the buffer's size, one progress event each.
    {"SetHttpTransfertBufferSize", kMethod, {int32_t{16}}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         ASSERT_EQ(I(t).fetch("/files/wide.png"), 0);
         EXPECT_EQ(I(t).chunks, (I(t).fileSize() + 15) / 16);
     }},
    // Idle, a stop changes nothing for the next fetch; from the progress
    // handler it ends the running one with 107 and nothing shown.
    {"DisplayFromURLStop", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         ASSERT_EQ(I(t).fetch("/files/wide.png"), 0);
         EXPECT_EQ(t.get("ImageWidth").lVal, 30);
         VARIANT r = t.call("SetHttpTransfertBufferSize", {MakeI4(1024)});
         VariantClear(&r);
         I(t).chunks = 0;
         I(t).onProgress = [&t] {
             VARIANT stop = t.call("DisplayFromURLStop");
             VariantClear(&stop);
         };
         EXPECT_EQ(I(t).fetch("/bytes/100000"), 107);
         EXPECT_EQ(I(t).chunks, 1);
         EXPECT_EQ(t.get("ImageWidth").lVal, 0);
     }},
};
const bool kInternetRowsRegistered = RegisterMemberTable("_MvViewer", kInternetRows);

TEST_F(ViewerInternetTable, EachFetchShowsTheServedPictureAndEachSettingActs) {
    ASSERT_TRUE(kInternetRowsRegistered);
    for (const ViewerRow& row : kInternetRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
