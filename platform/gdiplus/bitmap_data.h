#pragma once
// What a pixel lock is about: the rectangle, the lock mode and the record
// that describes the locked pixels.
#include <cstdint>

#include "platform/gdiplus/pixel_format.h"

namespace gdiplus {

struct Rect {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

enum ImageLockMode : std::uint32_t {
    ImageLockModeRead = 0x0001,
    ImageLockModeWrite = 0x0002,
    // The caller supplies the buffer in BitmapData's Scan0 and Stride.
    ImageLockModeUserInputBuf = 0x0004,
};

struct BitmapData {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    // Bytes from one row to the next; negative for rows stored bottom-up.
    std::int32_t Stride = 0;
    gdiplus::PixelFormat PixelFormat = PixelFormatUndefined;
    // First (top) row of the locked pixels; valid only until the unlock.
    void* Scan0 = nullptr;
    // Set by the lock; identifies it at the unlock.
    std::uintptr_t Reserved = 0;
};

}  // namespace gdiplus
