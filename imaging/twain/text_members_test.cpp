// The text, font, clipboard and display members against what the engine
// draws itself with the same objects.
#include "imaging/twain/text_members.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/engine/fonts_and_text.h"
#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/testing/ink.h"
#include "imaging/twain/testing/memory_clipboard.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/graphics/object_handles.h"
#include "platform/gdiplus/graphics/testing/fontconfig_leak_suppression.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/files/testing/scratch_folder.h"

namespace scanvelt {
namespace {

using testing_support::Ink;
using testing_support::InkOf;
using testing_support::PixelsOf;
using testing_support::RegisterBitmap;
using testing_support::RegisteredImageCount;

constexpr uint32_t kWhite = 0xFFFFFFFF;

int32_t WhitePage(int32_t width, int32_t height, float dpi = 96) {
    const int32_t id = RegisterBitmap(width, height, gdiplus::PixelFormat32bppARGB);
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    bitmap->SetResolution(dpi, dpi);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) bitmap->SetPixel(x, y, kWhite);
    return id;
}

// How many objects the drawing layer holds now, of every kind the text members make.
size_t LiveDrawingObjects() {
    return gdiplus::GraphicsHandles().size() + gdiplus::FontFamilyHandles().size() + gdiplus::FontHandles().size() +
           gdiplus::StringFormatHandles().size() + gdiplus::PenHandles().size() + gdiplus::BrushHandles().size();
}

class TextMembersTest : public ::testing::Test {
protected:
    TwainControl control;
};

// The engine's own drawing of a plain text, the way the member is specified.
void EngineDrawText(int32_t id, const std::u16string& text, float x, float y, float size, int32_t unit,
                    uint32_t argb) {
    gdiplus::GpFontFamily family{};
    gdiplus::GpGraphics graphics{};
    gdiplus::GpBrush brush{};
    gdiplus::GpFont font{};
    gdiplus::GpStringFormat format{};
    ASSERT_EQ(CreateGpFontFamily(u"Arial", 0, family), OK);
    ASSERT_EQ(GetImageGraphics(id, graphics, 0), OK);
    ASSERT_EQ(SetGpTextRenderingHint(graphics, 2), OK);
    ASSERT_EQ(CreateGpSolidBrush(argb, brush), OK);
    ASSERT_EQ(CreateGpFont(family, size, 0, unit, font), OK);
    ASSERT_EQ(CreateGpStringFormat(2048, 0, format), OK);
    ASSERT_EQ(DrawGpString(graphics, text, -1, font, gdiplus::RectF{x, y, 0, 0}, format, brush), OK);
    DeleteGpStringFormat(format);
    DeleteGpFont(font);
    DeleteGpBrush(brush);
    DeleteGpGraphics(graphics);
    DeleteGpFontFamily(family);
}

TEST_F(TextMembersTest, PlainAndRotatedTextAtAngleZeroDrawExactlyAsTheEngineDoes) {
    struct Case {
        int32_t color;
        uint32_t argb;
        int32_t unit;
    };
    const Case cases[] = {{255, 0xFFFF0000, 3}, {-16777216, 0xFF000000, 2}, {static_cast<int32_t>(0x80FF0000), 0x80FF0000, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.color);
        control.setFontUnit(c.unit);
        const int32_t expected = WhitePage(160, 60), plain = WhitePage(160, 60), rotated = WhitePage(160, 60);
        EngineDrawText(expected, u"Bill 42", 10, 12, 20, c.unit, c.argb);
        control.setCurrentImage(plain);
        EXPECT_EQ(DrawText(control, "Bill 42", 10, 12, 20, 0, c.color), OK);
        control.setCurrentImage(rotated);
        TextDrawing d;
        d.Text = "Bill 42", d.Left = 10, d.Top = 12, d.FontSize = 20, d.TextColor = c.color, d.Angle = 0.0f;
        EXPECT_EQ(DrawTextWith(control, d), OK);
        EXPECT_EQ(PixelsOf(plain), PixelsOf(expected));
        EXPECT_EQ(PixelsOf(rotated), PixelsOf(expected));
        EXPECT_TRUE(InkOf(plain).any());
    }
}

TEST_F(TextMembersTest, ColoursReadAsWindowsRgbAreOpaqueAndArgbKeepsItsAlpha) {
    const struct {
        int32_t color;
        uint32_t pixel;  // a fully covered pixel on white
    } cases[] = {{255, 0xFFFF0000}, {0x00FF00, 0xFF00FF00}, {static_cast<int32_t>(0x80FF0000), 0xFFFF7F7F}};
    for (const auto& c : cases) {
        const int32_t id = WhitePage(40, 40);
        control.setCurrentImage(id);
        EXPECT_EQ(DrawText(control, "\u2588", 0, 0, 30, 0, c.color, "DejaVu Sans"), OK);
        uint32_t centre = 0;
        NativeBitmapOf(id)->GetPixel(12, 20, centre);
        EXPECT_NEAR(static_cast<int>((centre >> 16) & 0xFF), static_cast<int>((c.pixel >> 16) & 0xFF), 1) << c.color;
        EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xFF), static_cast<int>((c.pixel >> 8) & 0xFF), 1) << c.color;
        EXPECT_NEAR(static_cast<int>(centre & 0xFF), static_cast<int>(c.pixel & 0xFF), 1) << c.color;
    }
}

