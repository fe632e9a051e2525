#pragma once
// Compression of the writer's streams: zlib (FlateDecode) for page content
// and palette-image samples, CCITT Group 4 (CCITTFaxDecode, K -1) for 1-bit
// samples. A failed compression never fails a document: the caller writes
// the stream raw, without a filter.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scanvelt {

// Where Flate data comes from, fixed when a writer is made: zlib, linked
// into the library, is always there; None writes every stream uncompressed.
enum class CompressorKind : int32_t { None = 0, ZlibLibrary = 1 };

// A zlib stream of `source` at `level` (0-9) into `out`; false, with `out`
// emptied, for an empty source or when there is no compressor.
bool CompressBytes(CompressorKind kind, std::span<const uint8_t> source, std::vector<uint8_t>& out, int16_t level);
// CompressBytes of the text's bytes at level 9 (page content).
bool CompressText(CompressorKind kind, std::string_view text, std::vector<uint8_t>& out);

// CCITT Group 4 code of `height` rows of `width` pixels, `stride` bytes
// apart, set bits black; the coder is the codec plug-in's. False, with `out`
// emptied and `failure` describing why, when the plug-in is missing or
// refuses the rows.
bool CompressCcittG4(std::span<const uint8_t> rows, std::vector<uint8_t>& out, int32_t width, int32_t height,
                     int32_t stride, std::string& failure);

}  // namespace scanvelt
