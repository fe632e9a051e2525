// Turning and flipping the shown image, copying it to the clipboard, clearing
// the view, the size in millimetres, and the options with their own rules.
#include <gtest/gtest.h>

#include <optional>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/com/bstr.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/gdiplus/encoder_parameters.h"
#include "platform/gdiplus/image_format.h"
#include "platform/win/clipboard.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

class ViewerView : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        win::SetClipboardService({[] { return win::ClipboardResult::Done; },
                                  [this](const win::GdiBitmap& bitmap) {
                                      held = bitmap;
                                      return win::ClipboardResult::Done;
                                  }});
        show(400, 300);
    }
    void TearDown() override {
        win::SetClipboardService({});
        if (image) ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    // A 300 x 200 image, red with a blue top-left pixel.
    void showMarked(float dpi = 96) {
        image = makeImage(300, 200, [](int32_t x, int32_t y) { return x == 0 && y == 0 ? kBlue : kRed; }, dpi, dpi);
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        events.events.clear();
        events.firstLongs.clear();
    }
    int32_t image = 0;
    std::optional<win::GdiBitmap> held;
};

TEST_F(ViewerView, RotationMembersTurnTheImageAndRaiseRotation) {
    struct Case {
        const char* member;
        int32_t type;
        int32_t width, height;
        int32_t markX, markY;  // where the blue pixel ends up
    };
    const Case cases[] = {
        {"Rotate90", 1, 200, 300, 199, 0},  {"Rotate180", 2, 300, 200, 299, 199}, {"Rotate270", 3, 200, 300, 0, 299},
        {"FlipX", 4, 300, 200, 299, 0},     {"FlipX90", 5, 200, 300, 0, 0},   {"FlipX180", 6, 300, 200, 0, 199},
        {"FlipX270", 7, 200, 300, 199, 299},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        showMarked();
        EXPECT_EQ(callLong(c.member), 0);
        EXPECT_EQ(get("ImageWidth").lVal, c.width);
        EXPECT_EQ(get("ImageHeight").lVal, c.height);
        std::vector<uint32_t> pixels = testing_support::PixelsOf(image);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(c.width) * c.height);
        EXPECT_EQ(pixels[static_cast<size_t>(c.markY) * c.width + c.markX], kBlue);
        // The layout follows: the turned image is centred and drawn again.
        int32_t left = callLong("GetImageLeft"), top = callLong("GetImageTop");
        EXPECT_EQ(left, (400 - c.width) / 2);
        EXPECT_EQ(top, (300 - c.height) / 2);
        EXPECT_EQ(pixel(left + c.markX, top + c.markY), kBlue);
        auto at = std::find(events.events.begin(), events.events.end(), DISPID{4});
        ASSERT_NE(at, events.events.end());
        EXPECT_EQ(events.firstLongs[at - events.events.begin()], c.type);
        ReleaseImage(image);
        image = 0;
    }
}

TEST_F(ViewerView, RotationWithoutAnImageReportsTheEnginesStatus) {
    EXPECT_NE(callLong("Rotate90"), 0);
    EXPECT_EQ(std::count(events.events.begin(), events.events.end(), DISPID{4}), 1);
}

TEST_F(ViewerView, AnEarlierFailureDoesNotBlockTheTurn) {
    showMarked();
    call("CopyRegion2Clipboard", {MakeI4(290), MakeI4(0), MakeI4(40), MakeI4(30)});
    ASSERT_NE(callLong("GetStat"), 0);
    EXPECT_EQ(callLong("Rotate90"), 0);
    EXPECT_EQ(get("ImageWidth").lVal, 200);
}

TEST_F(ViewerView, CopyRegionToTheClipboard) {
    // Without an image: GenericError, and nothing on the clipboard.
    call("CopyRegion2Clipboard", {MakeI4(0), MakeI4(0), MakeI4(10), MakeI4(10)});
    EXPECT_EQ(callLong("GetStat"), 1);
    EXPECT_FALSE(held);
    showMarked();
    call("CopyRegion2Clipboard", {MakeI4(5), MakeI4(6), MakeI4(40), MakeI4(30)});
    EXPECT_EQ(callLong("GetStat"), 0);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->width, 40);
    EXPECT_EQ(held->height, 30);
    held.reset();
    // Outside the image: the engine's status, and nothing reaches the clipboard.
    call("CopyRegion2Clipboard", {MakeI4(290), MakeI4(0), MakeI4(40), MakeI4(30)});
    EXPECT_NE(callLong("GetStat"), 0);
    EXPECT_FALSE(held);
}

