#pragma once
// Drawing on an image: a GDI+ graphics that draws into the image of an ID,
// and the one device context per image that the controls hand to hosts.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/graphics/object_handles.h"
#include "platform/win/handles.h"

namespace scanvelt {

// A graphics on the image (its current page); the caller deletes it with
// DeleteGpGraphics. Below GDI+ version 6 an indexed image is first converted
// in place to 32bppARGB; `pixelFormat` 0 means the caller does not know the
// image's format, and a caller that passes a format that is not indexed
// skips the conversion. Marks the image modified when the graphics is made.
// InvalidParameter for an unregistered ID; the conversion's status when it
// fails; GDI+'s status otherwise. The graphics refuses to draw
// (InvalidParameter) once the image is released or its bitmap replaced.
MorvalenStatus GetImageGraphics(int32_t imageId, gdiplus::GpGraphics& graphics, int32_t pixelFormat);

// The image's device context: made by the first call and kept in the
// image's entry, the same context on every later call. GenericError for an
// unregistered ID; otherwise the status of making the graphics or the context.
MorvalenStatus GetImageDC(int32_t imageId, win::HDC& dc);
// Gives a context from GetImageDC back: what was drawn through it is now in
// the image. GenericError for a context no image holds (also one already
// given back); GDI+'s status, with the context kept, when it refuses.
MorvalenStatus ReleaseImageDC(win::HDC dc);

}  // namespace scanvelt