TEST_F(TextMembersTest, TheFontUnitDecidesWhatTheSizeCounts) {
    control.setCurrentImage(WhitePage(300, 100, 96));
    control.setFontUnit(2);  // pixels
    const float pixels = GetTextHeight(control, "Hg", "Arial", 20);
    control.setFontUnit(3);  // points: 20 pt at 96 dpi are 26.7 pixels
    const float points = GetTextHeight(control, "Hg", "Arial", 20);
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_GT(pixels, 0.0f);
    EXPECT_NEAR(points / pixels, 96.0 / 72.0, 0.02);
    EXPECT_GT(GetTextWidth(control, "Hello world", "Arial", 20), GetTextWidth(control, "Hello", "Arial", 20));
}

TEST_F(TextMembersTest, ABoxAlignsItsTextAndDrawsItsOutline) {
    control.setFontUnit(2);
    const struct {
        int32_t alignment;
        bool nearRight, nearBottom;
    } cases[] = {{0, false, false}, {2, true, true}};
    for (const auto& c : cases) {
        const int32_t id = WhitePage(200, 100);
        control.setCurrentImage(id);
        EXPECT_EQ(DrawTextBox(control, "ab", 10, 10, 180, 80, 16, c.alignment), OK);
        const Ink ink = InkOf(id);
        ASSERT_TRUE(ink.any());
        EXPECT_EQ(ink.right > 150, c.nearRight) << c.alignment;
        EXPECT_EQ(ink.bottom > 70, c.nearBottom) << c.alignment;
    }
    const int32_t boxed = WhitePage(200, 100);
    control.setCurrentImage(boxed);
    EXPECT_EQ(DrawTextBox(control, "", 10, 10, 180, 80, 16, 1, 0, -16777216, "Arial", true), OK);
    const Ink outline = InkOf(boxed);
    EXPECT_EQ(outline.left, 10);
    EXPECT_EQ(outline.top, 10);
    EXPECT_NEAR(outline.right, 190, 1);
    EXPECT_NEAR(outline.bottom, 90, 1);
}

TEST_F(TextMembersTest, AGradientFromAWindowsRgbColourStartsTransparent) {
    control.setFontUnit(2);
    const int32_t id = WhitePage(300, 60);
    control.setCurrentImage(id);
    TextDrawing d;
    d.Text = "\u2588\u2588\u2588\u2588\u2588\u2588", d.Left = 0, d.Top = 0, d.FontSize = 40, d.FontName = "DejaVu Sans";
    d.Gradient = std::make_pair(0x000000FF, static_cast<int32_t>(0xFF0000FF));  // RGB red (alpha 0) to ARGB blue
    EXPECT_EQ(DrawTextWith(control, d), OK);
    const Ink ink = InkOf(id);
    ASSERT_TRUE(ink.any());
    uint32_t start = 0, end = 0;
    NativeBitmapOf(id)->GetPixel(ink.left + 2, 25, start);
    NativeBitmapOf(id)->GetPixel(ink.right - 2, 25, end);
    EXPECT_GT(start & 0xFF, 0xE0u);               // nearly the white page
    EXPECT_LT((end >> 16) & 0xFF, 0x30u);         // nearly blue
}

