#pragma once
// The pixels of an image as cairo draws them: a rectangle copied into a
// premultiplied ARGB surface, with the colour adjustments of image attributes
// applied on the way.
#include "platform/gdiplus/graphics/cairo_ptr.h"
#include "platform/gdiplus/graphics/image_attributes.h"
#include "platform/gdiplus/image.h"

namespace gdiplus {

// `area` must lie inside the image. The attributes (may be null) apply as
// for bitmaps (ColorAdjustTypeBitmap). The image's status when its pixels
// cannot be read (ObjectBusy while it is locked); OutOfMemory when cairo
// cannot make the surface.
Status ImageAreaSurface(const Image& image, const Rect& area, const ImageAttributes* attributes, SurfacePtr& surface);

}  // namespace gdiplus
