#pragma once
// The colour table of a bitmap: flags, a count and up to 256 ARGB entries,
// the shape of GDI+'s ColorPalette with room for every entry.
#include <array>
#include <cstdint>

#include "platform/gdiplus/argb.h"
#include "platform/gdiplus/pixel_format.h"

namespace gdiplus {

enum PaletteFlags : std::uint32_t {
    PaletteFlagsHasAlpha = 0x0001,
    PaletteFlagsGrayScale = 0x0002,
    PaletteFlagsHalftone = 0x0004,
};

struct ColorPalette {
    static constexpr std::uint32_t kMaxEntries = 256;
    // Bytes of GDI+'s record for a palette of this count: Flags, Count, entries.
    static constexpr std::uint32_t SizeFor(std::uint32_t count) { return 8 + 4 * count; }

    std::uint32_t Flags = 0;
    std::uint32_t Count = 0;
    std::array<ARGB, kMaxEntries> Entries{};

    friend bool operator==(const ColorPalette& a, const ColorPalette& b);
};

// The palette a new bitmap of an indexed format starts with: black and white
// for 1 bit, the 16 standard VGA colours for 4 bits, and for 8 bits a
// halftone table (the 16 VGA colours, 24 black entries, then the 6x6x6 colour
// cube at entries 40-255). Empty (Count 0) for a format that is not indexed.
ColorPalette DefaultPalette(PixelFormat format);

}  // namespace gdiplus
