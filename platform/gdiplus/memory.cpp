#include "platform/gdiplus/memory.h"

#include <cstdlib>

namespace gdiplus {

void* Alloc(std::size_t size) {
    if (size == 0) return nullptr;
    return std::calloc(size, 1);
}

void Free(void* block) { std::free(block); }

OwnedBuffer AllocBuffer(std::size_t size) { return OwnedBuffer(static_cast<std::uint8_t*>(Alloc(size))); }

}  // namespace gdiplus
