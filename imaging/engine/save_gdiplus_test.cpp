#include "imaging/engine/save_gdiplus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include <unistd.h>

#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/save_prepare.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;
using gdiplus::FindEncoderLong;

class SaverTest : public EngineTest {
protected:
    std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

    ScopedTestFolder folder_{"scanvelt_savers"};
};

TEST(EncoderResolutionFactorTest, RaisesInSinglePrecisionSteps) {
    EXPECT_FLOAT_EQ(*EncoderResolutionFactor(0.3f), 1.7f);
    EXPECT_FLOAT_EQ(*EncoderResolutionFactor(0.25f), 2.0f);
    EXPECT_FLOAT_EQ(*EncoderResolutionFactor(0.49f), 1.1f);
    EXPECT_FLOAT_EQ(*EncoderResolutionFactor(0.5f), 1.0f);
}

TEST(EncoderResolutionFactorTest, EndsForEveryResolution) {
    for (float dpi : {0.0f, -0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::denorm_min()}) {
        EXPECT_FALSE(EncoderResolutionFactor(dpi).has_value()) << dpi;
    }
    // Far past where steps of 0.1 stall in single precision.
    for (float dpi : {1e-3f, 1e-6f, 1e-20f}) {
        const std::optional<float> factor = EncoderResolutionFactor(dpi);
        ASSERT_TRUE(factor.has_value()) << dpi;
        EXPECT_GE(*factor * dpi, 0.5f) << dpi;
        EXPECT_LT(*factor * dpi, 0.51f) << dpi;
    }
}

TEST_F(SaverTest, PrepareForEncoderRaisesALowResolutionAndMarksTheImage) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    struct Case {
        float h, v, wantH, wantV;
    };
    for (const Case& c : {Case{0.3f, 0.3f, 0.51f, 0.51f}, Case{72.0f, 0.49f, 79.2f, 0.539f}, Case{0.5f, 0.5f, 0.5f, 0.5f}}) {
        ASSERT_EQ(SetImageResolution(id, c.h, c.v, true), OK);
        FindImageEntry(id)->IsModified = false;
        PrepareForEncoder(id);
        const auto [h, v] = ResolutionOf(id);
        EXPECT_NEAR(h, c.wantH, 1e-4) << c.h;
        EXPECT_NEAR(v, c.wantV, 1e-4) << c.v;
        EXPECT_EQ(FindImageEntry(id)->IsModified, c.h < 0.5f || c.v < 0.5f) << c.h;
    }
    PrepareForEncoder(0);  // an unregistered ID reads 0 dpi: nothing to raise, and it returns
}

TEST_F(SaverTest, TimeZoneOffsetGoesWithJpegAndTiffButStaysWithPngAndBmp) {
    ScopedFakeDecoder decoder;
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec), tiff(gdiplus::kTiffCodec), png(gdiplus::kPngCodec),
        bmp(gdiplus::kBmpCodec);
    const uint8_t offset[2] = {1, 0};
    struct Case {
        const char* name;
        MorvalenStatus (*save)(int32_t, const std::string&);
        bool keeps;
    };
    const Case cases[] = {
        {"a.jpg", [](int32_t id, const std::string& p) { return SaveImageAsJpeg(id, p, 80, true); }, false},
        {"a.tif", [](int32_t id, const std::string& p) { return SaveImageAsTiff(id, p, 0, 0); }, false},
        {"a.png", &SaveImageAsPng, true},
        {"a.bmp", &SaveImageAsBmp, true},
    };
    for (const Case& c : cases) {
        const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
        ASSERT_EQ(SetPropertyItemValues(id, kTagTimeZoneOffset, 3, offset, false), OK);
        EXPECT_EQ(c.save(id, PathOf(c.name)), OK) << c.name;
        int32_t size = 0;
        EXPECT_EQ(GetPropertyItemSize(id, kTagTimeZoneOffset, size) == OK, c.keeps) << c.name;
        ReleaseImage(id);
    }
}

TEST_F(SaverTest, JpegQualityIsSentWithinOneToHundred) {
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec);
    const int32_t id = RegisterBitmap(8, 8, gdiplus::PixelFormat24bppRGB);
    struct Case {
        int32_t quality;
        std::optional<uint32_t> sent;
    };
    for (const Case& c : {Case{150, 100}, Case{100, 100}, Case{75, 75}, Case{0, 1}, Case{-5, std::nullopt}}) {
        ASSERT_EQ(SaveImageAsJpeg(id, PathOf("q.jpg"), c.quality, true), OK) << c.quality;
        EXPECT_EQ(FindEncoderLong(jpeg.lastFrame(), gdiplus::EncoderQuality), c.sent) << c.quality;
    }
}

