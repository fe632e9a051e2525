#pragma once
// For tests: the bytes the process holds from the heap right now, so that a
// test can call a member many times and see whether each call leaves memory
// behind. Under the address sanitizer its own allocator counts them.
#include <malloc.h>

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace com::testing {

inline size_t LiveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

}  // namespace com::testing
