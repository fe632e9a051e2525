#pragma once
// A bitmap of this layer over the pixels of a GDI bitmap, without copying
// them: what draws into a device context draws into its bitmap.
#include <memory>

#include "platform/gdiplus/bitmap.h"
#include "platform/win/gdi_bitmap.h"

namespace gdiplus {

// The pixel format of a GDI bitmap of that depth: 32 bits read as 32bppRGB
// (GDI leaves the fourth byte alone) unless the caller knows that byte to be
// alpha (the colour bitmap of an icon), 16 bits as RGB555 (BI_RGB); the
// indexed depths get the colour table as their palette, opaque, at most as
// many entries as the depth can address. InvalidParameter for a depth without
// a format; GdiplusNotInitialized before start-up. The view must not outlive
// `gdi`.
Status ViewOfGdiBitmap(win::GdiBitmap& gdi, std::unique_ptr<Bitmap>& view, bool fourthByteIsAlpha = false);

}  // namespace gdiplus