TEST_F(SaverTest, TiffCompressionAndDepthFollowTheWrittenDepth) {
    ScopedEncoderSpy tiff(gdiplus::kTiffCodec);
    const int32_t colour = RegisterBitmap(8, 8, gdiplus::PixelFormat24bppRGB);
    const int32_t bilevel = RegisterBitmap(8, 8, gdiplus::PixelFormat1bppIndexed);
    struct Case {
        int32_t image, compression, depth;
        std::optional<uint32_t> sentCompression, sentDepth;
    };
    const Case cases[] = {
        {colour, CompressionCCITT4, 0, CompressionLZW, std::nullopt},
        {bilevel, CompressionCCITT4, 0, CompressionCCITT4, std::nullopt},
        {colour, CompressionCCITT4, 1, CompressionCCITT4, 1},
        {colour, CompressionRLE, 24, CompressionLZW, 24},
        {colour, CompressionNone, 16, CompressionNone, 24},
        {colour, 0, 0, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SaveImageAsTiff(c.image, PathOf("c.tif"), c.compression, c.depth), OK);
        EXPECT_EQ(FindEncoderLong(tiff.lastFrame(), gdiplus::EncoderCompression), c.sentCompression) << c.compression;
        EXPECT_EQ(FindEncoderLong(tiff.lastFrame(), gdiplus::EncoderColorDepth), c.sentDepth) << c.depth;
    }
    EXPECT_EQ(tiff.log->frames.back().size(), 0u) << "no parameter at all: saved without a list";
}

TEST(SaverVersionTest, AnOlderGdiplusGetsLzwAndNoDepthBelow24Bits) {
    OnFreshThread([] {
        SetModuleVersionReader([](std::string_view) { return std::string("5.1.3102.0"); });
        ASSERT_TRUE(StartImaging());
        {
            ScopedEncoderSpy tiff(gdiplus::kTiffCodec);
            const int32_t colour = RegisterBitmap(8, 8, gdiplus::PixelFormat24bppRGB);
            const std::string path = (std::filesystem::temp_directory_path() /
                                      ("scanvelt_old_gdiplus_" + std::to_string(::getpid()) + ".tif"))
                                         .string();
            ASSERT_EQ(SaveImageAsTiff(colour, path, CompressionCCITT4, 1), OK);
            EXPECT_EQ(FindEncoderLong(tiff.lastFrame(), gdiplus::EncoderCompression), CompressionLZW);
            EXPECT_EQ(FindEncoderLong(tiff.lastFrame(), gdiplus::EncoderColorDepth), std::nullopt);
            std::filesystem::remove(path);
        }
        StopImaging();
    });
}

TEST_F(SaverTest, AnUnregisteredIdWritesNothing) {
    ScopedEncoderSpy bmp(gdiplus::kBmpCodec);
    EXPECT_EQ(SaveImageAsBmp(424242, PathOf("none.bmp")), InvalidParameter);
    EXPECT_FALSE(std::filesystem::exists(PathOf("none.bmp")));
}

TEST_F(SaverTest, MultiPageTiffChoosesTheCompressionPerPage) {
    ScopedEncoderSpy tiff(gdiplus::kTiffCodec);
    const int32_t first = RegisterBitmap(8, 8, gdiplus::PixelFormat1bppIndexed);
    const int32_t colour = RegisterBitmap(8, 8, gdiplus::PixelFormat24bppRGB);
    const int32_t bilevel = RegisterBitmap(8, 8, gdiplus::PixelFormat1bppIndexed);
    ASSERT_EQ(TiffMultiPageStart(first, PathOf("m.tif"), CompressionCCITT4), OK);
    ASSERT_EQ(TiffMultiPageAdd(first, colour), OK);
    ASSERT_EQ(TiffMultiPageAdd(first, bilevel), OK);
    ASSERT_EQ(tiff.log->frames.size(), 3u);
    const uint32_t expected[3][2] = {{gdiplus::EncoderValueMultiFrame, CompressionCCITT4},
                                     {gdiplus::EncoderValueFrameDimensionPage, CompressionLZW},
                                     {gdiplus::EncoderValueFrameDimensionPage, CompressionCCITT4}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(FindEncoderLong(tiff.log->frames[i], gdiplus::EncoderSaveFlag), expected[i][0]) << i;
        EXPECT_EQ(FindEncoderLong(tiff.log->frames[i], gdiplus::EncoderCompression), expected[i][1]) << i;
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("m.tif"))) << "the file is completed when the first image goes";
    EXPECT_EQ(ReleaseImage(first), OK);
    EXPECT_TRUE(std::filesystem::exists(PathOf("m.tif")));
    EXPECT_EQ(TiffMultiPageAdd(first, colour), InvalidParameter) << "no first image any more";
}

TEST_F(SaverTest, MultiPageTiffStartedWithAColourPageUsesLzw) {
    ScopedEncoderSpy tiff(gdiplus::kTiffCodec);
    const int32_t first = RegisterBitmap(8, 8, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(TiffMultiPageStart(first, PathOf("c.tif"), CompressionCCITT3), OK);
    EXPECT_EQ(FindImageEntry(first)->TiffCompression, CompressionLZW);
    EXPECT_EQ(FindEncoderLong(tiff.lastFrame(), gdiplus::EncoderCompression), CompressionLZW);
}

}  // namespace
}  // namespace scanvelt
