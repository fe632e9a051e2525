#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/gdiplus/graphics/graphics_test_support.h"
#include "platform/win/text_encoding.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class TextTest : public StartedTest {
protected:
    std::unique_ptr<Font> MakeFont(const char* family, float size, std::int32_t style = FontStyleRegular,
                                   Unit unit = UnitPixel) {
        std::unique_ptr<FontFamily> f;
        EXPECT_EQ(FontFamily::FromName(family, f), Ok) << family;
        std::unique_ptr<Font> font;
        if (f) {
            EXPECT_EQ(Font::Create(*f, size, style, unit, font), Ok);
        }
        return font;
    }
};

// Whether every inked pixel's area meets the box. A pixel covers [x, x + 1)
// in world units with the Half pixel offset and [x - 0.5, x + 0.5) otherwise.
bool InkInsideBox(const Bitmap& bitmap, const RectF& box, PixelOffsetMode offset) {
    const double shift = offset == PixelOffsetModeHalf ? 0.0 : -0.5;
    const Ink ink = InkOf(bitmap);
    if (ink.count == 0) return true;
    const double left = ink.bounds.X + shift, right = ink.bounds.X + ink.bounds.Width + shift;
    const double top = ink.bounds.Y + shift, bottom = ink.bounds.Y + ink.bounds.Height + shift;
    return left >= box.X - 1e-3 && right <= box.X + box.Width + 1e-3 && top >= box.Y - 1e-3 &&
           bottom <= box.Y + box.Height + 1e-3;
}

TEST_F(TextTest, DrawnTextMakesInkInsideItsMeasuredBox) {
    struct Case {
        const char* family;
        float size;
        std::int32_t style;
        const char* text;
        RectF layout;
        StringAlignment alignment;
        StringAlignment lineAlignment;
        std::int32_t flags;
        PixelOffsetMode offset;
        TextRenderingHint hint;
    };
    const std::vector<Case> cases = {
        {"Arial", 20, FontStyleRegular, "Hello, World", {10, 10, 0, 0}, StringAlignmentNear, StringAlignmentNear, 0,
         PixelOffsetModeDefault, TextRenderingHintAntiAlias},
        {"Times New Roman", 31.5f, FontStyleItalic, "fjord Quay ffi", {5, 7, 0, 0}, StringAlignmentNear,
         StringAlignmentNear, 0, PixelOffsetModeHalf, TextRenderingHintAntiAlias},
        {"Courier New", 14, FontStyleBold | FontStyleUnderline, "under_line gjpqy", {3, 3, 0, 0}, StringAlignmentNear,
         StringAlignmentNear, 0, PixelOffsetModeNone, TextRenderingHintSingleBitPerPixel},
        {"DejaVu Sans", 18, FontStyleBoldItalic | FontStyleStrikeout, "Strike ÄÖÜ Éé", {150, 40, 0, 0},
         StringAlignmentCenter, StringAlignmentCenter, 0, PixelOffsetModeDefault, TextRenderingHintAntiAlias},
        {"Verdana", 16, FontStyleRegular, "several words that wrap onto more than one line in the box",
         {20, 20, 140, 160}, StringAlignmentFar, StringAlignmentFar, 0, PixelOffsetModeHalf,
         TextRenderingHintAntiAlias},
        {"Liberation Serif", 24, FontStyleItalic, "clipped text far too long for its box", {10, 10, 80, 20},
         StringAlignmentNear, StringAlignmentNear, 0, PixelOffsetModeDefault, TextRenderingHintAntiAlias},
        {"Tahoma", 12, FontStyleRegular, "trailing spaces   \nsecond line\r\nthird", {290, 100, 0, 0},
         StringAlignmentFar, StringAlignmentNear, StringFormatFlagsMeasureTrailingSpaces, PixelOffsetModeNone,
         TextRenderingHintSingleBitPerPixelGridFit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.family << " '" << c.text << "'");
        auto font = MakeFont(c.family, c.size, c.style);
        ASSERT_TRUE(font);
        StringFormat format(c.flags, 0);
        ASSERT_EQ(format.SetAlignment(c.alignment), Ok);
        ASSERT_EQ(format.SetLineAlignment(c.lineAlignment), Ok);
        auto canvas = WhiteCanvas(300, 200);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetPixelOffsetMode(c.offset), Ok);
        ASSERT_EQ(graphics->SetTextRenderingHint(c.hint), Ok);
        const std::u16string text = win::Utf8ToUtf16(c.text);
        RectF box;
        std::int32_t fitted = 0, lines = 0;
        ASSERT_EQ(graphics->MeasureString(text, *font, c.layout, &format, box, &fitted, &lines), Ok);
        ASSERT_EQ(graphics->DrawString(text, *font, c.layout, &format, SolidBrush(kBlack)), Ok);
        EXPECT_GT(InkOf(*canvas).count, 20);
        EXPECT_GT(lines, 0);
        EXPECT_TRUE(InkInsideBox(*canvas, box, c.offset))
            << "box " << box.X << "," << box.Y << " " << box.Width << "x" << box.Height << " ink "
            << InkOf(*canvas).bounds.X << "," << InkOf(*canvas).bounds.Y << " " << InkOf(*canvas).bounds.Width << "x"
            << InkOf(*canvas).bounds.Height;
    }
}

