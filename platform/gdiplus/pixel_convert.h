#pragma once
// Conversion of pixel runs between the fourteen pixel formats, through a
// pivot of straight (not premultiplied) ARGB with 16 bits per channel:
// - 8-bit channels widen by x257 and narrow with rounding; 5- and 6-bit
//   channels widen by repeating their top bits.
// - 48- and 64-bit formats hold plain 16-bit channels (0-65535), not GDI+'s
//   gamma-linear 0-8192 scale; 16bppGrayScale holds a 16-bit grey level,
//   written as the luminance 0.299 R + 0.587 G + 0.114 B.
// - Premultiplied formats are divided out on reading (a pixel of alpha 0
//   reads as transparent black) and multiplied on writing.
// - A format without alpha reads as opaque and drops alpha on writing;
//   16bppARGB1555 keeps alpha 128 and above as opaque.
// - An indexed pixel reads as its palette entry (opaque black past the
//   palette's end); writing picks the nearest entry (alpha counts, ties go to
//   the lowest index) among the entries the format can address. Between two
//   indexed formats an index that the target can address is kept as it is.
// - Between equal formats the bits are copied unchanged.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/gdiplus/argb.h"
#include "platform/gdiplus/palette.h"
#include "platform/gdiplus/pixel_format.h"

namespace gdiplus {

struct Argb64 {
    std::uint16_t b = 0;
    std::uint16_t g = 0;
    std::uint16_t r = 0;
    std::uint16_t a = 0;

    friend bool operator==(const Argb64&, const Argb64&) = default;
};

Argb64 WidenArgb(ARGB color);
ARGB NarrowArgb(const Argb64& color);

// The palette entry nearest a colour, remembered per colour because images
// repeat their colours.
class NearestPaletteEntry {
public:
    // Searches the first min(Count, usableEntries) entries of the palette.
    NearestPaletteEntry(const ColorPalette& palette, std::uint32_t usableEntries);
    std::uint8_t Find(ARGB color);

private:
    static constexpr std::size_t kCacheSize = 4096;
    const ColorPalette& palette_;
    std::uint32_t usable_;
    std::array<ARGB, kCacheSize> keys_{};
    std::array<std::uint8_t, kCacheSize> values_{};
    std::array<bool, kCacheSize> filled_{};
};

// Reads `count` pixels of `row` from pixel `x` on.
void DecodePixels(const std::uint8_t* row, std::int32_t x, std::int32_t count, PixelFormat format,
                  const ColorPalette& palette, Argb64* out);
// Writes `count` pixels into `row` from pixel `x` on; bits of the row outside
// those pixels are kept. `nearest` serves indexed formats (it may be null for
// the others).
void EncodePixels(const Argb64* in, std::int32_t count, PixelFormat format, NearestPaletteEntry* nearest,
                  std::uint8_t* row, std::int32_t x);

// Converts runs of pixels from one format into another; both formats must be
// supported. The palettes are what indexed pixels of each side refer to.
class PixelConverter {
public:
    PixelConverter(PixelFormat from, const ColorPalette& fromPalette, PixelFormat to,
                   const ColorPalette& toPalette);
    void Convert(const std::uint8_t* srcRow, std::int32_t srcX, std::uint8_t* dstRow, std::int32_t dstX,
                 std::int32_t count);

private:
    PixelFormat from_;
    PixelFormat to_;
    const ColorPalette& fromPalette_;
    const ColorPalette& toPalette_;
    NearestPaletteEntry nearest_;
    std::vector<Argb64> pivot_;
};

// Copies `count` pixels of `bitsPerPixel` bits between rows at any pixel
// offsets, keeping the other bits of the target row.
void CopyPixelBits(const std::uint8_t* srcRow, std::int32_t srcX, std::uint8_t* dstRow, std::int32_t dstX,
                   std::int32_t count, std::uint32_t bitsPerPixel);

}  // namespace gdiplus