TEST_F(TextMembersTest, TexturesComeFromAFileOrAnotherImageWhichStaysTheCallers) {
    files::testing::ScratchFolder folder;
    control.setFontUnit(2);
    const int32_t texture = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);  // black
    const std::string file = (folder.path() / "texture.png").string();
    ASSERT_EQ(SaveImageAsPng(texture, file), OK);

    const int32_t fromImage = WhitePage(120, 50), fromFile = WhitePage(120, 50);
    TextDrawing d;
    d.Text = "Tx", d.Left = 5, d.Top = 5, d.FontSize = 30;
    control.setCurrentImage(fromImage);
    d.TextureImage = texture;
    const int32_t images = RegisteredImageCount();
    EXPECT_EQ(DrawTextWith(control, d), OK);
    d.TextureImage.reset();
    d.TextureFile = file;
    control.setCurrentImage(fromFile);
    EXPECT_EQ(DrawTextWith(control, d), OK);
    EXPECT_EQ(RegisteredImageCount(), images);  // the loaded texture is released
    EXPECT_NE(FindImageEntry(texture), nullptr);
    EXPECT_TRUE(InkOf(fromFile).any());
    EXPECT_EQ(PixelsOf(fromFile), PixelsOf(fromImage));

    // A texture that cannot be loaded: its status, nothing drawn.
    const int32_t untouched = WhitePage(120, 50);
    control.setCurrentImage(untouched);
    d.TextureFile = (folder.path() / "missing.png").string();
    EXPECT_EQ(DrawTextWith(control, d), FileNotFound);
    EXPECT_EQ(control.GetStat(), FileNotFound);
    // An empty path is a missing file too: a drawing member never opens a file dialog.
    d.TextureFile = "";
    EXPECT_EQ(DrawTextWith(control, d), FileNotFound);
    EXPECT_FALSE(InkOf(untouched).any());
    EXPECT_EQ(RegisteredImageCount(), images + 1);  // only the page made here
}

TEST_F(TextMembersTest, FailuresAnswerTheirStatusAndLeaveNoDrawingObjectBehind) {
    const size_t live = LiveDrawingObjects();
    control.setCurrentImage(0);
    EXPECT_EQ(DrawText(control, "x", 0, 0, 10), GenericError);
    EXPECT_EQ(GetTextWidth(control, "x", "Arial", 10), 0.0f);
    EXPECT_EQ(control.GetStat(), GenericError);

    const int32_t id = WhitePage(50, 50);
    control.setCurrentImage(id);
    EXPECT_EQ(DrawText(control, "x", 0, 0, 10, 0, -16777216, "No Such Family 4711"), FontFamilyNotFound);
    EXPECT_EQ(control.GetStat(), FontFamilyNotFound);
    EXPECT_EQ(DrawTextBox(control, "x", 0, 0, 50, 50, 10, 7), InvalidParameter);  // alignment outside 0-2
    TextDrawing d;
    d.Text = "x", d.FontSize = 10, d.TextureImage = 4711;
    EXPECT_EQ(DrawTextWith(control, d), InvalidParameter);
    d.TextureImage.reset();
    d.FontSize = -3;
    EXPECT_NE(DrawTextWith(control, d), OK);
    EXPECT_FALSE(InkOf(id).any());
    EXPECT_EQ(LiveDrawingObjects(), live);
}

