#pragma once
// The library allocates (and clears) a bitmap as large as a file's header
// says before it reads a single pixel, so a header of a few bytes can claim
// gigabytes. Before a load, the size the header claims is checked here
// against what the engine's bitmaps can hold at all.
#include <cstdint>

#include "plugins/mvimgplug/input_file.h"

namespace mvimgplug {

// Bytes of pixels one bitmap may take: the engine's bitmaps stop at 2^31 - 1.
inline constexpr uint64_t kMaxPixelBytes = 0x7FFF'FFFF;

// Whether the image in `file`, read as `format`, fits the budget. Judged from
// the header alone; a header that cannot be read passes (the decoder then
// refuses the file by itself).
bool FitsPixelBudget(int32_t format, InputFile& file);

// The same for page `index` (from 0) of a TIFF file.
bool TiffPageFitsPixelBudget(InputFile& file, int32_t index);

}  // namespace mvimgplug
