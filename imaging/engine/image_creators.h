#pragma once
// The creators through which images enter the image table: each makes a GDI+
// image from one kind of source and registers it under a new ID with the
// ImageKind that says what backs its pixels. A creator whose GDI+ call fails
// returns that status and registers nothing (newId is left as it was).
//
// The creators that read files, streams, GDI handles and metafiles arrive
// with the loaders and the DIB interchange.
#include <cstdint>
#include <memory>
#include <span>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/image.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/palette.h"

namespace scanvelt {

// A copy of a rectangle of the source in a pixel format (0: the source's
// own), with its resolution; kind 0. InvalidParameter for a rectangle that is
// empty or not inside the image, and for an unregistered source.
MorvalenStatus CloneImageArea(int32_t x, int32_t y, int32_t width, int32_t height, int32_t pixelFormat,
                              int32_t sourceId, int32_t& newId);
// A full copy: pixels, palette, resolution, property items; kind 0.
MorvalenStatus CloneImage(int32_t& newId, int32_t sourceId);
// A thumbnail of exactly width x height; kind 7. InvalidParameter for a size below 1.
MorvalenStatus CreateImageThumbnail(int32_t sourceId, int32_t width, int32_t height, int32_t& newId);

// A bitmap over the caller's pixels, which stay the caller's and must outlive
// the image (kind 7); with no pixels (null) and stride 0 GDI+ allocates.
MorvalenStatus ImageFromBuffer(int32_t width, int32_t height, int32_t stride, int32_t pixelFormat, uint8_t* pixels,
                               int32_t& newId);
// A bitmap that takes over a block of the GDI+ allocator (kind 9): the image
// frees it when it is released, and on failure it is freed at once.
MorvalenStatus ImageFromBuffer(int32_t width, int32_t height, int32_t stride, int32_t pixelFormat,
                               gdiplus::OwnedBuffer pixels, int32_t& newId);

// A new 8bppIndexed image holding a copy of `bytes`: height top-down rows of
// 4 x ceil(width / 4) bytes each, coloured through the first 256 entries of
// the palette, opaque, entries past its Count black. InvalidParameter for a
// size below 1 or too few bytes for the rows.
MorvalenStatus Image8bppFromBits(int32_t& newId, int32_t height, int32_t width, std::span<const uint8_t> bytes,
                                 const gdiplus::ColorPalette& palette);

// Registers a GDI+ image made outside the engine (the PDF rasteriser's pages,
// the printer class), which the engine owns from then on; kind 0.
// InvalidParameter for no image; otherwise the status of decoding it.
MorvalenStatus AdoptNativeImage(int32_t& newId, std::unique_ptr<gdiplus::Image> image);

}  // namespace scanvelt
