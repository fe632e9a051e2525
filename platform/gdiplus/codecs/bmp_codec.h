#pragma once
// BMP files, and packed DIBs in memory (the form a scanner or the clipboard
// hands a page over in).
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codec.h"

namespace gdiplus::codecs {

class BmpDecoder final : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const override;
};

// Writes the image in its own depth where BMP has it: indexed formats with
// their palette, 16-bit RGB as 555 or 565 bit fields, 24- and 32-bit RGB as
// they are; formats with alpha as 32-bit (16-bit ARGB1555 as 16-bit) bit
// fields with an alpha mask; 48-bit RGB as 24-bit and 16-bit grey as 8-bit
// grey, which is as deep as BMP goes.
Status EncodeBmp(const Image& image, const EncoderParameters& parameters, std::vector<std::uint8_t>& bytes);

// A packed DIB: header (of any size in use; its colour count and bit-field
// masks honoured), masks, colour table and pixels, in one block. The bitmap's
// raw format is ImageFormatMemoryBMP. InvalidParameter when the block is
// shorter than its header says or the header is not sound.
Status DecodePackedDib(std::span<const std::uint8_t> dib, std::unique_ptr<Bitmap>& bitmap);

}  // namespace gdiplus::codecs