TEST_F(ViewerView, CopyTheWholeImageLeavesTheStatus) {
    call("CopyRegion2Clipboard", {MakeI4(0), MakeI4(0), MakeI4(10), MakeI4(10)});  // status 1
    showMarked();
    call("CopyRegion2Clipboard", {MakeI4(290), MakeI4(0), MakeI4(40), MakeI4(30)});
    int32_t before = callLong("GetStat");
    ASSERT_NE(before, 0);
    call("Copy2Clipboard");
    ASSERT_TRUE(held);
    EXPECT_EQ(held->width, 300);
    EXPECT_EQ(held->height, 200);
    EXPECT_EQ(callLong("GetStat"), before);
}

TEST_F(ViewerView, SizeInMillimetres) {
    struct Case { int32_t width, height; float dpi; float widthMM, heightMM; };
    const Case cases[] = {
        {2480, 100, 300, 2480 / 300.0f * 25.4f, 100 / 300.0f * 25.4f},
        {300, 200, 0, 0, 0},  // resolution cleared below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        image = makeImage(c.width, c.height, [](int32_t, int32_t) { return kRed; }, c.dpi, c.dpi);
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        if (c.dpi == 0) {
            // No resolution: as an image without one, or a container's property bag, leaves it.
            auto& settings = static_cast<ViewerObject*>(viewer)->control().settings();
            settings.HorizontalResolution = settings.VerticalResolution = 0;
        }
        EXPECT_FLOAT_EQ(call("GetWidthMM").fltVal, c.widthMM);
        EXPECT_FLOAT_EQ(call("GetHeightMM").fltVal, c.heightMM);
        EXPECT_EQ(callLong("GetTotalFrame"), get("PageCount").lVal);
        ReleaseImage(image);
        image = 0;
    }
    EXPECT_NEAR(2480 / 300.0f * 25.4f, 209.97f, 0.01f);
}

TEST_F(ViewerView, ClearEmptiesTheViewUnlessLocked) {
    put("BackColor", MakeI4(0x00FF00));  // green
    showMarked();
    call("SetRectValues", {MakeI4(10), MakeI4(10), MakeI4(50), MakeI4(50)});
    int32_t left = callLong("GetImageLeft"), top = callLong("GetImageTop");
    put("LockControl", MakeBool(true));
    call("Clear");
    EXPECT_EQ(pixel(left + 100, top + 100), kRed);
    EXPECT_TRUE(call("isRectDrawed").boolVal);
    put("LockControl", MakeBool(false));
    call("Clear");
    EXPECT_EQ(pixel(left + 100, top + 100), 0xFF00FF00u);
    EXPECT_FALSE(call("isRectDrawed").boolVal);
    // The image stays loaded and shows again at the next draw.
    EXPECT_EQ(get("ImageWidth").lVal, 300);
    EXPECT_EQ(callLong("Redraw"), 0);
    EXPECT_EQ(pixel(left + 100, top + 100), kRed);
}

TEST_F(ViewerView, BackgroundColourWaitsForTheNextDraw) {
    showMarked();
    call("SetBackGroundColor", {MakeI4(0x0000FF)});
    EXPECT_NE(pixel(5, 5), kRed);
    EXPECT_EQ(get("BackColor").lVal, 0x0000FF);
    call("Clear");
    EXPECT_EQ(pixel(5, 5), kRed);
}

