#include "imaging/engine/quantiser/quantize_to_palette.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "imaging/engine/image_palette.h"
#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/quantiser/octree.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using namespace testing_support;

uint32_t Rgb(int32_t r, int32_t g, int32_t b) {
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

class Quantiser : public EngineTest {
protected:
    // The image of the pixels (24 bits, one row per `width` pixels) reduced.
    int32_t Reduce(const std::vector<uint32_t>& pixels, int32_t width, int32_t limit, bool transparent = false,
                   uint32_t colour = 0) {
        const int32_t height = static_cast<int32_t>(pixels.size()) / width;
        source_ = RegisterBitmap(width, height, gdiplus::PixelFormat24bppRGB);
        SetPixels(source_, pixels);
        count_ = limit;
        int32_t reduced = 0;
        EXPECT_EQ(QuantizeToPalette(source_, reduced, count_, palette_, transparent, colour), OK);
        return reduced;
    }
    std::vector<uint8_t> Indexes(int32_t id) {
        const auto [w, h] = SizeOf(id);
        std::vector<uint8_t> indexes(static_cast<size_t>(w * h));
        EXPECT_EQ(NativeBitmapOf(id)->CopyPixels(gdiplus::Rect{0, 0, w, h}, gdiplus::PixelFormat8bppIndexed, w,
                                                 indexes.data()),
                  gdiplus::Ok);
        return indexes;
    }
    int32_t source_ = 0;
    int32_t count_ = 0;
    gdiplus::ColorPalette palette_;
};

TEST_F(Quantiser, AnImageOfOneColourGivesOneEntry) {
    const int32_t id = Reduce(std::vector<uint32_t>(12, Rgb(10, 200, 30)), 4, 256);
    EXPECT_EQ(count_, 1);
    EXPECT_EQ(palette_.Count, 1u);
    EXPECT_EQ(palette_.Entries[0], Rgb(10, 200, 30));
    EXPECT_EQ(palette_.Flags, 4u);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat8bppIndexed);
    EXPECT_EQ(Indexes(id), std::vector<uint8_t>(12, 0));
    EXPECT_EQ(ImageKindOf(id), ImageKindOwnedBuffer);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(Quantiser, BlackAndWhiteGiveBlackFirst) {
    const int32_t id = Reduce({Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(255, 255, 255)}, 3, 256);
    EXPECT_EQ(count_, 2);
    EXPECT_EQ(palette_.Entries[0], Rgb(0, 0, 0));
    EXPECT_EQ(palette_.Entries[1], Rgb(255, 255, 255));
    EXPECT_EQ(Indexes(id), (std::vector<uint8_t>{1, 0, 1}));
}

TEST_F(Quantiser, TheLimitIsBroughtInto8To256AlsoInTheCallersVariable) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    for (const auto [given, limited] : {std::pair{5, 8}, std::pair{300, 256}}) {
        int32_t count = given, reduced = 0;
        gdiplus::ColorPalette palette;
        // An unregistered ID still has its limit brought into range.
        EXPECT_EQ(QuantizeToPalette(999999, reduced, count, palette, false, 0), InvalidParameter);
        EXPECT_EQ(count, limited);
        EXPECT_EQ(reduced, 0);
        count = given;
        EXPECT_EQ(QuantizeToPalette(id, reduced, count, palette, false, 0), OK);
        EXPECT_EQ(count, 1);
    }
}

TEST_F(Quantiser, ManyColoursStayWithinTheLimitAndMapNearby) {
    std::vector<uint32_t> pixels;
    for (int32_t i = 0; i < 300; ++i) pixels.push_back(Rgb(i % 20 * 13, i / 20 * 17, (i * 37) % 256));
    const int32_t id = Reduce(pixels, 30, 256);
    EXPECT_LE(count_, 256);
    EXPECT_GT(count_, 100);
    const std::vector<uint8_t> indexes = Indexes(id);
    for (size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_LT(indexes[i], count_);
        const uint32_t entry = palette_.Entries[indexes[i]];
        const auto d = [&](int shift) {
            return std::abs(static_cast<int>((pixels[i] >> shift) & 0xFF) - static_cast<int>((entry >> shift) & 0xFF));
        };
        EXPECT_LE(d(16) + d(8) + d(0), 3 * 32) << i;
    }
    EXPECT_EQ(PixelsOf(source_), pixels);
}

