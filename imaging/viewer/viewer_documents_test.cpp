// Who releases the shown image, and the viewer's temporary files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/temp_files.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/com/safearray.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/windows_path.h"

namespace scanvelt::testing {
namespace {

using namespace com;
namespace fs = std::filesystem;

class ViewerDocuments : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(100, 80);
        // Images this test holds besides the viewer's: the engine runs while
        // the viewer lives, so the count is taken with it running.
        baseline = testing_support::RegisteredImageCount();
    }
    // A small PNG file to load.
    std::string pngFile(const std::string& name) {
        int32_t image = makeImage(12, 8, [](int32_t x, int32_t) { return x < 6 ? 0xFF000000u : 0xFFFFFFFFu; });
        std::string path = (scratch.path() / name).string();
        EXPECT_EQ(SaveImageAsPng(image, path), 0);
        ReleaseImage(image);
        return path;
    }
    int32_t registered() { return testing_support::RegisteredImageCount() - baseline; }
    ViewerControl& control() { return static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control(); }

    files::testing::ScratchFolder scratch;
    int32_t baseline = 0;
};

TEST_F(ViewerDocuments, AnImageTheViewerLoadedGoesWithTheNextDocument) {
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(pngFile("a.png"))}), 0);
    EXPECT_EQ(registered(), 1);
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(pngFile("b.png"))}), 0);
    EXPECT_EQ(registered(), 1);
    call("ImageClosed");
    EXPECT_EQ(registered(), 0);
}

TEST_F(ViewerDocuments, AnImageTheViewerLoadedGoesWithTheViewer) {
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(pngFile("a.png"))}), 0);
    EXPECT_EQ(registered(), 1);
    call("Terminate");
    EXPECT_EQ(registered(), 0);
}

TEST_F(ViewerDocuments, OnceTheHostHasTheIdTheImageIsTheHosts) {
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(pngFile("a.png"))}), 0);
    int32_t id = callLong("GetNativeImage");
    ASSERT_NE(id, 0);
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(pngFile("b.png"))}), 0);
    EXPECT_NE(FindImageEntry(id), nullptr);
    call("Terminate");
    EXPECT_NE(FindImageEntry(id), nullptr);
    ReleaseImage(id);
    EXPECT_EQ(registered(), 0);
}

TEST_F(ViewerDocuments, ALentImageGoesOnlyThroughCloseImage) {
    int32_t lent = makeImage(10, 10, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    for (const char* step : {"ImageClosed", "replace", "Terminate"}) {
        SCOPED_TRACE(step);
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(lent)}), 0);
        if (std::string(step) == "replace")
            ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(pngFile("a.png"))}), 0);
        else
            call(step);
        EXPECT_NE(FindImageEntry(lent), nullptr);
        if (std::string(step) == "replace") call("CloseImageEx");
    }
    ReleaseImage(lent);
}

TEST_F(ViewerDocuments, CloseImageReleasesTheShownImageWhoeverOwnsIt) {
    int32_t lent = makeImage(10, 10, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(lent)}), 0);
    call("CloseImage");
    EXPECT_EQ(FindImageEntry(lent), nullptr);
    EXPECT_EQ(callLong("GetNativeImage"), 0);
    EXPECT_EQ(pixel(50, 40), 0xFF000000u);  // the surface is emptied
}

TEST_F(ViewerDocuments, TheSameIdAgainStaysRegisteredAndShown) {
    // Loaded from bytes (a temporary file of the viewer's), then handed to
    // the host by SetNativeImage with the ID already shown.
    std::ifstream in(pngFile("a.png"), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<uint32_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(array->pvData));
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_ARRAY | VT_UI1;
    arg.parray = array;
    ASSERT_EQ(callLong("DisplayFromByteArray", {arg}), 0);
    int32_t id = control().nativeImageId();
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(id)}), 0);
    EXPECT_NE(FindImageEntry(id), nullptr);
    EXPECT_EQ(callLong("GetNativeImage"), id);
    EXPECT_EQ(pixel(45, 40), 0xFF000000u);  // the image from (44, 36), its left half black
    EXPECT_EQ(pixel(53, 40), 0xFFFFFFFFu);
    call("Terminate");
    EXPECT_NE(FindImageEntry(id), nullptr);  // the host's now
    ReleaseImage(id);
}

