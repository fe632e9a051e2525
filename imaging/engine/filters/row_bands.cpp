#include "imaging/engine/filters/row_bands.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace scanvelt::filters {

int32_t RowBandCount(int32_t height, int64_t pixels) {
    if (height <= 1 || pixels < kPixelsWorthSharing) return 1;
    const auto cores = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min({kMaxRowBandThreads, cores, height});
}

void ForEachRowBand(int32_t height, int64_t pixels,
                    const std::function<void(int32_t band, int32_t firstRow, int32_t endRow)>& work) {
    const int32_t bands = RowBandCount(height, pixels);
    if (bands == 1) {
        work(0, 0, height);
        return;
    }
    const auto rowOf = [height, bands](int32_t band) {
        return static_cast<int32_t>(static_cast<int64_t>(height) * band / bands);
    };
    std::vector<std::exception_ptr> failures(static_cast<size_t>(bands));
    const auto run = [&](int32_t band) {
        try {
            work(band, rowOf(band), rowOf(band + 1));
        } catch (...) {
            failures[static_cast<size_t>(band)] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(bands - 1));
    try {
        for (int32_t band = 1; band < bands; ++band) threads.emplace_back(run, band);
    } catch (...) {
        // No thread to be had: the bands not started run here.
        for (int32_t band = static_cast<int32_t>(threads.size()) + 1; band < bands; ++band) run(band);
    }
    run(0);
    for (std::thread& thread : threads) thread.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure) std::rethrow_exception(failure);
    }
}

}  // namespace scanvelt::filters
