#pragma once
// Writing an image ID to a file through the GDI+ encoders of the thread's
// encoder table: BMP, GIF, PNG, JPEG and TIFF. Each saver acts on the image's
// current page, rewrites the resolution items from the resolution first, and
// returns the encoder's status, or UnknownImageFormat (writing nothing) when
// there is no encoder for the format. An unregistered ID reaches the encoder
// as no image: InvalidParameter.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/encoder_parameters.h"
#include "platform/gdiplus/guid.h"

namespace scanvelt {

// TIFF compressions as the controls pass them; the values are GDI+'s own.
enum TifCompression : int32_t {
    CompressionLZW = 2,
    CompressionCCITT3 = 3,
    CompressionCCITT4 = 4,
    CompressionRLE = 5,
    CompressionNone = 6,
};

// True for the compressions that only a 1-bit image can be written with.
bool IsBilevelCompression(int32_t compression);

// The encoder's class ID for a pattern such as "*.jpg"; nullopt when the
// thread's encoder table has none.
std::optional<gdiplus::Guid> EncoderFor(std::string_view pattern);

// Saves the image (its current page) with that encoder and parameters (none
// when null). InvalidParameter for an ID without an image.
MorvalenStatus SaveWithEncoder(int32_t imageId, const std::string& path, const gdiplus::Guid& encoderClsid,
                               const gdiplus::EncoderParameters* parameters);

MorvalenStatus SaveImageAsBmp(int32_t imageId, const std::string& path);
// The resolution items are rewritten even when there is no GIF encoder.
MorvalenStatus SaveImageAsGif(int32_t imageId, const std::string& path);
MorvalenStatus SaveImageAsPng(int32_t imageId, const std::string& path);
// Quality 0 to 100 (a value above 100 counts as 100, 0 as 1); a negative
// quality leaves it to the encoder. Without gdiplusOnly an 8-bit image with
// the 256-step grey palette goes through the codec plug-in when it can.
MorvalenStatus SaveImageAsJpeg(int32_t imageId, const std::string& path, int32_t quality, bool gdiplusOnly);
// Compression 0 sends none; colour depth 0 keeps the image's own (16 is sent
// as 24). The bilevel compressions are replaced by LZW unless the written
// image is 1 bit deep.
MorvalenStatus SaveImageAsTiff(int32_t imageId, const std::string& path, int32_t compression, int32_t colorDepth);

// The JPEG quality every route sends: 1 to 100.
int32_t ClampJpegQuality(int32_t quality);

}  // namespace scanvelt
