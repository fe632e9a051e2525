#include "platform/gdiplus/parallel_work.h"

#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
}  // namespace gdiplus
