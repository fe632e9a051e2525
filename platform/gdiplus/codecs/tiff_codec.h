#pragma once
// TIFF through libtiff. Pages lie along FrameDimensionPage. Bilevel, grey,
// palette, RGB and RGBA pages of 1 to 16 bits per sample decode into the
// nearest pixel format (grey up to 8 bits and palettes stay indexed, 16-bit
// samples become 48 or 64 bits). CMYK of 1 to 16 bits and CIE or ICC
// L*a*b* of 8 or 16 bits, interleaved or in planes, are rendered by the
// conversions of tiff_colour_spaces.h into 24-bit RGB, or 32-bit ARGB when an
// extra sample is declared alpha. Any other page libtiff can render (YCbCr,
// RGB in separate planes, ...) decodes to 32-bit ARGB. Compressions are what
// libtiff has: none, LZW, PackBits, CCITT RLE/G3/G4, Deflate, JPEG. Each
// page's tags, with its EXIF and GPS sub-IFDs, become its property items.
//
// The encoder writes one page per AddFrame (Save with EncoderValueMultiFrame,
// then SaveAdd with EncoderValueFrameDimensionPage; SaveAdd with Flush or
// LastFrame, or the end of the image, completes the file). Per page:
// EncoderCompression (LZW 2, CCITT3 3, CCITT4 4, RLE 5 as CCITT RLE, None 6;
// LZW by default, a later page without it takes the first page's) and
// EncoderColorDepth (1, 4, 8, 24, 32, 48 or 64; the page's own depth
// without it). The CCITT compressions are for bilevel pages only: asked for
// explicitly on a deeper page they give InvalidParameter, inherited from the
// first page they give way to LZW.
#include <memory>

#include "platform/gdiplus/codec.h"

namespace gdiplus::codecs {

class TiffDecoder final : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const override;
};

class TiffEncoder final : public ImageEncoder {
public:
    std::unique_ptr<EncoderSession> StartSession() const override;
};

}  // namespace gdiplus::codecs
