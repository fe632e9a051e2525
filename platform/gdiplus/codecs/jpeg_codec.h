#pragma once
// JPEG through libjpeg-turbo. Grey images decode to 8-bit indexed with a grey
// palette, colour ones to 24-bit RGB, CMYK and YCCK ones (Adobe's inverted
// samples included) to 24-bit RGB. The resolution comes from the JFIF header,
// else from the EXIF block, whose tags become property items. A premature end
// of the data is refused rather than filled in.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdiplus/codec.h"

namespace gdiplus::codecs {

class JpegDecoder final : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const override;
};

// The quality of EncoderQuality (75 without it) clamped to 1..100.
int JpegQualityOf(const EncoderParameters& parameters);

// Grey images (16-bit grey, or 8-bit indexed with a 256-step grey palette)
// as one-component JPEGs, everything else as YCbCr; the resolution in the
// JFIF header; the property items (but for those describing pixel storage) as
// an EXIF block.
Status EncodeJpeg(const Image& image, const EncoderParameters& parameters, std::vector<std::uint8_t>& bytes);

}  // namespace gdiplus::codecs
