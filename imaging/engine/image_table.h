#pragma once
// The image table: one per thread, the only owner of the engine's images.
// Every image is held in a slot under an image ID; a slot never moves, the
// table grows and shrinks only at its end, and lookups are linear from slot 0
// (a control and its host hold a few images at a time).
//
// An ID that no slot holds is unregistered: status operations answer it with
// InvalidParameter, queries with 0, null or empty.
#include <cstdint>
#include <memory>
#include <string_view>

#include "imaging/engine/image_entry.h"
#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/image.h"
#include "platform/win/handles.h"

namespace scanvelt {

// Registering and finding.

// The first free slot; when none is free the table grows by exactly one slot.
int32_t FindFreeSlot();
// Fills a free slot with the image (which may be null: a container) and
// returns the slot number; the new ID goes to outId. An image is decoded at
// once and its format name cached unless one is given.
int32_t RegisterImage(int32_t& outId, std::unique_ptr<gdiplus::Image> image, std::string_view formatName,
                      std::string_view sourcePath, int32_t kind);
// Slot of the ID, -1 for 0 and for an unregistered ID.
int32_t FindImageIndex(int32_t imageId);
// Slot of the first slot whose device context is `dc`, -1 when none.
int32_t FindImageIndexByDC(win::HDC dc);
// The entry of a registered ID, null otherwise. For the engine's own
// operations: the pointer is valid until the table next changes.
ImageEntry* FindImageEntry(int32_t imageId);
// The entry in a slot (0 to ImageSlotCount() - 1), free or not.
ImageEntry& ImageSlot(int32_t slot);
int32_t ImageSlotCount();

// Setting fields of a registered image; an unregistered ID is ignored.
void AttachGlobalMemory(int32_t imageId, win::HGLOBAL memory);
void AttachPluginBitmap(int32_t imageId, PluginHandle bitmap);
void AttachPluginPage(int32_t imageId, PluginHandle multiBitmap, PluginHandle page);
// The path is a temporary file of the engine's, deleted when the image is released.
void SetImageTempFile(int32_t imageId, std::string_view path);
void SetFormatName(int32_t imageId, std::string_view name);

// Queries; a multi-page image answers for its current page.
int32_t ImageKindOf(int32_t imageId);
gdiplus::Image* NativeImageOf(int32_t imageId);
// The same as NativeImageOf; the name the controls use.
gdiplus::Image* NativeImageHandle(int32_t imageId);
// NativeImageOf when it is a bitmap (the pixel operations need one), else null.
gdiplus::Bitmap* NativeBitmapOf(int32_t imageId);
// For a split or plug-in multi-page image, the ID of its current page (0
// while that page is not loaded); for any other ID the ID itself.
int32_t CurrentPageImageId(int32_t imageId);

// Changes and release.

// Marks the image's current page changed since it was loaded or written. A
// file image whose native frames a change left fewer than 2 of becomes an
// ordinary image.
void MarkImageModified(int32_t imageId);
void ClearImageModified(int32_t imageId);
// Frees the image and everything its entry owns: its pages and page files,
// its drawing context, plug-in handles, global memory and the temporary
// source file. InvalidParameter for an unregistered ID.
MorvalenStatus ReleaseImage(int32_t imageId);
// Releases every image, last slot first, and empties the table.
void ReleaseAllImages();
// Puts the image of newId in the place of targetId, which keeps naming it:
// targetId is released and newId's entry takes that ID, modified when either
// image was (a change pending on the target is not lost). Result targetId, or 0
// when either ID is unregistered, they are the same, or newId is a page of
// targetId; then nothing changes. For a split multi-page target only the
// current page is replaced (ReplaceCurrentPage, multi_page.h).
int32_t ReplaceImageBitmap(int32_t targetId, int32_t newId);

}  // namespace scanvelt
