#include <gtest/gtest.h>

#include "platform/gdiplus/graphics/graphics_test_support.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class DrawImageTest : public StartedTest {};

struct Pattern {
    const char* name;
    std::int32_t width;
    std::vector<ARGB> pixels;
};

const std::vector<Pattern>& Patterns() {
    static const std::vector<Pattern> patterns = {
        {"single pixel", 1, {kRed}},
        {"checker", 2, {kBlack, kWhite, kWhite, kBlack}},
        {"vertical stripes", 3, {kRed, kGreen, kBlue, kRed, kGreen, kBlue}},
        {"odd colours", 3, {0xFF102030, 0xFFF0E0D0, 0xFF7F7F7F, 0xFF010203, 0xFFFEFDFC, 0xFF808080}},
        {"single row", 5, {kWhite, kBlack, kBlack, kWhite, kRed}},
        {"single column", 1, {kBlue, kBlack, kWhite, kGreen}},
    };
    return patterns;
}

TEST_F(DrawImageTest, NearestNeighbourAtWholeFactorsIsPixelExact) {
    for (const Pattern& pattern : Patterns()) {
        const auto height = static_cast<std::int32_t>(pattern.pixels.size()) / pattern.width;
        for (std::int32_t factor : {2, 3, 4}) {
            for (PixelOffsetMode offset : {PixelOffsetModeDefault, PixelOffsetModeNone, PixelOffsetModeHalf}) {
                for (PixelFormat target : {PixelFormat32bppARGB, PixelFormat32bppPARGB, PixelFormat24bppRGB}) {
                    SCOPED_TRACE(::testing::Message() << pattern.name << " x" << factor << " offset " << offset
                                                      << " target " << std::hex << target);
                    auto source = BitmapOf(pattern.width, height, PixelFormat24bppRGB, pattern.pixels);
                    auto canvas = MakeBitmap(pattern.width * factor, height * factor, target);
                    auto graphics = GraphicsOn(*canvas);
                    ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
                    ASSERT_EQ(graphics->SetPixelOffsetMode(offset), Ok);
                    const RectF destination{0, 0, static_cast<float>(pattern.width * factor),
                                            static_cast<float>(height * factor)};
                    ASSERT_EQ(graphics->DrawImage(*source, destination), Ok);
                    EXPECT_EQ(PixelsOf(*canvas), ScaledUp(pattern.pixels, pattern.width, factor));
                }
            }
        }
    }
}

TEST_F(DrawImageTest, DrawsOnlyIntoTheDestinationRectangle) {
    auto source = BitmapOf(2, 1, PixelFormat32bppARGB, {kRed, kBlue});
    auto canvas = BitmapOf(6, 4, PixelFormat32bppARGB, std::vector<ARGB>(24, kWhite));
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
    ASSERT_EQ(graphics->DrawImage(*source, RectF{1, 1, 4, 2}), Ok);
    const std::vector<ARGB> expected = {
        kWhite, kWhite, kWhite, kWhite, kWhite,              kWhite,  //
        kWhite, kRed,   kRed,   kBlue,  kBlue,              kWhite,  //
        kWhite, kRed,   kRed,   kBlue,  kBlue,              kWhite,  //
        kWhite, kWhite, kWhite, kWhite, kWhite,             kWhite,
    };
    EXPECT_EQ(PixelsOf(*canvas), expected);
}

TEST_F(DrawImageTest, SmoothingModesInterpolateBetweenPixels) {
    for (InterpolationMode mode : {InterpolationModeDefault, InterpolationModeBilinear, InterpolationModeBicubic,
                                   InterpolationModeHighQualityBilinear, InterpolationModeHighQualityBicubic}) {
        SCOPED_TRACE(mode);
        auto source = BitmapOf(2, 1, PixelFormat24bppRGB, {kBlack, kWhite});
        auto canvas = MakeBitmap(16, 1, PixelFormat24bppRGB);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetInterpolationMode(mode), Ok);
        ASSERT_EQ(graphics->DrawImage(*source, RectF{0, 0, 16, 1}), Ok);
        const auto pixels = PixelsOf(*canvas);
        const auto between = std::count_if(pixels.begin(), pixels.end(), [](ARGB c) {
            return RedOf(c) > 10 && RedOf(c) < 245;
        });
        EXPECT_GE(between, 2);
        EXPECT_LT(RedOf(pixels.front()), 10);
        EXPECT_GT(RedOf(pixels.back()), 245);
    }
}

