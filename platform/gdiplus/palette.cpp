#include "platform/gdiplus/palette.h"

#include <algorithm>

namespace gdiplus {
namespace {

// The 16 colours of the VGA palette in the order Windows numbers them.
constexpr std::array<ARGB, 16> kVgaColours = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFF808080,
    0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

constexpr std::uint32_t kHalftoneCubeStart = 40;

}  // namespace

bool operator==(const ColorPalette& a, const ColorPalette& b) {
    if (a.Flags != b.Flags || a.Count != b.Count) return false;
    const auto n = std::min(a.Count, ColorPalette::kMaxEntries);
    return std::equal(a.Entries.begin(), a.Entries.begin() + n, b.Entries.begin());
}

ColorPalette DefaultPalette(PixelFormat format) {
    ColorPalette palette;
    switch (format) {
    case PixelFormat1bppIndexed:
        palette.Flags = PaletteFlagsGrayScale;
        palette.Count = 2;
        palette.Entries[0] = 0xFF000000;
        palette.Entries[1] = 0xFFFFFFFF;
        break;
    case PixelFormat4bppIndexed:
        palette.Count = 16;
        std::copy(kVgaColours.begin(), kVgaColours.end(), palette.Entries.begin());
        break;
    case PixelFormat8bppIndexed: {
        palette.Flags = PaletteFlagsHalftone;
        palette.Count = 256;
        std::copy(kVgaColours.begin(), kVgaColours.end(), palette.Entries.begin());
        std::fill(palette.Entries.begin() + kVgaColours.size(), palette.Entries.begin() + kHalftoneCubeStart,
                  ARGB{0xFF000000});
        constexpr std::uint8_t kLevels[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
        std::uint32_t i = kHalftoneCubeStart;
        for (auto r : kLevels)
            for (auto g : kLevels)
                for (auto b : kLevels) palette.Entries[i++] = MakeARGB(0xFF, r, g, b);
        break;
    }
    default:
        break;
    }
    return palette;
}

}  // namespace gdiplus
