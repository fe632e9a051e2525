#pragma once
// PNG through libpng: every colour type and bit depth. Grey and palette
// images of up to 8 bits stay indexed (2-bit ones widened to 4 bits), with
// tRNS as palette alpha; 8-bit colour becomes 24- or 32-bit (a tRNS colour
// makes it 32-bit ARGB); 16-bit samples become 48- or 64-bit. pHYs gives
// the resolution.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codec.h"

namespace gdiplus::codecs {

class PngDecoder final : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const override;
};

// The PNG in `bytes` as a bitmap (raw format PNG). InvalidParameter for
// broken or truncated data.
Status DecodePng(std::span<const std::uint8_t> bytes, std::unique_ptr<Bitmap>& bitmap);

// Indexed formats as palette PNGs (alpha in tRNS), 16-bit grey as 16-bit
// grey, formats with alpha as RGBA, 48- and 64-bit formats with 16-bit
// samples, the rest as 8-bit RGB; the resolution as pHYs.
Status EncodePng(const Image& image, const EncoderParameters& parameters, std::vector<std::uint8_t>& bytes);

}  // namespace gdiplus::codecs
