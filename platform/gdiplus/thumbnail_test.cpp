#include <gtest/gtest.h>

#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::MakeBitmap;
using testing_support::PixelsOf;
using testing_support::SetPixels;

class ThumbnailTest : public testing_support::StartedTest {};

TEST_F(ThumbnailTest, HasExactlyTheSizeAskedFor) {
    struct Case {
        std::int32_t width, height;
        PixelFormat format;
        std::uint32_t thumbWidth, thumbHeight;
    } cases[] = {
        {40, 30, PixelFormat24bppRGB, 12, 9},   {40, 30, PixelFormat1bppIndexed, 7, 13},
        {3, 2, PixelFormat8bppIndexed, 32, 32}, {1, 1, PixelFormat64bppARGB, 5, 1},
        {17, 5, PixelFormat16bppRGB565, 17, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " to " << c.thumbWidth << "x"
                                          << c.thumbHeight);
        auto bitmap = MakeBitmap(c.width, c.height, c.format);
        ASSERT_EQ(bitmap->SetResolution(300.0f, 200.0f), Ok);
        std::unique_ptr<Image> thumbnail;
        ASSERT_EQ(bitmap->GetThumbnailImage(c.thumbWidth, c.thumbHeight, thumbnail), Ok);
        EXPECT_EQ(thumbnail->GetWidth(), c.thumbWidth);
        EXPECT_EQ(thumbnail->GetHeight(), c.thumbHeight);
        EXPECT_EQ(thumbnail->GetPixelFormat(), PixelFormat32bppPARGB);
        EXPECT_EQ(thumbnail->GetHorizontalResolution(), 300.0f);
    }
}

TEST_F(ThumbnailTest, AveragesTheAreaEachPixelCovers) {
    auto bitmap = MakeBitmap(4, 2, PixelFormat24bppRGB);
    SetPixels(*bitmap, {0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFFFF0000,
                        0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFFFF0000});
    std::unique_ptr<Image> thumbnail;
    ASSERT_EQ(bitmap->GetThumbnailImage(2, 1, thumbnail), Ok);
    EXPECT_EQ(PixelsOf(dynamic_cast<Bitmap&>(*thumbnail)), (std::vector<ARGB>{0xFF808080, 0xFFFF0000}));

    // Growing repeats each pixel as a block.
    ASSERT_EQ(bitmap->GetThumbnailImage(8, 4, thumbnail), Ok);
    const ARGB w = 0xFFFFFFFF, k = 0xFF000000, r = 0xFFFF0000;
    EXPECT_EQ(PixelsOf(dynamic_cast<Bitmap&>(*thumbnail)),
              (std::vector<ARGB>{w, w, k, k, r, r, r, r, w, w, k, k, r, r, r, r,
                                 k, k, w, w, r, r, r, r, k, k, w, w, r, r, r, r}));
}

TEST_F(ThumbnailTest, TransparentPixelsLendNoColour) {
    auto bitmap = MakeBitmap(2, 1, PixelFormat32bppARGB);
    SetPixels(*bitmap, {0x00FF0000, 0xFF0000FF});
    std::unique_ptr<Image> thumbnail;
    ASSERT_EQ(bitmap->GetThumbnailImage(1, 1, thumbnail), Ok);
    EXPECT_EQ(PixelsOf(dynamic_cast<Bitmap&>(*thumbnail)), std::vector<ARGB>{0x800000FF});
}

TEST_F(ThumbnailTest, RefusesAnEmptySize) {
    auto bitmap = MakeBitmap(4, 4, PixelFormat24bppRGB);
    std::unique_ptr<Image> thumbnail;
    EXPECT_EQ(bitmap->GetThumbnailImage(0, 4, thumbnail), InvalidParameter);
    EXPECT_EQ(bitmap->GetThumbnailImage(4, 0, thumbnail), InvalidParameter);
    EXPECT_FALSE(thumbnail);
}

}  // namespace
}  // namespace gdiplus
