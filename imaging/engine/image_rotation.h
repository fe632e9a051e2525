#pragma once
// Rotating and flipping an image in place, and the kind of an image's pixels.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// Rotates or flips the image (a multi-page image on its current page) by a
// GDI+ RotateFlipType (0-7), keeping its ID; marked modified unless
// leaveUnmarked. A 1-bit image turned by a half turn is turned by two quarter
// turns. InvalidParameter for an unregistered ID or a type outside 0-7.
MorvalenStatus RotateFlipImage(int32_t imageId, int32_t rotation, bool leaveUnmarked);
// Sets the ImageKind of the image, or of its current page; an unregistered
// ID, and a multi-page image whose current page is not loaded, are left alone.
void SetImageKind(int32_t imageId, int32_t kind);

}  // namespace scanvelt