TEST_F(TextTest, FontSizesCountInTheirUnits) {
    // 30 points at 96 dpi are 40 pixels; at 192 dpi 80.
    struct Case {
        float size;
        Unit unit;
        float dpi;
        float emPixels;
    };
    const std::vector<Case> cases = {
        {40, UnitPixel, 96, 40}, {30, UnitPoint, 96, 40},  {30, UnitPoint, 192, 80},
        {0.5f, UnitInch, 96, 48}, {12.7f, UnitMillimeter, 96, 48}, {40, UnitWorld, 96, 40},
    };
    std::int32_t reference = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.size << " unit " << c.unit << " at " << c.dpi);
        auto font = MakeFont("Liberation Sans", c.size, FontStyleRegular, c.unit);
        auto canvas = WhiteCanvas(200, 200);
        ASSERT_EQ(canvas->SetResolution(c.dpi, c.dpi), Ok);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetPageUnit(UnitPixel), Ok);
        ASSERT_EQ(graphics->DrawString(u"H", *font, RectF{10, 10, 0, 0}, nullptr, SolidBrush(kBlack)), Ok);
        const std::int32_t height = InkOf(*canvas).bounds.Height;
        if (reference == 0) reference = height;
        // Liberation Sans' capitals are 0.69 em high.
        EXPECT_NEAR(height, 0.69 * c.emPixels, 2.0);
    }
}

TEST_F(TextTest, WrappingAndLineLimitDecideWhatFits) {
    auto font = MakeFont("Liberation Sans", 20);
    auto canvas = WhiteCanvas(10, 10);
    auto graphics = GraphicsOn(*canvas);
    const std::u16string text = u"alpha beta gamma";
    RectF oneLine;
    std::int32_t fitted = 0, lines = 0;
    ASSERT_EQ(graphics->MeasureString(text, *font, RectF{}, nullptr, oneLine, &fitted, &lines), Ok);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(fitted, static_cast<std::int32_t>(text.size()));

    RectF wrapped;
    ASSERT_EQ(graphics->MeasureString(text, *font, RectF{0, 0, 80, 0}, nullptr, wrapped, &fitted, &lines), Ok);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(fitted, static_cast<std::int32_t>(text.size()));
    EXPECT_GT(wrapped.Height, 2.5f * oneLine.Height);
    EXPECT_LT(wrapped.Height, 3.2f * oneLine.Height);
    EXPECT_LE(wrapped.Width, 80);

    StringFormat noWrap(StringFormatFlagsNoWrap | StringFormatFlagsNoClip, 0);
    ASSERT_EQ(graphics->MeasureString(text, *font, RectF{0, 0, 80, 0}, &noWrap, wrapped, &fitted, &lines), Ok);
    EXPECT_EQ(lines, 1);
    EXPECT_NEAR(wrapped.Width, oneLine.Width, 0.01);

    StringFormat lineLimit(StringFormatFlagsLineLimit, 0);
    const float twoAndAHalfLines = oneLine.Height * 2.5f;
    ASSERT_EQ(graphics->MeasureString(text, *font, RectF{0, 0, 80, twoAndAHalfLines}, &lineLimit, wrapped, &fitted,
                                      &lines),
              Ok);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(fitted, static_cast<std::int32_t>(std::u16string(u"alpha beta ").size()));
    ASSERT_EQ(graphics->MeasureString(text, *font, RectF{0, 0, 80, twoAndAHalfLines}, nullptr, wrapped, &fitted,
                                      &lines),
              Ok);
    EXPECT_EQ(lines, 3);
}

