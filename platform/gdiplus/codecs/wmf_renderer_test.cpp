#include "platform/gdiplus/codecs/wmf_renderer.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/wmf_test_support.h"

namespace gdiplus::codecs {
namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

ARGB pixel(Bitmap& bitmap, int x, int y) {
    ARGB color = 0;
    EXPECT_EQ(bitmap.GetPixel(x, y, color), Ok);
    return color;
}

class WmfRenderer : public testing_support::CodecTest {};

// Two inches by one, the left inch red.
const std::string kRedLeftHalf = wmf_testing::placeableWmf(200, 100, 100, {0, 0, 100, 100, 0x000000FF});

TEST_F(WmfRenderer, APlaceableMetafileHasTheSizeOfItsFrame) {
    const struct {
        double dpi;
        std::int32_t width, height;
    } cases[] = {{96, 192, 96}, {72, 144, 72}, {300, 600, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        std::int32_t width = 0, height = 0;
        ASSERT_TRUE(WmfPixelSize(bytesOf(kRedLeftHalf), c.dpi, width, height));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

// Two inches by one, the left inch white: drawn white stays opaque over nothing.
const std::string kWhiteLeftHalf = wmf_testing::placeableWmf(200, 100, 100, {0, 0, 100, 100, 0x00FFFFFF});

TEST_F(WmfRenderer, TheFrameIsScaledIntoTheAskedSizeOverTheBackground) {
    const struct {
        const std::string& wmf;
        std::int32_t width, height;
        WmfBackground background;
        ARGB inside;  // the rectangle
        ARGB beyond;  // the frame where the metafile draws nothing
    } cases[] = {{kRedLeftHalf, 192, 96, WmfBackground::OpaqueWhite, 0xFFFF0000u, 0xFFFFFFFFu},
                 {kRedLeftHalf, 384, 192, WmfBackground::Transparent, 0xFFFF0000u, 0x00000000u},
                 {kRedLeftHalf, 96, 48, WmfBackground::OpaqueWhite, 0xFFFF0000u, 0xFFFFFFFFu},
                 {kRedLeftHalf, 192, 96, WmfBackground::Transparent, 0xFFFF0000u, 0x00000000u},
                 {kWhiteLeftHalf, 192, 96, WmfBackground::Transparent, 0xFFFFFFFFu, 0x00000000u}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " background " << static_cast<int>(c.background) << " inside "
                                        << std::hex << c.inside);
        std::unique_ptr<Bitmap> bitmap;
        ASSERT_EQ(RenderWmf(bytesOf(c.wmf), c.width, c.height, c.background, bitmap), Ok);
        ASSERT_EQ(bitmap->GetWidth(), static_cast<std::uint32_t>(c.width));
        ASSERT_EQ(bitmap->GetHeight(), static_cast<std::uint32_t>(c.height));
        EXPECT_EQ(bitmap->GetPixelFormat(), PixelFormat32bppARGB);
        EXPECT_EQ(pixel(*bitmap, c.width / 4, c.height / 2), c.inside) << "inside the rectangle, opaque";
        EXPECT_EQ(pixel(*bitmap, c.width * 3 / 4, c.height / 2), c.beyond) << "the frame beyond it";
        EXPECT_EQ(pixel(*bitmap, c.width - 1, 0), c.beyond) << "the far corner";
    }
}

TEST_F(WmfRenderer, BytesThatAreNoMetafileAndSizesOutOfBoundsAreRefused) {
    std::unique_ptr<Bitmap> bitmap;
    const std::string emf = std::string("\x01\0\0\0", 4) + std::string(36, '\0') + " EMF" + std::string(60, '\0');
    for (const std::string& bad : {std::string(), std::string("not a metafile at all"), emf,
                                   kRedLeftHalf.substr(0, 30)}) {
        SCOPED_TRACE(bad.size());
        std::int32_t width = 0, height = 0;
        EXPECT_FALSE(WmfPixelSize(bytesOf(bad), 96, width, height));
        EXPECT_NE(RenderWmf(bytesOf(bad), 10, 10, WmfBackground::Transparent, bitmap), Ok);
    }
    EXPECT_EQ(RenderWmf(bytesOf(kRedLeftHalf), 0, 10, WmfBackground::OpaqueWhite, bitmap), InvalidParameter);
    EXPECT_EQ(RenderWmf(bytesOf(kRedLeftHalf), 20000, 20000, WmfBackground::OpaqueWhite, bitmap), InvalidParameter);
    EXPECT_EQ(bitmap, nullptr);
}

// Every cut of a metafile is read as far as it goes, or refused; never a crash.
TEST_F(WmfRenderer, CutMetafilesNeverCrash) {
    for (size_t keep = 1; keep < kRedLeftHalf.size(); keep += 3) {
        std::unique_ptr<Bitmap> bitmap;
        RenderWmf(bytesOf(kRedLeftHalf.substr(0, keep)), 20, 10, WmfBackground::Transparent, bitmap);
    }
}

}  // namespace
}  // namespace gdiplus::codecs
