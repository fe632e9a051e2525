#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::MakeBitmap;
using testing_support::PixelsOf;
using testing_support::SetPixels;

class RotateFlipTest : public testing_support::StartedTest {};

// Where the pixels a..f of the 3 x 2 image
//   a b c
//   d e f
// end up, row by row, for each rotate-flip type.
struct Expected {
    RotateFlipType type;
    std::int32_t width;
    std::string layout;
};
const Expected kLayouts[] = {
    {RotateNoneFlipNone, 3, "abcdef"}, {Rotate90FlipNone, 2, "daebfc"}, {Rotate180FlipNone, 3, "fedcba"},
    {Rotate270FlipNone, 2, "cfbead"},  {RotateNoneFlipX, 3, "cbafed"},  {Rotate90FlipX, 2, "adbecf"},
    {Rotate180FlipX, 3, "defabc"},     {Rotate270FlipX, 2, "fcebda"},
};

TEST_F(RotateFlipTest, EveryTypeAtEveryDepthMovesEachPixelWhereItBelongs) {
    const ARGB mark = 0xFFFFFFFF, ground = 0xFF000000;
    for (PixelFormat format : {PixelFormat1bppIndexed, PixelFormat4bppIndexed, PixelFormat8bppIndexed,
                               PixelFormat24bppRGB, PixelFormat32bppARGB}) {
        for (const Expected& e : kLayouts) {
            // One image per pixel, so that even a 1-bit image tells every
            // pixel apart: the marked pixel must land where the layout says.
            for (char pixel = 'a'; pixel <= 'f'; ++pixel) {
                SCOPED_TRACE(::testing::Message() << std::hex << format << std::dec << " type " << e.type
                                                  << " pixel " << pixel);
                auto bitmap = MakeBitmap(3, 2, format);
                std::vector<ARGB> colours(6, ground);
                colours[static_cast<std::size_t>(pixel - 'a')] = mark;
                SetPixels(*bitmap, colours);
                ASSERT_EQ(bitmap->RotateFlip(e.type), Ok);
                EXPECT_EQ(bitmap->GetWidth(), static_cast<std::uint32_t>(e.width));
                EXPECT_EQ(bitmap->GetHeight(), e.width == 3 ? 2u : 3u);
                EXPECT_EQ(bitmap->GetPixelFormat(), format);
                std::vector<ARGB> expected(6, ground);
                expected[e.layout.find(pixel)] = mark;
                EXPECT_EQ(PixelsOf(*bitmap), expected);
            }
        }
    }
}

TEST_F(RotateFlipTest, HalfTurnOfAOneBitImageEqualsTwoQuarterTurns) {
    auto once = MakeBitmap(13, 7, PixelFormat1bppIndexed);
    auto twice = MakeBitmap(13, 7, PixelFormat1bppIndexed);
    std::vector<ARGB> colours;
    for (int i = 0; i < 13 * 7; ++i) colours.push_back((i * 7 + i / 5) % 3 == 0 ? 0xFFFFFFFF : 0xFF000000);
    SetPixels(*once, colours);
    SetPixels(*twice, colours);
    ASSERT_EQ(once->RotateFlip(Rotate180FlipNone), Ok);
    ASSERT_EQ(twice->RotateFlip(Rotate90FlipNone), Ok);
    ASSERT_EQ(twice->RotateFlip(Rotate90FlipNone), Ok);
    EXPECT_EQ(PixelsOf(*once), PixelsOf(*twice));
    EXPECT_EQ(testing_support::RowBytesOf(*once), testing_support::RowBytesOf(*twice));
}

TEST_F(RotateFlipTest, QuarterTurnsSwapTheResolutionAndLeaveBorrowedPixelsAlone) {
    std::vector<std::uint8_t> pixels(8 * 2, 0x11);
    std::unique_ptr<Bitmap> bitmap;
    ASSERT_EQ(Bitmap::FromScan0(2, 2, 8, PixelFormat24bppRGB, pixels.data(), bitmap), Ok);
    ASSERT_EQ(bitmap->SetResolution(200.0f, 100.0f), Ok);
    ASSERT_EQ(bitmap->RotateFlip(Rotate270FlipNone), Ok);
    EXPECT_EQ(bitmap->GetHorizontalResolution(), 100.0f);
    EXPECT_EQ(bitmap->GetVerticalResolution(), 200.0f);
    ASSERT_EQ(bitmap->SetPixel(0, 0, 0xFFFFFFFF), Ok);
    EXPECT_EQ(pixels, std::vector<std::uint8_t>(16, 0x11));

    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 2, 2}, ImageLockModeRead, PixelFormat24bppRGB, data), Ok);
    EXPECT_NE(data.Scan0, pixels.data());
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);

    ASSERT_EQ(bitmap->RotateFlip(Rotate180FlipNone), Ok);
    EXPECT_EQ(bitmap->GetHorizontalResolution(), 100.0f);
}

TEST_F(RotateFlipTest, RefusesTypesOutsideTheEight) {
    auto bitmap = MakeBitmap(2, 1, PixelFormat24bppRGB);
    EXPECT_EQ(bitmap->RotateFlip(static_cast<RotateFlipType>(8)), InvalidParameter);
    EXPECT_EQ(bitmap->RotateFlip(static_cast<RotateFlipType>(-1)), InvalidParameter);
    EXPECT_EQ(bitmap->GetWidth(), 2u);
}

}  // namespace
}  // namespace gdiplus
