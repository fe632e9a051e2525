#include "imaging/engine/filters/row_bands.h"

#include <algorithm>

#include "platform/gdiplus/parallel_work.h"

namespace scanvelt::filters {

int32_t RowBandCount(int32_t height, int64_t pixels) {
    if (height <= 1 || pixels < kPixelsWorthSharing) return 1;
    const auto workers = static_cast<int32_t>(gdiplus::MaxWorkers());
    return std::max(1, std::min({kMaxRowBandThreads, workers, height}));
}

void ForEachRowBand(int32_t height, int64_t pixels,
                    const std::function<void(int32_t band, int32_t firstRow, int32_t endRow)>& work) {
    const auto bands = static_cast<uint32_t>(RowBandCount(height, pixels));
    const auto rows = static_cast<uint32_t>(std::max(height, 0));
    gdiplus::RunParts(bands, [&](uint32_t band) {
        work(static_cast<int32_t>(band), static_cast<int32_t>(gdiplus::PartStart(rows, bands, band)),
             static_cast<int32_t>(gdiplus::PartStart(rows, bands, band + 1)));
    });
}

}  // namespace scanvelt::filters