TEST_F(ViewerDocuments, ForcedTemporaryCopiesHaveFreshNamesAndGoAtTeardown) {
    put("ImageForceTemporaryMode", MakeBool(true));
    std::string source = pngFile("a.png");
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(source)}), 0);
    const std::string first = control().tempImageFile();
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(fs::exists(win::ResolveWindowsPath(first)));
    // Not named after the control's number, which another viewer may share.
    EXPECT_EQ(fs::path(win::ResolveWindowsPath(first)).filename().string().find(std::to_string(get("hwnd").lVal)),
              std::string::npos);
    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(source)}), 0);
    const std::string second = control().tempImageFile();
    EXPECT_NE(second, first);
    EXPECT_FALSE(fs::exists(win::ResolveWindowsPath(first)));
    call("Terminate");
    EXPECT_FALSE(fs::exists(win::ResolveWindowsPath(second)));
    EXPECT_TRUE(fs::exists(source));
    EXPECT_EQ(registered(), 0);
}

TEST_F(ViewerDocuments, AFailedLoadLeavesNoTemporaryFile) {
    // A temporary folder of the test's own: other tests' files come and go in the shared one.
    files::testing::ScratchFolder temporary;
    testing_support::ScopedTempFolderVariable useIt(temporary.path());
    auto count = [] {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(win::ResolveWindowsPath(GetTempFolder())))
            n += entry.is_regular_file() ? 1 : 0;
        return n;
    };
    size_t before = count();
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 16);  // sixteen zero bytes: no image
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_ARRAY | VT_UI1;
    arg.parray = array;
    EXPECT_NE(callLong("DisplayFromByteArray", {arg}), 0);
    put("ImageForceTemporaryMode", MakeBool(true));
    std::string broken = (scratch.path() / "broken.png").string();
    std::ofstream(broken, std::ios::binary) << "not an image at all";
    EXPECT_NE(callLong("DisplayFromFile", {MakeBstrUtf8(broken)}), 0);
    EXPECT_EQ(count(), before);
    EXPECT_EQ(callLong("GetDocumentType"), 0);
}

TEST_F(ViewerDocuments, StatusesOfTheSmallSources) {
    EXPECT_EQ(callLong("SetNativeImage", {MakeI4(0)}), 2);
    EXPECT_EQ(callLong("DisplayFromString", {MakeBstrUtf8("")}), 1);
    EXPECT_EQ(callLong("DisplayFromString", {MakeBstrUtf8("x")}), 21);
    EXPECT_EQ(callLong("DisplayFromMemory", {MakeI4(0), MakeI4(0)}), 2);
    EXPECT_EQ(callLong("GetStat"), 2);
}

TEST_F(ViewerDocuments, DroppedFilesThatExistAreAnnounced) {
    put("ViewerDrop", MakeBool(true));
    EXPECT_TRUE(site.acceptsFiles);
    std::string real = pngFile("a.png");
    std::u16string missing = u"/no/such/file.png", found(real.begin(), real.end());
    const OLECHAR* paths[] = {missing.c_str(), found.c_str(), missing.c_str()};
    events.events.clear();
    surface->FilesDropped(paths, 3, 5, 5);
    EXPECT_EQ(events.events, (std::vector<DISPID>{6, 7}));
    events.events.clear();
    surface->FilesDropped(paths, 1, 5, 5);
    EXPECT_TRUE(events.events.empty());
}

}  // namespace
}  // namespace scanvelt::testing
