#include "platform/gdiplus/codecs/builtin_codecs.h"

#include <gtest/gtest.h>

#include "platform/gdiplus/codec_registry.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus {
namespace {

using namespace codecs::testing_support;

class BuiltinCodecsTest : public CodecTest {};

TEST_F(BuiltinCodecsTest, EncodersAreListedAsGdiplusListsThem) {
    ASSERT_EQ(RegisterBuiltinCodecs(), Ok);  // a second call adds nothing
    const auto encoders = GetImageEncoders();
    std::vector<std::string> mimeTypes;
    for (const auto& e : encoders) {
        mimeTypes.push_back(e.MimeType);
        EXPECT_NE(e.Flags & ImageCodecFlagsEncoder, 0u);
        EXPECT_NE(e.Flags & ImageCodecFlagsBuiltin, 0u);
    }
    EXPECT_EQ(mimeTypes, (std::vector<std::string>{"image/bmp", "image/jpeg", "image/gif", "image/tiff", "image/png"}));
    EXPECT_EQ(encoders[1].FilenameExtension, "*.JPG;*.JPEG;*.JPE;*.JFIF");
    EXPECT_EQ(GetImageDecoders().size(), 6u);
}

TEST_F(BuiltinCodecsTest, EachFormatIsRecognisedByItsOwnDecoder) {
    auto bitmap = Pattern(5, 4, PixelFormat24bppRGB);
    for (const KnownCodec& codec : {kBmpCodec, kJpegCodec, kGifCodec, kTiffCodec, kPngCodec}) {
        SCOPED_TRACE(codec.mimeType);
        auto decoded = MustDecode(Encode(*bitmap, codec.clsid));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->GetRawFormat(), codec.formatId);
        EXPECT_EQ(decoded->GetWidth(), 5u);
    }
}

TEST_F(BuiltinCodecsTest, MemoryBitmapsSaveThroughTheBmpEncoder) {
    auto bitmap = Pattern(3, 3, PixelFormat32bppRGB);
    ASSERT_EQ(bitmap->GetRawFormat(), ImageFormatMemoryBMP);
    ScratchFolder folder;
    ASSERT_EQ(bitmap->Save(folder / "memory.bmp", kBmpCodec.clsid), Ok);
    std::unique_ptr<Image> loaded;
    ASSERT_EQ(Image::FromFile(folder / "memory.bmp", false, loaded), Ok);
    EXPECT_EQ(PixelsOf(AsBitmap(*loaded)), PixelsOf(*bitmap));
    EXPECT_EQ(folder.names(), std::vector<std::filesystem::path>{"memory.bmp"});
}

}  // namespace
}  // namespace gdiplus
