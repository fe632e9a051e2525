#include "imaging/engine/pixel_formats.h"

#include <gtest/gtest.h>

#include "imaging/engine/engine_numeric.h"

namespace scanvelt {
namespace {

struct FormatCase {
    int32_t code;
    int32_t bits;
    const char* text;
    bool indexed;
    bool alpha;
};

class KnownFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(KnownFormatTest, TableValues) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(BitsPerPixelOf(c.code), c.bits);
    EXPECT_EQ(DepthOfFormat(c.code), c.bits);
    EXPECT_EQ(PixelFormatText(c.code), c.text);
    EXPECT_EQ(IsIndexedFormat(c.code), c.indexed);
    EXPECT_EQ(IsAlphaFormat(c.code), c.alpha);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, KnownFormatTest,
    testing::Values(FormatCase{196865, 1, "1bppIndexed", true, false}, FormatCase{197634, 4, "4bppIndexed", true, false},
                    FormatCase{198659, 8, "8bppIndexed", true, false},
                    FormatCase{1052676, 16, "16bppGrayScale", false, false},
                    FormatCase{135173, 16, "16bppRGB555", false, false}, FormatCase{135174, 16, "16bppRGB565", false, false},
                    FormatCase{397319, 16, "16bppARGB1555", false, true}, FormatCase{137224, 24, "24bppRGB", false, false},
                    FormatCase{139273, 32, "32bppRGB", false, false}, FormatCase{2498570, 32, "32bppARGB", false, true},
                    FormatCase{925707, 32, "32bppPARGB", false, true}, FormatCase{1060876, 48, "48bppRGB", false, false},
                    FormatCase{3424269, 64, "64bppARGB", false, true},
                    FormatCase{1851406, 64, "64bppPARGB", false, true}));

TEST(PixelFormats, UnknownCodes) {
    // The CMYK code is laid out as 32 bits but has no bits of its own.
    EXPECT_EQ(DepthOfFormat(0x200F), 32);
    EXPECT_EQ(BitsPerPixelOf(0x200F), 0);
    EXPECT_EQ(PixelFormatText(0x200F), "Undefined");
    EXPECT_EQ(DepthOfFormat(0), 0);
    EXPECT_EQ(BitsPerPixelOf(0), 0);
    // The bit tests look at the bit alone.
    EXPECT_TRUE(IsIndexedFormat(0x10000));
    EXPECT_TRUE(IsAlphaFormat(0x40000));
}

struct RowCase {
    int32_t width;
    int32_t depth;
    int32_t stride;
    int32_t bytes;
};

class RowLengthTest : public testing::TestWithParam<RowCase> {};

TEST_P(RowLengthTest, StrideAndBytes) {
    const RowCase& c = GetParam();
    EXPECT_EQ(StrideForDepth(c.width, c.depth), c.stride) << c.width << " at " << c.depth;
    EXPECT_EQ(BytesPerLine(c.width, c.depth), c.bytes) << c.width << " at " << c.depth;
    if (c.stride > 0) {
        EXPECT_EQ(c.stride % 4, 0);
        EXPECT_GE(c.stride, c.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowLengthTest,
    testing::Values(RowCase{10, 4, 16, 5}, RowCase{33, 4, 32, 17}, RowCase{33, 1, 8, 5}, RowCase{10, 1, 4, 2},
                    RowCase{32, 1, 4, 4}, RowCase{3, 4, 16, 2}, RowCase{5, 8, 8, 5}, RowCase{5, 16, 12, 10},
                    RowCase{4, 16, 8, 8}, RowCase{5, 24, 16, 15}, RowCase{4, 24, 12, 12}, RowCase{5, 32, 20, 20},
                    RowCase{2, 48, 16, 12}, RowCase{5, 48, 32, 30}, RowCase{4, 48, 24, 24}, RowCase{3, 64, 24, 24},
                    RowCase{7, 12, 0, 0}, RowCase{0, 24, 0, 0}, RowCase{-5, 8, 0, 0}));

TEST(PixelFormats, RowLengthOverflowIsAFailureNotAWrap) {
    EXPECT_THROW(StrideForDepth(0x7FFFFFFF, 32), EngineFailure);
    EXPECT_THROW(BytesPerLine(0x20000000, 64), EngineFailure);
    EXPECT_EQ(StrideForDepth(0x7FFFFFFF, 1), 4 * ((0x7FFFFFFF - 1) / 32 + 1));
}

}  // namespace
}  // namespace scanvelt
