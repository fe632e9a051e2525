#include "platform/gdiplus/codec_registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gdiplus {
namespace {

class NullEncoder : public ImageEncoder {
public:
    std::unique_ptr<EncoderSession> StartSession() const override { return nullptr; }
};

class NullDecoder : public ImageDecoder {
public:
    Status Decode(const EncodedBytes&, bool, std::unique_ptr<Image>&) const override { return NotImplemented; }
};

ImageCodecInfo WithSignature(const KnownCodec& codec, std::vector<std::uint8_t> pattern,
                             std::vector<std::uint8_t> mask) {
    ImageCodecInfo info = CodecInfoFor(codec, ImageCodecFlagsBuiltin | ImageCodecFlagsSupportBitmap);
    info.SigPatterns.push_back(std::move(pattern));
    info.SigMasks.push_back(std::move(mask));
    return info;
}

TEST(CodecRegistry, NoCodecIsRegisteredYet) {
    EXPECT_TRUE(GetImageEncoders().empty());
    EXPECT_TRUE(GetImageDecoders().empty());
}

TEST(CodecRegistry, ListsEncodersInTheOrderTheyWereAdded) {
    ScopedCodecRegistration registration;
    auto encoder = std::make_shared<NullEncoder>();
    ASSERT_EQ(registration.AddEncoder(CodecInfoFor(kTiffCodec, ImageCodecFlagsBuiltin), encoder), Ok);
    ASSERT_EQ(registration.AddEncoder(CodecInfoFor(kJpegCodec, ImageCodecFlagsBuiltin), encoder), Ok);
    const auto encoders = GetImageEncoders();
    ASSERT_EQ(encoders.size(), 2u);
    EXPECT_EQ(encoders[0].Clsid, kTiffCodec.clsid);
    EXPECT_EQ(encoders[0].FormatID, ImageFormatTIFF);
    EXPECT_EQ(encoders[0].FilenameExtension, "*.TIF;*.TIFF");
    EXPECT_EQ(encoders[0].MimeType, "image/tiff");
    EXPECT_EQ(encoders[1].FilenameExtension, "*.JPG;*.JPEG;*.JPE;*.JFIF");
    EXPECT_EQ(encoders[1].Flags, static_cast<std::uint32_t>(ImageCodecFlagsBuiltin | ImageCodecFlagsEncoder));
    EXPECT_EQ(CodecRegistry::Global().FindEncoder(kJpegCodec.clsid), encoder);
    EXPECT_EQ(CodecRegistry::Global().FindEncoder(kPngCodec.clsid), nullptr);
    EXPECT_TRUE(GetImageDecoders().empty());
}

TEST(CodecRegistry, ScopedRegistrationRemovesWhatItAdded) {
    {
        ScopedCodecRegistration registration;
        ASSERT_EQ(registration.AddEncoder(CodecInfoFor(kPngCodec, 0), std::make_shared<NullEncoder>()), Ok);
        ASSERT_EQ(registration.AddDecoder(WithSignature(kPngCodec, {0x89, 'P'}, {0xFF, 0xFF}),
                                          std::make_shared<NullDecoder>()),
                  Ok);
        EXPECT_EQ(GetImageEncoders().size(), 1u);
        EXPECT_EQ(GetImageDecoders().size(), 1u);
    }
    EXPECT_TRUE(GetImageEncoders().empty());
    EXPECT_TRUE(GetImageDecoders().empty());
}

TEST(CodecRegistry, RefusesBrokenRegistrations) {
    ScopedCodecRegistration registration;
    auto encoder = std::make_shared<NullEncoder>();
    ASSERT_EQ(registration.AddEncoder(CodecInfoFor(kBmpCodec, 0), encoder), Ok);
    EXPECT_EQ(registration.AddEncoder(CodecInfoFor(kBmpCodec, 0), encoder), InvalidParameter);  // same class ID
    EXPECT_EQ(registration.AddEncoder(CodecInfoFor(kGifCodec, 0), nullptr), InvalidParameter);
    ImageCodecInfo anonymous = CodecInfoFor(kGifCodec, 0);
    anonymous.Clsid = Guid{};
    EXPECT_EQ(registration.AddEncoder(anonymous, encoder), InvalidParameter);
    auto decoder = std::make_shared<NullDecoder>();
    EXPECT_EQ(registration.AddDecoder(WithSignature(kGifCodec, {'G', 'I', 'F'}, {0xFF}), decoder), InvalidParameter);
    EXPECT_EQ(registration.AddDecoder(WithSignature(kGifCodec, {}, {}), decoder), InvalidParameter);
    EXPECT_EQ(GetImageEncoders().size(), 1u);
    EXPECT_TRUE(GetImageDecoders().empty());
}

TEST(CodecRegistry, FindsTheDecoderWhoseSignatureMatches) {
    ScopedCodecRegistration registration;
    auto gif = std::make_shared<NullDecoder>();
    auto bmp = std::make_shared<NullDecoder>();
    ASSERT_EQ(registration.AddDecoder(WithSignature(kGifCodec, {'G', 'I', 'F', '8'}, {0xFF, 0xFF, 0xFF, 0xFF}), gif),
              Ok);
    // The mask lets a lower-case second letter match as well.
    ASSERT_EQ(registration.AddDecoder(WithSignature(kBmpCodec, {'B', 'M'}, {0xFF, 0xDF}), bmp), Ok);
    const std::uint8_t gifHead[] = {'G', 'I', 'F', '8', '9', 'a'};
    const std::uint8_t bmpHead[] = {'B', 'm', 0, 0};
    const std::uint8_t shortHead[] = {'G', 'I', 'F'};
    const std::uint8_t otherHead[] = {'P', 'K', 3, 4};
    auto& registry = CodecRegistry::Global();
    EXPECT_EQ(registry.FindDecoder(gifHead), gif);
    EXPECT_EQ(registry.FindDecoder(bmpHead), bmp);
    EXPECT_EQ(registry.FindDecoder(shortHead), nullptr);
    EXPECT_EQ(registry.FindDecoder(otherHead), nullptr);
    EXPECT_EQ(GetImageDecoders()[1].Flags & ImageCodecFlagsDecoder, static_cast<std::uint32_t>(ImageCodecFlagsDecoder));
}

TEST(CodecRegistry, KnownCodecsHaveDistinctIds) {
    for (std::size_t i = 0; i < kKnownCodecs.size(); ++i)
        for (std::size_t j = i + 1; j < kKnownCodecs.size(); ++j) {
            EXPECT_NE(kKnownCodecs[i].clsid, kKnownCodecs[j].clsid);
            EXPECT_NE(kKnownCodecs[i].formatId, kKnownCodecs[j].formatId);
        }
    EXPECT_EQ(kJpegCodec.clsid.Data1, 0x557cf401u);
    EXPECT_EQ(ImageFormatPNG.Data1, 0xb96b3cafu);
}

TEST(EncoderParameters, LongValuesRoundTrip) {
    const EncoderParameters parameters = {EncoderParameter::Long(EncoderQuality, 85),
                                          EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    EXPECT_EQ(FindEncoderLong(parameters, EncoderQuality), 85u);
    EXPECT_EQ(FindEncoderLong(parameters, EncoderSaveFlag), 18u);
    EXPECT_EQ(FindEncoderLong(parameters, EncoderCompression), std::nullopt);
    EncoderParameter bytes = EncoderParameter::Long(EncoderColorDepth, 24);
    bytes.Type = EncoderParameterValueTypeByte;
    EXPECT_EQ(bytes.LongValue(), std::nullopt);
    EncoderParameter truncated = EncoderParameter::Long(EncoderColorDepth, 24);
    truncated.Value.resize(3);
    EXPECT_EQ(truncated.LongValue(), std::nullopt);
}

}  // namespace
}  // namespace gdiplus