TEST_F(TextTest, TrailingSpacesCountOnlyWhenAskedFor) {
    auto font = MakeFont("Liberation Sans", 20);
    auto canvas = WhiteCanvas(10, 10);
    auto graphics = GraphicsOn(*canvas);
    RectF plain, spaced, measuredSpaces;
    ASSERT_EQ(graphics->MeasureString(u"word", *font, RectF{}, nullptr, plain, nullptr, nullptr), Ok);
    ASSERT_EQ(graphics->MeasureString(u"word   ", *font, RectF{}, nullptr, spaced, nullptr, nullptr), Ok);
    StringFormat trailing(StringFormatFlagsMeasureTrailingSpaces, 0);
    ASSERT_EQ(graphics->MeasureString(u"word   ", *font, RectF{}, &trailing, measuredSpaces, nullptr, nullptr), Ok);
    EXPECT_NEAR(spaced.Width, plain.Width, 0.01);
    EXPECT_GT(measuredSpaces.Width, plain.Width + 10);
}

TEST_F(TextTest, FarAlignmentPutsTextIntoTheBottomRightCorner) {
    auto font = MakeFont("Arial", 16);
    StringFormat format(0, 0);
    ASSERT_EQ(format.SetAlignment(StringAlignmentFar), Ok);
    ASSERT_EQ(format.SetLineAlignment(StringAlignmentFar), Ok);
    auto canvas = WhiteCanvas(200, 100);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->DrawString(u"corner", *font, RectF{0, 0, 200, 100}, &format, SolidBrush(kBlack)), Ok);
    const Rect ink = InkOf(*canvas).bounds;
    EXPECT_GT(ink.X, 100);
    EXPECT_GT(ink.Y, 70);
    EXPECT_GT(ink.X + ink.Width, 185);
    EXPECT_GT(ink.Y + ink.Height, 88);
}

TEST_F(TextTest, RenderingHintChoosesBetweenSingleBitAndAntialiasedGlyphs) {
    auto font = MakeFont("Arial", 20);
    for (TextRenderingHint hint : {TextRenderingHintSingleBitPerPixel, TextRenderingHintAntiAlias}) {
        SCOPED_TRACE(hint);
        auto canvas = WhiteCanvas(120, 40);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetTextRenderingHint(hint), Ok);
        ASSERT_EQ(graphics->DrawString(u"Grey?", *font, RectF{2, 2, 0, 0}, nullptr, SolidBrush(kBlack)), Ok);
        const Ink ink = InkOf(*canvas);
        EXPECT_GT(ink.count, 20);
        if (hint == TextRenderingHintSingleBitPerPixel) {
            EXPECT_EQ(ink.greys, 0);
        } else {
            EXPECT_GT(ink.greys, 0);
        }
    }
}

TEST_F(TextTest, EmptyTextMeasuresNothingAndDrawsNothing) {
    auto font = MakeFont("Arial", 20);
    auto canvas = WhiteCanvas(20, 20);
    auto graphics = GraphicsOn(*canvas);
    RectF box{1, 1, 1, 1};
    std::int32_t fitted = -1, lines = -1;
    ASSERT_EQ(graphics->MeasureString(u"", *font, RectF{3, 4, 0, 0}, nullptr, box, &fitted, &lines), Ok);
    EXPECT_EQ(box, (RectF{3, 4, 0, 0}));
    EXPECT_EQ(fitted, 0);
    EXPECT_EQ(lines, 0);
    ASSERT_EQ(graphics->DrawString(u"", *font, RectF{3, 4, 0, 0}, nullptr, SolidBrush(kBlack)), Ok);
    EXPECT_EQ(InkOf(*canvas).count, 0);
}

TEST_F(TextTest, TextFollowsTheWorldRotation) {
    auto font = MakeFont("Arial", 20);
    auto canvas = WhiteCanvas(100, 100);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->RotateTransform(90, MatrixOrderAppend), Ok);
    // World (10, -60) is device (60, 10): the text runs downwards from there.
    ASSERT_EQ(graphics->DrawString(u"down", *font, RectF{10, -60, 0, 0}, nullptr, SolidBrush(kBlack)), Ok);
    const Rect ink = InkOf(*canvas).bounds;
    EXPECT_GT(ink.Height, 2 * ink.Width);
    EXPECT_GE(ink.Y, 10);
    EXPECT_LE(ink.X + ink.Width, 61);
}

}  // namespace
}  // namespace gdiplus
