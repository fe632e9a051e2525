#include "imaging/twain/pixel_conversion_members.h"

#include <gtest/gtest.h>

#include <functional>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/quantiser/quantize_to_palette.h"
#include "imaging/twain/colour_members.h"
#include "imaging/twain/file_output_members.h"
#include "imaging/engine/testing/graphics_test_support.h"
#include "imaging/twain/testing/image_members_support.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

using namespace testing_support;
using Member = std::function<MorvalenStatus(TwainControl&)>;

// A 32-bit page holding the given pixels in its first row, with MakePage's metadata.
int32_t PageOf(const std::vector<uint32_t>& firstRow, int32_t width = 8, int32_t height = 2) {
    const int32_t id = MakePage(width, height, gdiplus::PixelFormat32bppARGB);
    auto pixels = PixelsOf(id);
    std::copy(firstRow.begin(), firstRow.end(), pixels.begin());
    SetPixels(id, pixels);
    return id;
}

uint32_t Grey(uint32_t v) { return 0xFF000000u | (v << 16) | (v << 8) | v; }

TEST(PixelConversionMembers, OneBitKeepsWhiteAboveTheThreshold) {
    TwainControl control;
    const int32_t page = PageOf({0xFF7E7E7E, 0xFF7DFFFF, 0xFFFFFFFF, 0xFF000000, 0xFFFF7E7E, 0x00FFFFFF, 0xFFFEFFFF});
    control.setCurrentImage(page);
    ASSERT_EQ(ConvertTo1Bpp(control), OK);
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_EQ(control.currentImage(), page);
    EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat1bppIndexed);
    const auto pixels = PixelsOf(page);
    const uint32_t expected[] = {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(pixels[i], expected[i]) << i;
    ExpectPageMetadata(page);
}

TEST(PixelConversionMembers, BlackAndWhiteKeepsOnlyOpaqueWhite) {
    TwainControl control;
    const int32_t page = PageOf({0xFFFFFFFF, 0xFFFEFFFF, 0xFEFFFFFF, 0xFF7E7E7E});
    control.setCurrentImage(page);
    ASSERT_EQ(ConvertToBlackWhite(control), OK);
    EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat1bppIndexed);
    const auto pixels = PixelsOf(page);
    const uint32_t expected[] = {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000};
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(pixels[i], expected[i]) << i;
    ExpectPageMetadata(page);
}

TEST(PixelConversionMembers, GreyIsThePlainMeanOverAGreyPalette) {
    for (const char* version : {"", "5.2.6001.22319"}) {
        SCOPED_TRACE(version);
        auto body = [] {
            TwainControl control;
            const int32_t page = PageOf({0xFF0A141F, 0xFF000002, 0xFFFFFFFF, 0xFF000001, 0xFF102030}, 5, 3);
            control.setCurrentImage(page);
            ASSERT_EQ(ConvertTo8BppGrayScale(control), OK);
            EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat8bppIndexed);
            EXPECT_TRUE(IsGreyscalePalette(page));
            const auto pixels = PixelsOf(page);
            const uint32_t expected[] = {Grey(20), Grey(1), Grey(255), Grey(0), Grey(0x20)};
            for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(pixels[i], expected[i]) << i;
            ExpectPageMetadata(page);
        };
        if (*version == 0) body();
        else OnEngineWithGdiplusVersion(version, body);
    }
}

TEST(PixelConversionMembers, OwnConversionsWithoutAnImageFail) {
    const Member members[] = {ConvertTo1Bpp, ConvertTo4Bpp, ConvertTo8BppGrayScale, ConvertTo8Bpp, ConvertToBlackWhite,
                              ConvertToGray8};
    for (const auto& member : members) {
        TwainControl control;
        EXPECT_EQ(member(control), GenericError);
        EXPECT_EQ(control.GetStat(), GenericError);
    }
}

TEST(PixelConversionMembers, EightBitsIsTheQuantisersResult) {
    TwainControl control;
    const int32_t page = MakePage(40, 30);
    int32_t expected = 0, colours = 256;
    gdiplus::ColorPalette palette;
    ASSERT_EQ(QuantizeToPalette(page, expected, colours, palette, false, 0), OK);
    control.setCurrentImage(page);
    ASSERT_EQ(ConvertTo8Bpp(control), OK);
    EXPECT_EQ(control.currentImage(), page);
    EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat8bppIndexed);
    EXPECT_EQ(PixelsOf(page), PixelsOf(expected));
    ExpectPageMetadata(page);
}

TEST(PixelConversionMembers, FourBitsTakesTheSixteenColoursOfTheEightBitStep) {
    TwainControl control;
    const int32_t page = MakePage(40, 30);
    int32_t eightBit = 0, colours = 16;
    gdiplus::ColorPalette quantised;
    ASSERT_EQ(QuantizeToPalette(page, eightBit, colours, quantised, false, 0), OK);
    const auto eightBitPixels = PixelsOf(eightBit);
    control.setCurrentImage(page);
    ASSERT_EQ(ConvertTo4Bpp(control), OK);
    EXPECT_EQ(control.currentImage(), page);
    EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat4bppIndexed);
    gdiplus::ColorPalette palette;
    ASSERT_EQ(GetImagePalette(page, palette), OK);
    ASSERT_EQ(palette.Count, std::min<uint32_t>(quantised.Count, 16));
    for (uint32_t i = 0; i < palette.Count; ++i) EXPECT_EQ(palette.Entries[i], quantised.Entries[i]) << i;
    // Every colour of the 8-bit step is in the palette, so nothing moves.
    EXPECT_EQ(PixelsOf(page), eightBitPixels);
    ExpectPageMetadata(page);
}

