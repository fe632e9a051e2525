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

// The ceiling in force: kMaxPixelBytes unless set lower (a fuzzing run, a
// host short of memory). A value above kMaxPixelBytes, or 0, restores it.
uint64_t MaxPixelBytes();
void SetMaxPixelBytes(uint64_t bytes);

// Whether width x height pixels of `bitsPerPixel` bits fit the ceiling and,
// when `fileBytes` is above 0, what a file of that size can plausibly hold:
// no compression used in image files packs a page more than
// kMaxDecodedBytesPerFileByte to one, and below kAlwaysAllowedBytes no file
// is judged by its size.
inline constexpr uint64_t kMaxDecodedBytesPerFileByte = 2048;
inline constexpr uint64_t kAlwaysAllowedBytes = 16ull << 20;
bool DecodedSizeFits(uint64_t width, uint64_t height, uint64_t bitsPerPixel, uint64_t fileBytes);

// Whether the image in `file`, read as `format`, fits the budget and what a
// file of its size can hold. Judged from the header alone. A header the
// library cannot read fails, where the library reads headers alone; where our
// own reader of the header cannot make it out, it passes (the decoder then
// refuses the file by itself).
bool FitsPixelBudget(int32_t format, InputFile& file);

}  // namespace mvimgplug
