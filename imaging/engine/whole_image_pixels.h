#pragma once
// The whole of an image (its current page) read into a buffer of the
// caller's own in a pixel format of 1, 4 or 8 bits of palette indexes or 24
// bits of blue, green, red, rows from the top at the engine's padded stride
// (what the savers and the quantiser read).
#include <cstdint>
#include <vector>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

struct WholeImagePixels {
    int32_t stride = 0;
    std::vector<uint8_t> bytes;
};

// The status of the lock or unlock; EngineFailure or bad_alloc for a size
// that does not fit.
MorvalenStatus ReadWholeImage(int32_t imageId, int32_t width, int32_t height, int32_t depth,
                              WholeImagePixels& pixels);

}  // namespace scanvelt