TEST_F(DrawImageTest, SourceRectangleSelectsAndFlips) {
    struct Case {
        const char* name;
        RectF destination;
        RectF source;
        std::vector<ARGB> expected;
    };
    const std::vector<Case> cases = {
        {"right pixel only", {0, 0, 2, 1}, {1, 0, 1, 1}, {kBlue, kBlue}},
        {"destination mirrored", {2, 0, -2, 1}, {0, 0, 2, 1}, {kBlue, kRed}},
        {"source mirrored", {0, 0, 2, 1}, {2, 0, -2, 1}, {kBlue, kRed}},
        {"source partly left of the image", {0, 0, 2, 1}, {-1, 0, 2, 1}, {kWhite, kRed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto source = BitmapOf(2, 1, PixelFormat24bppRGB, {kRed, kBlue});
        auto canvas = BitmapOf(2, 1, PixelFormat24bppRGB, {kWhite, kWhite});
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
        ASSERT_EQ(graphics->DrawImage(*source, c.destination, c.source, UnitPixel, nullptr), Ok);
        EXPECT_EQ(PixelsOf(*canvas), c.expected);
    }
}

TEST_F(DrawImageTest, IndexedTargetKeepsItsFormatAndTakesTheNearestEntries) {
    auto source = BitmapOf(2, 1, PixelFormat24bppRGB, {kRed, 0xFFFE0101});
    auto canvas = MakeBitmap(4, 2, PixelFormat8bppIndexed);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
    ASSERT_EQ(graphics->DrawImage(*source, RectF{0, 0, 4, 2}), Ok);
    EXPECT_EQ(canvas->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(PixelsOf(*canvas), std::vector<ARGB>(8, kRed));
}

TEST_F(DrawImageTest, AnImageCanBeDrawnOntoItself) {
    auto image = BitmapOf(4, 1, PixelFormat32bppARGB, {kRed, kGreen, kWhite, kWhite});
    auto graphics = GraphicsOn(*image);
    ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
    ASSERT_EQ(graphics->DrawImage(*image, RectF{2, 0, 2, 1}, RectF{0, 0, 2, 1}, UnitPixel, nullptr), Ok);
    EXPECT_EQ(PixelsOf(*image), (std::vector<ARGB>{kRed, kGreen, kRed, kGreen}));
}

// A premultiplied source is drawn from its own rows; the result is the one of
// the same pixels in straight ARGB, which is copied first, and the source is
// free again afterwards.
TEST_F(DrawImageTest, PremultipliedSourcesDrawAsTheirStraightTwins) {
    const std::vector<ARGB> colours = {kRed, 0x80FF0000, 0x00000000, 0xFF102030, 0x40FFFFFF, kBlue};
    auto straight = BitmapOf(3, 2, PixelFormat32bppARGB, colours);
    auto premultiplied = BitmapOf(3, 2, PixelFormat32bppPARGB, colours);
    for (const RectF& source : {RectF{0, 0, 3, 2}, RectF{1, 1, 2, 1}}) {
        for (InterpolationMode mode : {InterpolationModeNearestNeighbor, InterpolationModeHighQualityBicubic}) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " source x " << source.X);
            auto expected = BitmapOf(7, 5, PixelFormat32bppARGB, std::vector<ARGB>(35, kWhite));
            auto drawn = BitmapOf(7, 5, PixelFormat32bppARGB, std::vector<ARGB>(35, kWhite));
            for (auto* pair : {&expected, &drawn}) {
                auto graphics = GraphicsOn(**pair);
                ASSERT_EQ(graphics->SetInterpolationMode(mode), Ok);
                const Bitmap& from = pair == &expected ? *straight : *premultiplied;
                ASSERT_EQ(graphics->DrawImage(from, RectF{1, 1, 6, 4}, source, UnitPixel, nullptr), Ok);
            }
            EXPECT_EQ(PixelsOf(*drawn), PixelsOf(*expected));
        }
    }
    BitmapData data;
    ASSERT_EQ(premultiplied->LockBits(Rect{0, 0, 3, 2}, ImageLockModeWrite, PixelFormat32bppPARGB, data), Ok);
    EXPECT_EQ(premultiplied->UnlockBits(data), Ok);
    // Drawn onto itself, it is still copied first.
    auto self = BitmapOf(4, 1, PixelFormat32bppPARGB, {kRed, kGreen, kWhite, kWhite});
    auto graphics = GraphicsOn(*self);
    ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
    ASSERT_EQ(graphics->DrawImage(*self, RectF{2, 0, 2, 1}, RectF{0, 0, 2, 1}, UnitPixel, nullptr), Ok);
    EXPECT_EQ(PixelsOf(*self), (std::vector<ARGB>{kRed, kGreen, kRed, kGreen}));
}

TEST_F(DrawImageTest, AttributesRemapAndCorrectGamma) {
    const ColorMap redToGreen{kRed, kGreen};
    ImageAttributes remap;
    ASSERT_EQ(remap.SetRemapTable(ColorAdjustTypeDefault, true, std::span(&redToGreen, 1)), Ok);
    ImageAttributes gamma;
    ASSERT_EQ(gamma.SetGamma(ColorAdjustTypeBitmap, true, 0.5f), Ok);
    ImageAttributes cleared;
    ASSERT_EQ(cleared.SetGamma(ColorAdjustTypeBitmap, true, 0.5f), Ok);
    ASSERT_EQ(cleared.SetGamma(ColorAdjustTypeBitmap, false, 0), Ok);
    struct Case {
        const char* name;
        const ImageAttributes* attributes;
        std::vector<ARGB> expected;
    };
    const std::vector<Case> cases = {
        {"remap through the default type", &remap, {kGreen, 0xFF404040}},
        {"gamma 0.5 lightens", &gamma, {kRed, 0xFF808080}},
        {"cleared gamma changes nothing", &cleared, {kRed, 0xFF404040}},
        {"no attributes", nullptr, {kRed, 0xFF404040}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto source = BitmapOf(2, 1, PixelFormat32bppARGB, {kRed, 0xFF404040});
        auto canvas = MakeBitmap(2, 1, PixelFormat32bppARGB);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->DrawImage(*source, RectF{0, 0, 2, 1}, RectF{0, 0, 2, 1}, UnitPixel, c.attributes), Ok);
        EXPECT_EQ(PixelsOf(*canvas), c.expected);
    }
}

TEST_F(DrawImageTest, RefusesWhatCannotBeDrawn) {
    auto source = BitmapOf(2, 2, PixelFormat24bppRGB, {});
    auto canvas = MakeBitmap(2, 2, PixelFormat24bppRGB);
    auto graphics = GraphicsOn(*canvas);
    EXPECT_EQ(graphics->DrawImage(*source, RectF{0, 0, 2, 2}, RectF{0, 0, 0, 2}, UnitPixel, nullptr), InvalidParameter);
    EXPECT_EQ(graphics->DrawImage(*source, RectF{0, 0, 2, 2}, RectF{0, 0, 2, 2}, static_cast<Unit>(9), nullptr),
              InvalidParameter);
    BitmapData data;
    ASSERT_EQ(source->LockBits(Rect{0, 0, 2, 2}, ImageLockModeRead, PixelFormat24bppRGB, data), Ok);
    EXPECT_EQ(graphics->DrawImage(*source, RectF{0, 0, 2, 2}), ObjectBusy);
    ASSERT_EQ(source->UnlockBits(data), Ok);
}

TEST_F(DrawImageTest, AGraphicsWhoseImageIsGoneRefusesToDraw) {
    auto canvas = MakeBitmap(2, 2, PixelFormat24bppRGB);
    Bitmap* current = canvas.get();
    std::unique_ptr<Graphics> graphics;
    ASSERT_EQ(Graphics::FromImage([&current] { return current; }, graphics), Ok);
    auto source = MakeBitmap(1, 1, PixelFormat24bppRGB);
    current = nullptr;
    EXPECT_EQ(graphics->DrawImage(*source, RectF{0, 0, 2, 2}), InvalidParameter);
    EXPECT_EQ(graphics->Clear(kRed), InvalidParameter);
}

TEST_F(DrawImageTest, SourceUnitsConvertAtTheImageResolution) {
    auto source = BitmapOf(2, 1, PixelFormat24bppRGB, {kRed, kBlue});
    ASSERT_EQ(source->SetResolution(72, 72), Ok);
    auto canvas = MakeBitmap(2, 1, PixelFormat24bppRGB);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
    // At 72 dpi one point is one pixel: the second pixel.
    ASSERT_EQ(graphics->DrawImage(*source, RectF{0, 0, 2, 1}, RectF{1, 0, 1, 1}, UnitPoint, nullptr), Ok);
    EXPECT_EQ(PixelsOf(*canvas), (std::vector<ARGB>{kBlue, kBlue}));
}

}  // namespace
}  // namespace gdiplus

