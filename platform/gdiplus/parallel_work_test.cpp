#include "platform/gdiplus/parallel_work.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <thread>
#include <new>
#include <vector>

namespace gdiplus {
namespace {

TEST(ParallelWorkTest, PartsCoverEveryItemOnceAndFailuresComeBack) {
    for (std::uint32_t parts : {1u, 3u, kMaxWorkers}) {
        std::vector<int> seen(1000, 0);
        RunParts(parts, [&](std::uint32_t part) {
            for (std::uint32_t i = PartStart(1000, parts, part); i < PartStart(1000, parts, part + 1); ++i) ++seen[i];
        });
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 1000) << parts;
    }
    EXPECT_THROW(RunParts(4, [](std::uint32_t part) { if (part == 2) throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_EQ(PartsFor(0), 1u);
    EXPECT_EQ(PartsFor(std::uint64_t{1} << 40), MaxWorkers());
}

TEST(ParallelWorkTest, CountsOnlyTheCpusTheProcessMayUse) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    int first = -1;
    for (int cpu = 0; cpu < CPU_SETSIZE && first < 0; ++cpu)
        if (CPU_ISSET(cpu, &before)) first = cpu;
    ASSERT_GE(first, 0);
    // Pinned on a thread of its own, so the test binary's other threads keep their CPUs.
    std::uint32_t pinned = 0;
    std::thread([&] {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(first, &one);
        if (sched_setaffinity(0, sizeof one, &one) == 0) pinned = CpusThisProcessMayUse();
    }).join();
    EXPECT_EQ(pinned, 1u);
    EXPECT_EQ(CpusThisProcessMayUse(), static_cast<std::uint32_t>(CPU_COUNT(&before)));
}

}  // namespace
}  // namespace gdiplus
