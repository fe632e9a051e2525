#include "imaging/engine/whole_image_pixels.h"

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {

namespace {

int32_t FormatOfDepth(int32_t depth) {
    switch (depth) {
        case 1: return gdiplus::PixelFormat1bppIndexed;
        case 4: return gdiplus::PixelFormat4bppIndexed;
        case 8: return gdiplus::PixelFormat8bppIndexed;
        default: return gdiplus::PixelFormat24bppRGB;
    }
}

}  // namespace

MorvalenStatus ReadWholeImage(int32_t imageId, int32_t width, int32_t height, int32_t depth,
                              WholeImagePixels& pixels) {
    pixels.stride = StrideForDepth(width, depth);
    pixels.bytes.assign(static_cast<size_t>(CheckedMultiply(pixels.stride, height)), 0);
    gdiplus::BitmapData data;
    data.Width = static_cast<uint32_t>(width);
    data.Height = static_cast<uint32_t>(height);
    data.Stride = pixels.stride;
    data.PixelFormat = FormatOfDepth(depth);
    data.Scan0 = pixels.bytes.data();
    const MorvalenStatus locked =
        LockImageBits(imageId, gdiplus::Rect{0, 0, width, height}, kLockReadIntoCallerBuffer, data.PixelFormat, data);
    if (locked != OK) return locked;
    return UnlockImageBits(imageId, data);
}

}  // namespace scanvelt
