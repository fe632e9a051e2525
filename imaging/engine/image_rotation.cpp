#include "imaging/engine/image_rotation.h"

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "platform/gdiplus/rotate_flip.h"

namespace scanvelt {

namespace {

// Kinds whose pixels lie in memory the image does not own outright.
bool IsForeignMemoryKind(int32_t kind) {
    return kind == ImageKindGlobalDib || kind == ImageKindPluginBitmap || kind == ImageKindHBitmap ||
           kind == ImageKindHIcon || kind == ImageKindPluginPage;
}

// Every type but the plain mirrors (and no change at all) turns the image, and
// a 1-bit image over foreign memory is copied into memory of its own first.
bool TurnsTheImage(int32_t rotation) {
    return rotation != gdiplus::RotateNoneFlipNone && rotation != gdiplus::RotateNoneFlipX &&
           rotation != gdiplus::RotateNoneFlipY;
}

// A private copy of the image put in its place; the copy's status.
MorvalenStatus ReplaceWithPrivateCopy(int32_t imageId) {
    int32_t copyId = 0;
    const MorvalenStatus status = CopyImageToOwnBuffer(imageId, copyId);
    if (status != OK) return status;
    if (ReplaceImageBitmap(imageId, copyId) == 0) {
        ReleaseImage(copyId);
        return GenericError;
    }
    return OK;
}

}  // namespace

MorvalenStatus RotateFlipImage(int32_t imageId, int32_t rotation, bool leaveUnmarked) {
    return StatusOfRun([&] {
        if (FindImageIndex(imageId) < 0) return InvalidParameter;
        if (rotation < gdiplus::RotateNoneFlipNone || rotation > gdiplus::Rotate270FlipX) return InvalidParameter;
        const int32_t kind = ImageKindOf(imageId);
        const int32_t format = PixelFormatOf(imageId);

        MorvalenStatus copied = OK;
        if (IsForeignMemoryKind(kind) && TurnsTheImage(rotation) && format == gdiplus::PixelFormat1bppIndexed) {
            copied = ReplaceWithPrivateCopy(imageId);
        }
        const bool ownsBuffer = ImageKindOf(imageId) == ImageKindOwnedBuffer;
        const void* bufferBefore = nullptr;
        if (ownsBuffer) ImageScan0(imageId, bufferBefore);
        if (copied != OK) return copied;

        gdiplus::Image* image = NativeImageOf(imageId);
        if (image == nullptr) return InvalidParameter;
        gdiplus::Status status = gdiplus::Ok;
        if (format == gdiplus::PixelFormat1bppIndexed && rotation == gdiplus::Rotate180FlipNone) {
            status = image->RotateFlip(gdiplus::Rotate90FlipNone);
            if (status == gdiplus::Ok) status = image->RotateFlip(gdiplus::Rotate90FlipNone);
        } else {
            status = image->RotateFlip(static_cast<gdiplus::RotateFlipType>(rotation));
        }
        if (status != gdiplus::Ok) return StatusOf(status);
        if (!leaveUnmarked) MarkImageModified(imageId);

        if (ownsBuffer) {
            // The bitmap moved its pixels into memory of its own and freed the
            // buffer it owned: the image no longer lies in that buffer.
            const void* bufferAfter = nullptr;
            ImageScan0(imageId, bufferAfter);
            if (bufferAfter != nullptr && bufferAfter != bufferBefore) {
                SetImageKind(imageId, ImageKindBorrowedBuffer);
                if (ImageEntry* page = FindImageEntry(CurrentPageImageId(imageId))) {
                    page->PixelBuffer = nullptr;
                    page->BufferOwned = false;
                }
            }
        }
        if (!IsIndexedFormat(format)) ReplaceWithPrivateCopy(imageId);
        return OK;
    });
}

void SetImageKind(int32_t imageId, int32_t kind) {
    ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return;
    if (!entry->IsMultiPage()) {
        entry->Kind = kind;
        return;
    }
    if (entry->CurrentPage < 0 || entry->CurrentPage >= static_cast<int32_t>(entry->PageImageIds.size())) return;
    const int32_t pageId = entry->PageImageIds[entry->CurrentPage];
    if (pageId != 0 && pageId != imageId) SetImageKind(pageId, kind);
}

}  // namespace scanvelt
