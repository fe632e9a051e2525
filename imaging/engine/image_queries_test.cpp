#include "imaging/engine/image_queries.h"

#include <gtest/gtest.h>

#include <string>

#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/image_format.h"

namespace scanvelt {
namespace {

using testing_support::EngineTest;
using testing_support::RegisterBitmap;
using testing_support::RegisterEmpty;

using ImageQueryTest = EngineTest;

TEST_F(ImageQueryTest, RegisteredBitmap) {
    const int32_t id = RegisterBitmap(3, 2, gdiplus::PixelFormat16bppRGB565);
    int32_t width = 0, height = 0, format = 0, depth = 0;
    float dpi = 0;
    EXPECT_EQ(GetImageWidth(id, width), OK);
    EXPECT_EQ(GetImageHeight(id, height), OK);
    EXPECT_EQ(GetImageHorizontalResolution(id, dpi), OK);
    EXPECT_EQ(GetImagePixelFormat(id, format), OK);
    EXPECT_EQ(GetImageBitDepth(id, depth), OK);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_FLOAT_EQ(dpi, 96.0f);
    EXPECT_EQ(format, gdiplus::PixelFormat16bppRGB565);
    EXPECT_EQ(depth, 16);
    EXPECT_EQ(BitDepthOf(id), 16);
    std::string name;
    EXPECT_EQ(GetPixelFormatName(id, name), OK);
    EXPECT_EQ(name, "16bppRGB565");
    EXPECT_EQ(FormatNameOf(id), "Memory BMP");
    EXPECT_EQ(ValidateImage(id), OK);
    uint32_t color = 1;
    EXPECT_EQ(GetImagePixel(id, 2, 1, color), OK);
    EXPECT_EQ(color, 0xFF000000u);
    EXPECT_EQ(GetImagePixel(id, 3, 0, color), InvalidParameter);
}

TEST_F(ImageQueryTest, UnregisteredIdAnswersZeroEmptyOrInvalidParameter) {
    const int32_t id = RegisterBitmap(3, 2, gdiplus::PixelFormat24bppRGB);
    const int32_t unknown = id == 1 ? 2 : 1;
    int32_t width = 9, height = 9, format = 9, depth = 9;
    float dpi = 9;
    uint32_t color = 9;
    std::string name = "kept";
    EXPECT_EQ(GetImageWidth(unknown, width), InvalidParameter);
    EXPECT_EQ(GetImageHeight(unknown, height), InvalidParameter);
    EXPECT_EQ(GetImageVerticalResolution(unknown, dpi), InvalidParameter);
    EXPECT_EQ(GetImageBitDepth(unknown, depth), InvalidParameter);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(dpi, 0.0f);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(GetImagePixelFormat(unknown, format), InvalidParameter);
    EXPECT_EQ(format, 9);  // left as it was
    EXPECT_EQ(GetPixelFormatName(unknown, name), InvalidParameter);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(GetImagePixel(unknown, 0, 0, color), InvalidParameter);
    EXPECT_EQ(PixelFormatOf(unknown), 0);
    EXPECT_EQ(BitDepthOf(unknown), 0);
    EXPECT_EQ(FormatNameOf(unknown), "");
    EXPECT_EQ(ValidateImage(unknown), InvalidParameter);
    EXPECT_EQ(ImageFormatName(unknown, name), InvalidParameter);
    EXPECT_EQ(name, "");
}

TEST_F(ImageQueryTest, ContainerWithoutAnImageKeepsItsCachedFormatName) {
    int32_t id = 0;
    RegisterImage(id, nullptr, "TIFF", "", ImageKindMemory);
    EXPECT_EQ(FormatNameOf(id), "TIFF");
    int32_t width = 9;
    EXPECT_EQ(GetImageWidth(id, width), InvalidParameter);
    EXPECT_EQ(RawFormatNameOf(id), "");
    const int32_t unnamed = RegisterEmpty();
    EXPECT_EQ(FormatNameOf(unnamed), "");
}

TEST(RawFormatName, NamesOfTheGdiplusFormats) {
    EXPECT_EQ(RawFormatName(gdiplus::ImageFormatUndefined), "UNKNOWN");
    EXPECT_EQ(RawFormatName(gdiplus::ImageFormatMemoryBMP), "Memory BMP");
    EXPECT_EQ(RawFormatName(gdiplus::ImageFormatWMF), "WMF");
    EXPECT_EQ(RawFormatName(gdiplus::ImageFormatJPEG), "JPEG");
    EXPECT_EQ(RawFormatName(gdiplus::ImageFormatIcon), "ICON");
    EXPECT_EQ(RawFormatName(gdiplus::Guid{1, 2, 3, {}}), "Undefined");
}

TEST_F(ImageQueryTest, FormatNameOfAnImageFromAFileFormat) {
    const int32_t id = RegisterBitmap(1, 1, gdiplus::PixelFormat24bppRGB);
    NativeImageOf(id)->SetRawFormat(gdiplus::ImageFormatWMF);
    std::string name;
    EXPECT_EQ(ImageFormatName(id, name), OK);
    EXPECT_EQ(name, "WMF");
    EXPECT_EQ(FormatNameOf(id), "Memory BMP");  // cached when it was registered
}

class GreyscalePaletteTest : public EngineTest {
protected:
    int32_t EightBitWith(const gdiplus::ColorPalette& palette) {
        const int32_t id = RegisterBitmap(1, 1, gdiplus::PixelFormat8bppIndexed);
        EXPECT_EQ(SetImagePaletteUnmarked(id, palette), OK);
        return id;
    }

    static gdiplus::ColorPalette Grey(uint32_t count) {
        gdiplus::ColorPalette palette;
        palette.Count = count;
        for (uint32_t i = 0; i < count; ++i) palette.Entries[i] = gdiplus::MakeARGB(static_cast<uint8_t>(i * 7), i, i, i);
        return palette;
    }
};

TEST_F(GreyscalePaletteTest, ExactlyTheDiagonalOf256Entries) {
    EXPECT_TRUE(IsGreyscalePalette(EightBitWith(Grey(256))));  // alpha does not matter
    gdiplus::ColorPalette off = Grey(256);
    off.Entries[100] = gdiplus::MakeARGB(255, 100, 101, 100);
    EXPECT_FALSE(IsGreyscalePalette(EightBitWith(off)));
    EXPECT_FALSE(IsGreyscalePalette(EightBitWith(Grey(16))));
    EXPECT_FALSE(IsGreyscalePalette(RegisterBitmap(1, 1, gdiplus::PixelFormat24bppRGB)));
    EXPECT_FALSE(IsGreyscalePalette(RegisterEmpty()));
}

TEST_F(GreyscalePaletteTest, SettingThePaletteMarksTheImage) {
    const int32_t id = EightBitWith(Grey(256));
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
    int32_t size = 0;
    ASSERT_EQ(GetImagePaletteSize(id, size), OK);
    EXPECT_EQ(size, 8 + 4 * 256);
    ASSERT_EQ(SetImagePalette(id, Grey(2)), OK);
    EXPECT_TRUE(FindImageEntry(id)->IsModified);
    EXPECT_EQ(SetImagePalette(id + 1, Grey(2)), InvalidParameter);
}

}  // namespace
}  // namespace scanvelt