TEST_F(ViewerView, OptionsWithTheirOwnRules) {
    struct Case { const char* property; VARIANT value; int32_t readBack; bool notices; };
    const Case cases[] = {
        {"MouseButtonForMouseMode", MakeI4(0), 1, true},
        {"MouseButtonForMouseMode", MakeI4(4), 4, true},
        {"PdfRenderingMode", MakeI4(0), 2, false},
        {"PDFShowDialogForPassword", MakeBool(false), 0, false},
        {"ClipControls", MakeBool(false), 0, true},
        {"EnableMenu", MakeBool(false), 0, true},
        {"RectIsEditable", MakeBool(false), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        site.changed.clear();
        put(c.property, c.value);
        VARIANT read = get(c.property);
        EXPECT_EQ(read.vt == VT_BOOL ? (read.boolVal ? 1 : 0) : read.lVal, c.readBack);
        EXPECT_EQ(site.changed.size(), c.notices ? 1u : 0u);
    }
}

TEST_F(ViewerView, MouseIconFromAFile) {
    files::testing::ScratchFolder folder;
    int32_t icon = makeImage(16, 16, [](int32_t, int32_t) { return kBlue; });
    std::string path = folder.file("pointer.png");
    ASSERT_EQ(SaveImageAsPng(icon, path), 0);
    ReleaseImage(icon);
    call("SetMouseIcon", {MakeBstrUtf8(path)});
    EXPECT_EQ(site.cursor, kControlCursorCustom);
    EXPECT_EQ(get("MousePointer").lVal, kControlCursorCustom);

    site.cursor = -1;
    std::vector<VARIANT> args(1, MakeBstrUtf8(folder.file("missing.ico")));
    DISPPARAMS params{args.data(), nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    EXPECT_NE(viewer->Invoke(id("SetMouseIcon"), IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, &info, nullptr),
              S_OK);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    VariantClear(&args[0]);
    EXPECT_EQ(site.cursor, -1);
}

}  // namespace
}  // namespace scanvelt::testing

namespace scanvelt::testing {
namespace {

// Turning a frame of an animated GIF whose frames stay in one image turns
// only the shown frame's display copy.
TEST_F(ViewerView, TurningAGifFrameTurnsOnlyItsDisplayCopy) {
    using namespace gdiplus;
    files::testing::ScratchFolder folder;
    const std::string path = folder.file("three.gif");
    auto frame = [](ARGB colour) {
        std::unique_ptr<Bitmap> bitmap;
        EXPECT_EQ(Bitmap::Create(30, 20, PixelFormat24bppRGB, bitmap), Ok);
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 30; ++x) EXPECT_EQ(bitmap->SetPixel(x, y, colour), Ok);
        return bitmap;
    };
    auto first = frame(0xFFFF0000);
    const EncoderParameters multi = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    const EncoderParameters time = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueFrameDimensionTime)};
    ASSERT_EQ(first->Save(path, kGifCodec.clsid, &multi), Ok);
    ASSERT_EQ(first->SaveAdd(*frame(0xFF00FF00), time), Ok);
    ASSERT_EQ(first->SaveAdd(*frame(0xFF0000FF), time), Ok);
    ASSERT_EQ(first->SaveAdd({EncoderParameter::Long(EncoderSaveFlag, EncoderValueFlush)}), Ok);

    ASSERT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(path)}), 0);
    ASSERT_EQ(callLong("GetTotalFrame"), 3);
    events.events.clear();
    events.firstLongs.clear();
    EXPECT_EQ(callLong("Rotate90"), 0);
    EXPECT_EQ(get("ImageWidth").lVal, 20);
    EXPECT_EQ(get("ImageHeight").lVal, 30);
    EXPECT_EQ(callLong("GetTotalFrame"), 3);
    ASSERT_EQ(events.events.size(), events.firstLongs.size());
    auto at = std::find(events.events.begin(), events.events.end(), DISPID{4});
    ASSERT_NE(at, events.events.end());
    EXPECT_EQ(events.firstLongs[at - events.events.begin()], 1);
    // The image itself keeps its frames unturned.
    image = callLong("GetNativeImage");
    int32_t width = 0;
    ASSERT_EQ(GetImageWidth(image, width), 0);
    EXPECT_EQ(width, 30);
    EXPECT_FALSE(GifFramesSplit(image));
}

}  // namespace
}  // namespace scanvelt::testing
