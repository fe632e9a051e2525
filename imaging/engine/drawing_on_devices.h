#pragma once
// Drawing an image onto a device context or a window through a graphics of
// its own, with fixed quality settings and one fallback attempt: compositing
// quality GammaCorrected and pixel offset Half first; when the draw fails,
// once more with smoothing None, interpolation NearestNeighbor, compositing
// HighSpeed and pixel offset None. The result is the status of the last draw.
//
// A smoothing mode outside 0-4 counts as 3 (None), an interpolation mode
// outside 0-7 as 5 (NearestNeighbor). InvalidParameter for an unregistered
// ID; GDI+'s status when the graphics cannot be made (Win32Error for a
// window the host did not register as a surface: platform/win/window_surfaces.h).
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/win/handles.h"

namespace scanvelt {

// The whole image (its current page) scaled into the rectangle, whose
// coordinates count in `pageUnit`.
MorvalenStatus DrawImageOnHdc(int32_t imageId, win::HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                              int32_t smoothing, int32_t interpolation, int32_t pageUnit);
MorvalenStatus DrawImageOnHwnd(int32_t imageId, uint32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                               int32_t smoothing, int32_t interpolation, int32_t pageUnit);

// A source rectangle of the image in pixels scaled into the destination
// rectangle; the fallback attempt counts the source in `sourceUnit`.
MorvalenStatus DrawImageRectOnHdc(int32_t imageId, win::HDC dc, int32_t dstX, int32_t dstY, int32_t dstWidth,
                                  int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                                  int32_t smoothing, int32_t interpolation, int32_t sourceUnit);
MorvalenStatus DrawImageRectOnHwnd(int32_t imageId, uint32_t window, int32_t dstX, int32_t dstY, int32_t dstWidth,
                                   int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                                   int32_t smoothing, int32_t interpolation, int32_t sourceUnit);

}  // namespace scanvelt
