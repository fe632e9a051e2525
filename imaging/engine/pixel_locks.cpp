#include "imaging/engine/pixel_locks.h"

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/pixel_formats.h"

namespace scanvelt {

namespace {

// A read lock of the whole image in its own format; the result of `take`
// is read while the lock is held.
template <class Take>
MorvalenStatus ReadWholeImageLock(int32_t imageId, Take take) {
    gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
    if (bitmap == nullptr) return InvalidParameter;
    const gdiplus::Rect whole{0, 0, static_cast<int32_t>(bitmap->GetWidth()),
                              static_cast<int32_t>(bitmap->GetHeight())};
    gdiplus::BitmapData data;
    const gdiplus::Status status = bitmap->LockBits(whole, kLockRead, bitmap->GetPixelFormat(), data);
    if (status != gdiplus::Ok) return StatusOf(status);
    take(data);
    bitmap->UnlockBits(data);
    return OK;
}

}  // namespace

MorvalenStatus LockImageBits(int32_t imageId, const gdiplus::Rect& rect, uint32_t mode, int32_t pixelFormat,
                             gdiplus::BitmapData& data) {
    const int32_t ownFormat = PixelFormatOf(imageId);
    const bool writes = (mode & gdiplus::ImageLockModeWrite) != 0;
    if (GdiplusBelowVersion6() && writes && IsIndexedFormat(ownFormat) && pixelFormat != ownFormat) {
        const MorvalenStatus status = ConvertToArgbInPlace(imageId);
        if (status != OK) return status;
    }
    gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
    if (bitmap == nullptr) return InvalidParameter;
    const gdiplus::Status status = bitmap->LockBits(rect, mode, pixelFormat, data);
    // Also after a conversion: the converted image is about to change, and an
    // unmarked page would lose the change when it is written back.
    if (status == gdiplus::Ok && writes) MarkImageModified(imageId);
    return StatusOf(status);
}

MorvalenStatus UnlockImageBits(int32_t imageId, gdiplus::BitmapData& data) {
    gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
    if (bitmap == nullptr) return InvalidParameter;
    return StatusOf(bitmap->UnlockBits(data));
}

MorvalenStatus ImageStride(int32_t imageId, int32_t& stride) {
    return ReadWholeImageLock(imageId, [&](const gdiplus::BitmapData& data) { stride = data.Stride; });
}

MorvalenStatus ImageScan0(int32_t imageId, const void*& address) {
    return ReadWholeImageLock(imageId, [&](const gdiplus::BitmapData& data) { address = data.Scan0; });
}

}  // namespace scanvelt
