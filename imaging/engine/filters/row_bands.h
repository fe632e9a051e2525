#pragma once
// Work on independent rows shared among a few threads: a page of a few
// million pixels takes a few milliseconds a pass, which a handful of cores
// shorten; a small rectangle stays on the caller's thread, where starting
// threads would cost more than the work.
#include <cstdint>
#include <functional>

namespace scanvelt::filters {

// At most this many threads work on one call, the caller's included.
inline constexpr int32_t kMaxRowBandThreads = 4;
// Rectangles below this many pixels are not shared.
inline constexpr int64_t kPixelsWorthSharing = int64_t{1} << 20;

// The number of bands ForEachRowBand cuts `height` rows of `pixels` pixels into.
int32_t RowBandCount(int32_t height, int64_t pixels);

// Calls work(band, firstRow, endRow) once for each band of consecutive rows
// (together every row from 0 to height, each once), on threads of their own
// but the first (gdiplus::RunParts). Returns when every band has ended; an
// exception of a band is rethrown then.
void ForEachRowBand(int32_t height, int64_t pixels,
                    const std::function<void(int32_t band, int32_t firstRow, int32_t endRow)>& work);

}  // namespace scanvelt::filters
