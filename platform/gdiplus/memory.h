#pragma once
// The layer's allocator for pixel blocks that change hands (GdipAlloc and
// GdipFree): a block a bitmap takes over must come from Alloc, because the
// bitmap gives it back with Free.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "platform/gdiplus/status.h"

namespace gdiplus {

// A zero-filled block, or nullptr when memory runs out (or size is 0).
void* Alloc(std::size_t size);
void Free(void* block);

struct FreeDeleter {
    void operator()(void* block) const { Free(block); }
};
using OwnedBuffer = std::unique_ptr<std::uint8_t[], FreeDeleter>;

// Alloc as an owning pointer; empty when memory runs out.
OwnedBuffer AllocBuffer(std::size_t size);

// Runs `body` (which gives a Status) and answers OutOfMemory when memory runs
// out on the way, so that no allocation failure leaves the layer as an
// exception; work that sizes its memory by the caller's input goes through it.
template <class Body>
Status AnswerOutOfMemory(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
}

}  // namespace gdiplus
