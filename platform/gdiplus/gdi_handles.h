#pragma once
// GDI handles made of an image, as the host receives them (GdipCreateHBITMAPFromBitmap,
// GdipCreateHICONFromBitmap): a 32-bit bitmap of the image laid over a
// background colour, and an icon whose colour bitmap keeps the image's alpha
// and whose mask marks the fully transparent pixels. The handles belong to
// the caller (DeleteObject, DestroyIcon).
#include "platform/gdiplus/argb.h"
#include "platform/gdiplus/image.h"
#include "platform/win/handles.h"

namespace gdiplus {

// InvalidParameter for no image, ObjectBusy while its pixels are locked,
// OutOfMemory when the bitmap cannot be had; the handle is untouched on failure.
Status CreateHBITMAPFromBitmap(const Image* image, ARGB background, win::HBITMAP& bitmap);
Status CreateHICONFromBitmap(const Image* image, win::HICON& icon);

}  // namespace gdiplus