TEST(PixelConversionMembers, FourBitCoreTakesTheNearestColourAndTheLowerIndexOnATie) {
    TwainControl control;
    const int32_t page = PageOf({0xFF000000, 0xFF0A0A0A, 0xFF808080, 0xFFFF0000, 0xFF7F0000, 0xFF000000, 0xFFF0F0F0});
    control.setCurrentImage(page);
    // Red 0x7F is as far from 0x00 as from 0xFE: the lower index wins.
    const std::vector<int32_t> colours = {argb(255, 0, 0, 0), argb(255, 254, 0, 0), argb(255, 128, 128, 128),
                                          argb(255, 255, 255, 255)};
    ASSERT_EQ(ConvertTo4BppCore(control, colours), OK);
    EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat4bppIndexed);
    const auto pixels = PixelsOf(page);
    const uint32_t expected[] = {0xFF000000, 0xFF000000, 0xFF808080, 0xFFFE0000, 0xFF000000, 0xFF000000, 0xFFFFFFFF};
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(pixels[i], expected[i]) << i;
}

TEST(PixelConversionMembers, EngineConversionsKeepTheIdAndTheMetadata) {
    struct Case {
        Member member;
        int32_t format;
    };
    const Case cases[] = {
        {ConvertTo16Bpp, gdiplus::PixelFormat16bppRGB555}, {ConvertTo24BppRGB, gdiplus::PixelFormat24bppRGB},
        {ConvertTo32Bpp, gdiplus::PixelFormat32bppARGB},   {ConvertTo48Bpp, gdiplus::PixelFormat48bppRGB},
        {ConvertTo64Bpp, gdiplus::PixelFormat64bppPARGB},
    };
    for (const auto& c : cases) {
        TwainControl control;
        const int32_t page = MakePage(9, 7, gdiplus::PixelFormat32bppRGB);
        int32_t expected = 0;
        ASSERT_EQ(ConvertPixelFormat(page, c.format, true, expected), OK);
        control.setCurrentImage(page);
        control.setLastStatus(Aborted);
        ASSERT_EQ(c.member(control), OK);
        EXPECT_EQ(control.GetStat(), Aborted);  // left alone
        EXPECT_EQ(PixelFormatOf(page), c.format);
        EXPECT_EQ(PixelsOf(page), PixelsOf(expected));
        ExpectPageMetadata(page);

        TwainControl empty;
        EXPECT_EQ(c.member(empty), InvalidParameter);
    }
}

TEST(PixelConversionMembers, ResizeKeepsThePhysicalSizeTheItemsAndTheId) {
    TwainControl control;
    const int32_t page = MakePage(120, 80);
    control.setCurrentImage(page);
    ASSERT_EQ(ResizeImage(control, 60, 20), OK);
    EXPECT_EQ(control.currentImage(), page);
    EXPECT_EQ(SizeOf(page), std::make_pair(60, 20));
    EXPECT_EQ(PixelFormatOf(page), gdiplus::PixelFormat24bppRGB);
    ExpectPageMetadata(page, 150.0f, 50.0f);
}

TEST(PixelConversionMembers, ResizeOfAPageWithoutResolutionCountsNinetySixDpi) {
    TwainControl control;
    const int32_t page = RegisterBitmap(100, 100, gdiplus::PixelFormat24bppRGB);
    // The bitmap API refuses 0 dpi; an image decoded without one reports it.
    NativeBitmapOf(page)->SetResolution(0.0f, 0.0f);
    control.setCurrentImage(page);
    ASSERT_EQ(ResizeImage(control, 50, 200), OK);
    auto [h, v] = ResolutionOf(page);
    EXPECT_FLOAT_EQ(h, 48.0f);
    EXPECT_FLOAT_EQ(v, 192.0f);
}

TEST(PixelConversionMembers, AFailedResizeLeavesTheImageAsItWas) {
    TwainControl control;
    const int32_t page = MakePage(30, 20);
    const auto before = PixelsOf(page);
    control.setCurrentImage(page);
    EXPECT_NE(ResizeImage(control, 0, 10), OK);
    EXPECT_NE(control.GetStat(), OK);
    EXPECT_EQ(control.currentImage(), page);
    EXPECT_EQ(SizeOf(page), std::make_pair(30, 20));
    EXPECT_EQ(PixelsOf(page), before);
    ExpectPageMetadata(page);

    TwainControl empty;
    EXPECT_EQ(ResizeImage(empty, 10, 10), GenericError);
}

TEST(PixelConversionMembers, ResizeOnOldGdiplusBringsIndexedPagesBackToTheirDepth) {
    OnEngineWithGdiplusVersion("5.2.6001.22319", [] {
        struct Case {
            Member toDepth;
            int32_t format;
            bool grey;
        };
        const Case cases[] = {{ConvertTo1Bpp, gdiplus::PixelFormat1bppIndexed, false},
                              {ConvertTo8BppGrayScale, gdiplus::PixelFormat8bppIndexed, true},
                              {ConvertTo4Bpp, gdiplus::PixelFormat4bppIndexed, false}};
        for (const auto& c : cases) {
            TwainControl control;
            const int32_t page = MakePage(64, 48);
            control.setCurrentImage(page);
            ASSERT_EQ(c.toDepth(control), OK);
            ASSERT_EQ(ResizeImage(control, 32, 24), OK);
            EXPECT_EQ(control.currentImage(), page);
            EXPECT_EQ(PixelFormatOf(page), c.format);
            EXPECT_EQ(SizeOf(page), std::make_pair(32, 24));
            if (c.grey) EXPECT_TRUE(IsGreyscalePalette(page));
            ExpectPageMetadata(page, 150.0f, 100.0f);
        }
    });
}

}  // namespace
}  // namespace scanvelt
