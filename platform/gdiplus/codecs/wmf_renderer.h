#pragma once
// Windows metafiles (WMF, placeable or not) drawn by libwmf into a 32-bit ARGB
// bitmap of a size the caller chooses. Enhanced metafiles (EMF) are not read:
// no library on this platform draws them.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus::codecs {

// The metafile's own size in pixels at `dpi` (its frame, rounded up); false
// for bytes libwmf cannot read as a WMF.
bool WmfPixelSize(std::span<const std::uint8_t> wmf, double dpi, std::int32_t& width, std::int32_t& height);

// What lies under the drawing where the metafile draws nothing.
enum class WmfBackground { OpaqueWhite, Transparent };

// The metafile's frame (a placeable header's, else the extent of what it
// draws) scaled into a new 32bppARGB bitmap of width x height, over the
// background. InvalidParameter for a size below 1 or beyond kMaxWmfPixels,
// UnknownImageFormat for bytes that are no WMF, OutOfMemory when the bitmap
// cannot be had.
Status RenderWmf(std::span<const std::uint8_t> wmf, std::int32_t width, std::int32_t height,
                 WmfBackground background, std::unique_ptr<Bitmap>& bitmap);

// The 22 bytes of a placeable header that give records without one a frame
// of (left, top) to (right, bottom) units at `unitsPerInch`.
std::vector<std::uint8_t> WmfPlaceableHeader(std::int16_t left, std::int16_t top, std::int16_t right,
                                             std::int16_t bottom, std::uint16_t unitsPerInch);

// The largest bitmap a metafile is drawn into: 100 million pixels.
constexpr std::int64_t kMaxWmfPixels = 100'000'000;

}  // namespace gdiplus::codecs
