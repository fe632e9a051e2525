#pragma once
// Work that splits into independent parts (bands of rows, runs of strips)
// done on several threads. The number of threads is capped, and a job too
// small to pay for a thread runs on the caller's thread alone.
#include <cstdint>
#include <functional>

namespace gdiplus {

// The CPUs this process may run on (its affinity mask), which can be fewer
// than the machine's cores.
std::uint32_t CpusThisProcessMayUse();

// The most threads one job uses: CpusThisProcessMayUse() when the process
// starts its first job, at most kMaxWorkers.
inline constexpr std::uint32_t kMaxWorkers = 8;
std::uint32_t MaxWorkers();

// How many parts a job of `bytes` bytes of pixels is worth splitting into:
// each part gets at least `minBytesPerPart` (default a megabyte), and no
// more parts than MaxWorkers().
std::uint32_t PartsFor(std::uint64_t bytes, std::uint64_t minBytesPerPart = std::uint64_t{1} << 20);

// Calls work(part) for every part in [0, parts), each on a thread of its own
// (the caller's thread takes part 0), and returns when all are done. An
// exception from a part is rethrown here once every part has ended.
void RunParts(std::uint32_t parts, const std::function<void(std::uint32_t part)>& work);

// The first item of `part` when `count` items are split into `parts` runs
// as even as can be; part `parts` gives `count`.
inline std::uint32_t PartStart(std::uint32_t count, std::uint32_t parts, std::uint32_t part) {
    return static_cast<std::uint32_t>(std::uint64_t{count} * part / parts);
}

}  // namespace gdiplus
