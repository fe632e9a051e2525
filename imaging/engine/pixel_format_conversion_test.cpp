#include "imaging/engine/pixel_format_conversion.h"

#include <gtest/gtest.h>

#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::EngineTest;
using testing_support::PixelsOf;
using testing_support::RegisterBitmap;
using testing_support::RegisterEmpty;
using testing_support::RegisteredImageCount;
using testing_support::SetPixels;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

class ConvertPixelFormatTest : public EngineTest {
protected:
    // A 1-bit 4 x 2 image with a pattern, 72.5 x 300 dpi and a maker item.
    int32_t MakeOneBitImage() {
        const int32_t id = RegisterBitmap(4, 2, gdiplus::PixelFormat1bppIndexed);
        SetPixels(id, pattern_);
        EXPECT_EQ(SetImageResolution(id, 72.5f, 300.0f, true), OK);
        EXPECT_EQ(SetPropertyItemAscii(id, 271, "Maker", false), OK);
        return id;
    }

    void ExpectKeptResolutionAndItems(int32_t id) {
        EXPECT_EQ(testing_support::ResolutionOf(id), std::make_pair(72.5f, 300.0f));
        int32_t count = 0;
        ASSERT_EQ(GetImagePropertyCount(id, count), OK);
        EXPECT_EQ(count, 3);
        std::string text;
        ASSERT_EQ(ExifTagValueText(id, 1, text), OK);
        EXPECT_EQ(text, " 72.5");
        const auto maker = PropertyItemById(id, 271);
        ASSERT_TRUE(maker.has_value());
        std::vector<uint8_t> bytes;
        maker->GetDataB(bytes);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Maker");
    }

    const std::vector<uint32_t> pattern_{kBlack, kWhite, kWhite, kBlack, kWhite, kBlack, kBlack, kWhite};
};

TEST_F(ConvertPixelFormatTest, InPlaceKeepsTheIdResolutionAndPropertyItems) {
    const int32_t id = MakeOneBitImage();
    int32_t untouched = -1;
    ASSERT_EQ(ConvertPixelFormat(id, gdiplus::PixelFormat24bppRGB, false, untouched), OK);
    EXPECT_EQ(untouched, -1);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(ImageKindOf(id), ImageKindOwnedBuffer);
    EXPECT_EQ(PixelsOf(id), pattern_);
    ExpectKeptResolutionAndItems(id);
    EXPECT_EQ(RegisteredImageCount(), 1);  // the old image is gone, no copy is left over
}

TEST_F(ConvertPixelFormatTest, ToANewIdLeavesTheImageAlone) {
    const int32_t id = MakeOneBitImage();
    int32_t copy = 0;
    ASSERT_EQ(ConvertPixelFormat(id, gdiplus::PixelFormat24bppRGB, true, copy), OK);
    EXPECT_NE(copy, id);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat1bppIndexed);
    EXPECT_EQ(PixelFormatOf(copy), gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(PixelsOf(copy), pattern_);
    ExpectKeptResolutionAndItems(copy);
}

TEST_F(ConvertPixelFormatTest, FailuresLeaveTheImageAndNoNewId) {
    const int32_t id = MakeOneBitImage();
    const int32_t container = RegisterEmpty();
    struct Case {
        int32_t image;
        int32_t format;
        MorvalenStatus status;
    };
    for (const Case& c : {Case{id + 1 == container ? id + 2 : id + 1, gdiplus::PixelFormat24bppRGB, InvalidParameter},
                          Case{id, 0, InvalidParameter}, Case{id, gdiplus::PixelFormat32bppCMYK, InvalidParameter},
                          Case{container, gdiplus::PixelFormat24bppRGB, GenericError}}) {
        int32_t newId = -1;
        EXPECT_EQ(ConvertPixelFormat(c.image, c.format, false, newId), c.status) << std::hex << c.format;
        EXPECT_EQ(newId, -1);
        EXPECT_EQ(RegisteredImageCount(), 2);
        EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat1bppIndexed);
    }
}

TEST_F(ConvertPixelFormatTest, AnIndexedCopyOfAnIndexedImageKeepsItsColours) {
    const int32_t id = RegisterBitmap(3, 1, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette palette;
    palette.Count = 3;
    palette.Entries[0] = 0xFF102030;
    palette.Entries[1] = 0xFFC0A080;
    palette.Entries[2] = 0xFF00FF00;
    ASSERT_EQ(SetImagePalette(id, palette), OK);
    SetPixels(id, {0xFF00FF00, 0xFF102030, 0xFFC0A080});
    const std::vector<uint32_t> before = PixelsOf(id);
    ASSERT_EQ(before, (std::vector<uint32_t>{0xFF00FF00, 0xFF102030, 0xFFC0A080}));

    int32_t unused = 0;
    ASSERT_EQ(ConvertPixelFormat(id, gdiplus::PixelFormat4bppIndexed, false, unused), OK);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat4bppIndexed);
    EXPECT_EQ(PixelsOf(id), before);
}

TEST_F(ConvertPixelFormatTest, ArgbInPlace) {
    const int32_t id = MakeOneBitImage();
    ASSERT_EQ(ConvertToArgbInPlace(id), OK);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat32bppARGB);
    EXPECT_EQ(PixelsOf(id), pattern_);
}

using CopyImageToOwnBufferTest = ConvertPixelFormatTest;

TEST_F(CopyImageToOwnBufferTest, SameFormatPaletteResolutionAndItems) {
    const int32_t id = MakeOneBitImage();
    gdiplus::ColorPalette palette;
    palette.Count = 2;
    palette.Entries[0] = 0xFF000080;
    palette.Entries[1] = 0xFFFFFF00;
    ASSERT_EQ(SetImagePalette(id, palette), OK);
    int32_t copy = 0;
    ASSERT_EQ(CopyImageToOwnBuffer(id, copy), OK);
    EXPECT_EQ(PixelFormatOf(copy), gdiplus::PixelFormat1bppIndexed);
    EXPECT_EQ(ImageKindOf(copy), ImageKindOwnedBuffer);
    EXPECT_EQ(PixelsOf(copy), PixelsOf(id));
    gdiplus::ColorPalette copied;
    ASSERT_EQ(GetImagePalette(copy, copied), OK);
    EXPECT_EQ(copied, palette);
    ExpectKeptResolutionAndItems(copy);
}

}  // namespace
}  // namespace scanvelt
