#pragma once
// What a bitmap remembers about the lock it holds (for bitmap.cpp and
// lock_bits.cpp only).
#include "platform/gdiplus/bitmap.h"

namespace gdiplus {

struct Bitmap::LockState {
    Rect rect;
    std::uint32_t flags = 0;
    PixelFormat format = PixelFormatUndefined;
    void* scan0 = nullptr;
    std::int32_t stride = 0;
    // Points into the bitmap's own pixels: nothing to write back.
    bool direct = false;
    OwnedBuffer buffer;
    std::uintptr_t token = 0;
};

}  // namespace gdiplus