namespace gdiplus {
namespace {

using namespace testing_support;

class DrawStraightImageTest : public StartedTest {};

// An opaque straight-ARGB picture is drawn from where its rows lie; a 32-bit
// RGB one with the same colours goes through a premultiplied copy. Both must
// give the same pixels; one see-through pixel sends the ARGB one through the
// copy too, and it still draws.
TEST_F(DrawStraightImageTest, AnOpaquePictureDrawnWhereItLiesGivesWhatItsCopyGives) {
    std::vector<ARGB> colours;
    for (std::int32_t i = 0; i < 48; ++i)
        colours.push_back(0xFF000000u | static_cast<ARGB>(i * 53 & 0xFF) << 16 | static_cast<ARGB>(i * 29 & 0xFF) << 8 |
                          static_cast<ARGB>(i * 97 & 0xFF));
    std::vector<ARGB> oneSeeThrough = colours;
    oneSeeThrough[30] = 0x40102030;
    struct Case {
        const char* what;
        InterpolationMode mode;
        float angle;
        RectF destination;
        RectF source;
    };
    const Case cases[] = {
        {"nearest, whole", InterpolationModeNearestNeighbor, 0, {1, 2, 16, 12}, {0, 0, 8, 6}},
        {"bilinear, part, scaled down", InterpolationModeBilinear, 0, {0.5f, 1.5f, 5, 3}, {1, 1, 6, 4}},
        {"bicubic, turned", InterpolationModeHighQualityBicubic, 20, {4, -1, 13, 11}, {0, 0, 8, 6}},
    };
    for (const Case& c : cases) {
        const auto drawn = [&](PixelFormat format, const std::vector<ARGB>& pixels) {
            const std::unique_ptr<Bitmap> picture = BitmapOf(8, 6, format, pixels);
            const std::unique_ptr<Bitmap> canvas = WhiteCanvas(20, 16);
            const std::unique_ptr<Graphics> graphics = GraphicsOn(*canvas);
            graphics->SetInterpolationMode(c.mode);
            graphics->RotateTransform(c.angle, MatrixOrderAppend);
            EXPECT_EQ(graphics->DrawImage(*picture, c.destination, c.source, UnitPixel, nullptr), Ok) << c.what;
            return PixelsIn(*canvas, Rect{0, 0, 20, 16});
        };
        const std::vector<ARGB> direct = drawn(PixelFormat32bppARGB, colours);
        EXPECT_EQ(direct, drawn(PixelFormat32bppRGB, colours)) << c.what;
        EXPECT_NE(direct, PixelsIn(*WhiteCanvas(20, 16), Rect{0, 0, 20, 16})) << c.what << " drew nothing";
        EXPECT_NE(drawn(PixelFormat32bppARGB, oneSeeThrough), direct) << c.what;
    }
}

}  // namespace
}  // namespace gdiplus
