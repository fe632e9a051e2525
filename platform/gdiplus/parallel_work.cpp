#include "platform/gdiplus/parallel_work.h"

#include <sched.h>

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace gdiplus {

std::uint32_t CpusThisProcessMayUse() {
    // A process pinned to two cores of a larger machine (taskset, a container's
    // cpuset) runs best with two threads, not one a core of the machine.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        const int count = CPU_COUNT(&allowed);
        if (count > 0) return static_cast<std::uint32_t>(count);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

std::uint32_t MaxWorkers() {
    static const std::uint32_t workers = std::clamp<std::uint32_t>(CpusThisProcessMayUse(), 1, kMaxWorkers);
    return workers;
}

std::uint32_t PartsFor(std::uint64_t bytes, std::uint64_t minBytesPerPart) {
    const std::uint64_t parts = minBytesPerPart == 0 ? MaxWorkers() : bytes / minBytesPerPart;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(parts, 1, MaxWorkers()));
}

void RunParts(std::uint32_t parts, const std::function<void(std::uint32_t part)>& work) {
    if (parts == 0) return;
    std::vector<std::exception_ptr> failures(parts);
    auto guarded = [&](std::uint32_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(parts - 1);
    for (std::uint32_t part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(guarded, part);
        } catch (const std::system_error&) {
            guarded(part);  // no thread to be had: the caller does the part itself
        }
    }
    guarded(0);
    for (std::thread& thread : threads) thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace gdiplus
