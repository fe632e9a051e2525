#include "platform/gdiplus/pixel_format.h"

#include <gtest/gtest.h>

namespace gdiplus {
namespace {

TEST(PixelFormat, PropertiesOfEveryFormat) {
    struct Case {
        PixelFormat format;
        std::uint32_t bits;
        bool indexed, alpha, premultiplied, extended, canonical;
    } cases[] = {
        {PixelFormat1bppIndexed, 1, true, false, false, false, false},
        {PixelFormat4bppIndexed, 4, true, false, false, false, false},
        {PixelFormat8bppIndexed, 8, true, false, false, false, false},
        {PixelFormat16bppGrayScale, 16, false, false, false, true, false},
        {PixelFormat16bppRGB555, 16, false, false, false, false, false},
        {PixelFormat16bppRGB565, 16, false, false, false, false, false},
        {PixelFormat16bppARGB1555, 16, false, true, false, false, false},
        {PixelFormat24bppRGB, 24, false, false, false, false, false},
        {PixelFormat32bppRGB, 32, false, false, false, false, false},
        {PixelFormat32bppARGB, 32, false, true, false, false, true},
        {PixelFormat32bppPARGB, 32, false, true, true, false, false},
        {PixelFormat48bppRGB, 48, false, false, false, true, false},
        {PixelFormat64bppARGB, 64, false, true, false, true, true},
        {PixelFormat64bppPARGB, 64, false, true, true, true, false},
    };
    ASSERT_EQ(std::size(cases), kAllPixelFormats.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.format);
        EXPECT_TRUE(IsSupportedPixelFormat(c.format));
        EXPECT_EQ(GetPixelFormatSize(c.format), c.bits);
        EXPECT_EQ(IsIndexedPixelFormat(c.format), c.indexed);
        EXPECT_EQ(IsAlphaPixelFormat(c.format), c.alpha);
        EXPECT_EQ(IsPAlphaPixelFormat(c.format), c.premultiplied);
        EXPECT_EQ(IsExtendedPixelFormat(c.format), c.extended);
        EXPECT_EQ(IsCanonicalPixelFormat(c.format), c.canonical);
    }
}

TEST(PixelFormat, FlagTestsAnswerForCodesOutsideTheTable) {
    EXPECT_FALSE(IsSupportedPixelFormat(PixelFormat32bppCMYK));
    EXPECT_FALSE(IsSupportedPixelFormat(PixelFormatUndefined));
    EXPECT_EQ(GetPixelFormatSize(PixelFormat32bppCMYK), 32u);
    EXPECT_FALSE(IsIndexedPixelFormat(PixelFormat32bppCMYK));
    EXPECT_TRUE(IsIndexedPixelFormat(0x10000));
    EXPECT_TRUE(IsAlphaPixelFormat(0x40000));
}

TEST(PixelFormat, StridesPadRowsToWholeWords) {
    struct Case {
        std::int32_t width;
        PixelFormat format;
        std::int64_t stride, rowBytes;
    } cases[] = {
        {1, PixelFormat1bppIndexed, 4, 1},     {33, PixelFormat1bppIndexed, 8, 5},
        {10, PixelFormat4bppIndexed, 8, 5},    {3, PixelFormat4bppIndexed, 4, 2},
        {5, PixelFormat8bppIndexed, 8, 5},     {5, PixelFormat16bppRGB565, 12, 10},
        {5, PixelFormat24bppRGB, 16, 15},      {3, PixelFormat32bppARGB, 12, 12},
        {5, PixelFormat48bppRGB, 32, 30},      {2, PixelFormat48bppRGB, 12, 12},
        {3, PixelFormat64bppPARGB, 24, 24},    {0, PixelFormat24bppRGB, 0, 0},
        {-4, PixelFormat24bppRGB, 0, 0},       {7, PixelFormat32bppCMYK, 0, 0},
        {INT32_MAX, PixelFormat64bppARGB, std::int64_t{INT32_MAX} * 8, std::int64_t{INT32_MAX} * 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " px, format " << std::hex << c.format);
        EXPECT_EQ(DefaultStride(c.width, c.format), c.stride);
        EXPECT_EQ(RowBytes(c.width, c.format), c.rowBytes);
    }
}

}  // namespace
}  // namespace gdiplus
