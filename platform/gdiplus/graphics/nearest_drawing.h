#pragma once
// Drawing a 32-bit image scaled with the nearest pixel into a 32-bit target
// without cairo: the source column and row of every target column and row
// are worked out once per drawing, and each target row is then gathered
// from its source row with a plain 32-bit copy, composited over the target
// only where the gathered row holds a pixel that is not opaque. A scanned
// page drawn fitted to a window costs the pixels it shows, not a pass over
// every pixel of the page.
//
// The pixels are those cairo's nearest filter gives for the same drawing: a
// target pixel takes the source pixel its centre falls in (a centre on the
// border between two takes the first), at 1/65536 pixel precision; edge
// pixels repeat outwards; a see-through source goes over the target as
// premultiplied ARGB with cairo's rounding.
#include <cstdint>
#include <optional>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus {

// Along one axis: the source coordinate (in pixels of the source area) of a
// target coordinate t is t * scale + offset.
struct NearestAxis {
    double scale = 1;
    double offset = 0;
};

// Draws `area` of `source` into the pixels `fill` of `target` (which must lie
// inside it). Nothing (and nothing drawn) when this drawing cannot take the
// formats (the source 32-bit ARGB or PARGB; the target 32-bit RGB or PARGB),
// the source is the target, or a lock fails: the caller then draws through
// cairo. Otherwise the status of giving the target's pixels back.
std::optional<Status> DrawNearestScaled(Bitmap& target, const Rect& fill, Bitmap& source, const Rect& area,
                                        NearestAxis x, NearestAxis y);

}  // namespace gdiplus