TEST_F(Quantiser, SixteenOrFewerLeavesGiveExactlyThatManyEntries) {
    std::vector<uint32_t> pixels;
    for (int32_t i = 0; i < 11; ++i) pixels.push_back(Rgb(i * 20, 255 - i * 20, i));
    Reduce(pixels, 11, 256);
    EXPECT_EQ(count_, 11);
    std::set<uint32_t> entries(palette_.Entries.begin(), palette_.Entries.begin() + 11);
    EXPECT_EQ(entries, std::set<uint32_t>(pixels.begin(), pixels.end()));
}

TEST_F(Quantiser, ATransparentColourWithinDistanceThreeBecomesExactWithAlphaZero) {
    const int32_t id = Reduce({Rgb(100, 100, 100), Rgb(10, 20, 30)}, 2, 256, true, 0x1F1401);  // RGB(1, 20, 31)
    (void)id;
    // Distance from (10, 20, 30) is 9 + 0 + 1: too far.
    EXPECT_EQ(palette_.Flags, 4u);
    Reduce({Rgb(100, 100, 100), Rgb(10, 20, 30)}, 2, 256, true, 0x1F140B);  // RGB(11, 20, 31): distance 2
    EXPECT_EQ(palette_.Flags, 5u);
    EXPECT_EQ(palette_.Entries[0], 0x000B141Fu);
    Reduce({Rgb(100, 100, 100), Rgb(10, 20, 30)}, 2, 256, true, 0x1F150B);  // RGB(11, 21, 31): distance 3
    EXPECT_EQ(palette_.Flags, 5u);
    Reduce({Rgb(100, 100, 100), Rgb(10, 20, 30)}, 2, 256, true, 0x1F160B);  // distance 4
    EXPECT_EQ(palette_.Flags, 4u);
    EXPECT_EQ(palette_.Entries[0], Rgb(10, 20, 30));
}

TEST_F(Quantiser, OneRowAndOneColumnAreQuantisedLikeAnyOther) {
    for (const int32_t width : {1, 6}) {
        std::vector<uint32_t> pixels;
        for (int32_t i = 0; i < 6; ++i) pixels.push_back(Rgb(i * 40, 0, 0));
        const int32_t id = Reduce(pixels, width, 8);
        EXPECT_EQ(count_, 6);
        const std::vector<uint8_t> indexes = Indexes(id);
        for (size_t i = 0; i < 6; ++i) EXPECT_EQ(palette_.Entries[indexes[i]], pixels[i]);
    }
}

TEST(Octree, TwoColoursMergedIntoOneLeafGiveTheTruncatedMean) {
    const uint8_t rows[] = {1, 1, 1, 2, 2, 2, 0, 0};  // one row of two pixels, 2 fill bytes
    Octree tree;
    tree.Build(8, 1, 2, rows, 1);
    EXPECT_EQ(tree.ColorCount(), 0);
    uint8_t blue = 0, green = 0, red = 0;
    tree.PaletteEntry(0, blue, green, red);
    EXPECT_EQ(blue, 1);
    EXPECT_EQ(green, 1);
    EXPECT_EQ(red, 1);
    EXPECT_EQ(tree.ColorIndex(2, 2, 2), 0);
    EXPECT_THROW(tree.PaletteEntry(16, blue, green, red), EngineFailure);
}

TEST(Octree, ReductionMergesTheDeepestNodeListedLastFirst) {
    // Four colours with limit 3: the last colour's deepest branch merges first
    // and the other three stay exact.
    const uint8_t rows[] = {0, 0, 0, 0, 0, 64, 0, 64, 0, 0, 0, 1};  // blue, green, red
    Octree tree;
    tree.Build(12, 1, 0, rows, 3);
    // Inserted last to first: red 1, green 64, red 64, black; red 1 and black
    // share their path down to the last level and merge into one leaf.
    EXPECT_EQ(tree.ColorCount(), 2);
    uint8_t blue = 0, green = 0, red = 0;
    tree.PaletteEntry(0, blue, green, red);
    EXPECT_EQ((std::vector<int>{blue, green, red}), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(tree.ColorIndex(0, 0, 1), 0);
    EXPECT_EQ(tree.ColorIndex(0, 64, 0), 1);
    EXPECT_EQ(tree.ColorIndex(0, 0, 64), 2);
}

}  // namespace
}  // namespace scanvelt
