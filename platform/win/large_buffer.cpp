#include "platform/win/large_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace win {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Below this a block is an ordinary allocation.
constexpr size_t kLargeBlock = size_t{4} << 20;

}  // namespace

void LargeBufferFree::operator()(uint8_t* bytes) const { std::free(bytes); }

LargeBuffer AllocateZeroed(size_t count) {
    count = std::max<size_t>(count, 1);
    if (count < kLargeBlock) return LargeBuffer(static_cast<uint8_t*>(std::calloc(count, 1)));
    if (count > SIZE_MAX - kHugePage) return LargeBuffer();
    const size_t rounded = (count + kHugePage - 1) / kHugePage * kHugePage;
    auto* bytes = static_cast<uint8_t*>(std::aligned_alloc(kHugePage, rounded));
    if (!bytes) return LargeBuffer();
    // Advice only: without huge pages the block is ordinary memory.
    ::madvise(bytes, rounded, MADV_HUGEPAGE);
    std::memset(bytes, 0, count);
    return LargeBuffer(bytes);
}

}  // namespace win
