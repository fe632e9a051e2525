#pragma once
// Writing an image ID into memory through a GDI+ encoder: a new stream, a
// byte array or a string of one character per byte. The format is a file
// extension ("png", "jpg", "tif", ...); one without an encoder is written as
// BMP. The result holds exactly the encoded bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "platform/win/stream.h"

namespace scanvelt {

// Encodes the image into a new stream on global memory, positioned at its
// start, which replaces `stream` whatever the outcome (null only when no
// stream could be made: GenericError). The parameter is, for "jpg"/"jpeg",
// the quality (above 100 counts as 100, below 0 as 75); for "tif"/"tiff" the
// compression (a bilevel one becomes LZW for an image of 2 or more bits); 0
// and other formats send none.
MorvalenStatus SaveImageToStream(int32_t imageId, std::shared_ptr<win::Stream>& stream, const std::string& format,
                                 int32_t parameter);
// The same into `bytes`, whose size is `count`. A "JPG"/"JPEG" of an 8-bit
// image with the 256-step grey palette is written by the JPEG saver (so by
// the codec plug-in when it can) through a temporary file that is always
// deleted. GenericError when the encoder wrote nothing.
MorvalenStatus SaveImageToBytes(int32_t imageId, int32_t& count, std::vector<uint8_t>& bytes,
                                const std::string& format, int32_t parameter);
// The bytes as text, each byte one Windows-1252 character (UTF-8 here); the
// text is untouched on failure.
MorvalenStatus SaveImageToString(int32_t imageId, std::string& text, const std::string& format, int32_t parameter);

}  // namespace scanvelt
