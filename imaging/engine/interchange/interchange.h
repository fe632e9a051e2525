#pragma once
// An image handed out in the forms that hosts exchange pictures in: a packed
// DIB in a block of global memory, a GDI bitmap, an icon, a bitmap picture,
// and the clipboard. Everything handed out belongs to the caller (GlobalFree,
// DeleteObject, DestroyIcon, PictureRelease); nothing is left behind on a
// failure. The image is never changed.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/win/handles.h"

namespace scanvelt {

// A fixed block holding a 40-byte header (height positive: rows bottom-up;
// resolution in pixels per metre; 2^bits colours for 1, 4 and 8 bits, the
// palette's ARGB values, zero past its Count), then the image's rows in its
// own pixel format at its own stride. The status of reading the stride or the
// palette (no block then), OutOfMemory without memory, or the status of a
// pixel lock that failed (the block is freed: the handle stays 0).
MorvalenStatus ImageToPackedDib(int32_t imageId, win::HGLOBAL& block);

// A 32-bit bitmap of the image with transparent pixels over the background
// colour. InvalidParameter for an unregistered ID.
MorvalenStatus ImageToHBitmap(int32_t imageId, win::HBITMAP& bitmap, uint32_t background);
// An icon of the image, transparent where it is. InvalidParameter for an unregistered ID.
MorvalenStatus ImageToHIcon(int32_t imageId, win::HICON& icon);

// A new bitmap picture that owns a bitmap of the image (background black).
// InvalidParameter for an unregistered ID, the status of making the bitmap,
// GenericError when the picture cannot be made (the bitmap is freed).
MorvalenStatus ImageToPicture(int32_t imageId, win::HPICTURE& picture);
// The same, or the null handle on any failure.
win::HPICTURE PictureOf(int32_t imageId);

// Empties the host's clipboard and puts a bitmap of the image on it. The
// status of making the picture (the clipboard untouched then); OutOfMemory
// or GenericError when the clipboard cannot be emptied or filled (no
// clipboard service installed among them).
MorvalenStatus CopyImageToClipboard(int32_t imageId);

}  // namespace scanvelt
