#pragma once
// The LZW coder of the GIF89a writer: variable-width codes (3 to 12 bits)
// packed least significant bit first into sub-blocks of at most 254 bytes,
// the string table an open-addressed hash of 5003 slots with a double-hashing
// step, cleared when its 4096 codes are used up.
#include <cstdint>
#include <span>
#include <vector>

namespace scanvelt {

// Palette indexes of 1, 4 or 8 bits (`depth`), rows `stride` bytes apart
// from the top; 4 bits hold the even pixel in the high half of a byte, 1 bit
// the leftmost pixel in the most significant bit.
struct GifIndexes {
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 8;
    int32_t stride = 0;
    std::span<const uint8_t> bytes;
    bool interlaced = false;
};

// The rows in the order they are written: top to bottom, or the four
// interlace passes (every 8th row from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1).
std::vector<int32_t> GifRowOrder(int32_t height, bool interlaced);

// Appends the image data sub-blocks (without the block terminator) of the
// pixels coded with `initBits` = minimum code size + 1.
void GifCompress(int32_t initBits, const GifIndexes& pixels, std::vector<uint8_t>& out);

}  // namespace scanvelt