TEST(TextMembersFonts, TheFontListIsTheInstalledFamiliesCountedFromOne) {
    const std::vector<std::string> names = InstalledFontNames();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(FontGetCount(), static_cast<int16_t>(names.size()));
    EXPECT_EQ(FontGetName(1), names.front());
    EXPECT_EQ(FontGetName(FontGetCount()), names.back());
    EXPECT_EQ(FontGetName(0), "");
    EXPECT_EQ(FontGetName(FontGetCount() + 1), "");
    TwainControl control;
    control.setLastStatus(Aborted);
    EXPECT_TRUE(FontIsStyleAvailable(control, "Arial", 1));
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_FALSE(FontIsStyleAvailable(control, "No Such Family 4711", 0));
    EXPECT_EQ(control.GetStat(), FontFamilyNotFound);
}

// An in-memory clipboard standing in for the host's.
class ClipboardTest : public TextMembersTest {
protected:
    void SetUp() override { clipboard.install(); }
    void TearDown() override { testing::MemoryClipboard::remove(); }
    testing::MemoryClipboard clipboard;
};

TEST_F(ClipboardTest, TheImageOrARegionOfItGoesToTheClipboardAndNoCopyStaysBehind) {
    const int32_t id = WhitePage(40, 30);
    control.setCurrentImage(id);
    const int32_t images = RegisteredImageCount();
    const size_t bitmaps = win::LiveBitmapCount();
    EXPECT_EQ(CopyToClipboard(control), OK);
    ASSERT_TRUE(clipboard.held);
    EXPECT_EQ(clipboard.held->width, 40);
    EXPECT_EQ(CopyRegionToClipboard(control, 5, 5, 10, 20), OK);
    ASSERT_TRUE(clipboard.held);
    EXPECT_EQ(clipboard.held->width, 10);
    EXPECT_EQ(std::abs(clipboard.held->height), 20);
    EXPECT_EQ(RegisteredImageCount(), images);
    EXPECT_EQ(CopyRegionToClipboard(control, 35, 5, 10, 20), InvalidParameter);  // outside the image
    EXPECT_EQ(RegisteredImageCount(), images);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
    DeleteClipboardData();
    EXPECT_FALSE(clipboard.held);
    control.setCurrentImage(0);
    EXPECT_EQ(CopyRegionToClipboard(control, 0, 0, 1, 1), GenericError);
    win::SetClipboardService({});
    control.setCurrentImage(id);
    EXPECT_NE(CopyToClipboard(control), OK);  // no clipboard installed
    EXPECT_EQ(RegisteredImageCount(), images);
}

TEST_F(TextMembersTest, TheImageIsDrawnOnAHostsDeviceContextAndNotOnAnUnregisteredWindow) {
    win::BitmapInfoHeader header;
    header.width = 8;
    header.height = -4;
    header.bitCount = 32;
    void* bits = nullptr;
    const win::HBITMAP section = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
    const win::HDC dc = win::CreateCompatibleDC(win::HDC{});
    const win::HBITMAP previous = win::SelectObject(dc, section);
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    NativeBitmapOf(id)->SetPixel(0, 0, 0xFFFF0000);
    NativeBitmapOf(id)->SetPixel(1, 0, 0xFF0000FF);
    control.setCurrentImage(id);
    EXPECT_EQ(DisplayImageOnHDC(control, win::handleValue(dc), 0, 0, 4, 4, 5), OK);
    EXPECT_EQ(DisplayImageRectOnHDC(control, win::handleValue(dc), 4, 0, 4, 4, 1, 0, 1, 1, 5), OK);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixels[3] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(pixels[4] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(DisplayImageOnHwnd(control, 12345, 0, 0, 4, 4), Win32Error);
    EXPECT_EQ(control.GetStat(), Win32Error);
    control.setCurrentImage(0);
    EXPECT_EQ(DisplayImageOnHDC(control, win::handleValue(dc), 0, 0, 4, 4), InvalidParameter);
    win::SelectObject(dc, previous);
    win::DeleteDC(dc);
    win::DeleteObject(section);
}

}  // namespace
}  // namespace scanvelt
