#pragma once
// Locking an image's pixels into or out of a buffer. A lock is held from
// LockImageBits to UnlockImageBits, and the locked pixels are read or written
// only in between; the same image is not locked twice at once.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/bitmap_data.h"

namespace scanvelt {

// Lock modes the engine uses (GDI+ ImageLockMode bits).
inline constexpr uint32_t kLockRead = gdiplus::ImageLockModeRead;
inline constexpr uint32_t kLockReadIntoCallerBuffer = gdiplus::ImageLockModeRead | gdiplus::ImageLockModeUserInputBuf;
inline constexpr uint32_t kLockWriteFromCallerBuffer =
    gdiplus::ImageLockModeWrite | gdiplus::ImageLockModeUserInputBuf;

// Locks a rectangle of the image in a pixel format. With a caller's buffer the
// caller fills data (Width, Height, Stride, PixelFormat, Scan0); otherwise
// GDI+ fills it. Under a GDI+ older than version 6, a write lock of an
// indexed image in another format first converts the image in place to
// 32bppARGB (a failure of that is the result, and nothing is locked). Every
// successful write lock marks the image modified.
MorvalenStatus LockImageBits(int32_t imageId, const gdiplus::Rect& rect, uint32_t mode, int32_t pixelFormat,
                             gdiplus::BitmapData& data);
// With a write lock the buffer's pixels become the image's at the unlock.
MorvalenStatus UnlockImageBits(int32_t imageId, gdiplus::BitmapData& data);

// The row stride GDI+ reports for the whole image in its own format; stride
// is untouched on failure.
MorvalenStatus ImageStride(int32_t imageId, int32_t& stride);
// The address of the image's first pixel row, to recognise the buffer the
// image lies in (a bitmap made over a buffer reports that buffer). Not for
// reading pixels: they may be read only under a lock.
MorvalenStatus ImageScan0(int32_t imageId, const void*& address);

}  // namespace scanvelt
