#include "plugins/mvimgplug/one_bit_sense.h"

#include <utility>

namespace mvimgplug {

namespace {

int Brightness(const RGBQUAD& colour) { return colour.rgbRed * 299 + colour.rgbGreen * 587 + colour.rgbBlue * 114; }

// Whether the format reads a set bit as the darker colour.
bool SetBitIsDark(int32_t format, bool& known) {
    known = true;
    if (format == FIF_PBM || format == FIF_PBMRAW) return true;
    if (format == FIF_WBMP) return false;
    known = false;
    return false;
}

}  // namespace

FIBITMAP* CopyInFileSense(int32_t format, FIBITMAP* bitmap) {
    bool known = false;
    const bool setBitDark = SetBitIsDark(format, known);
    if (!known || FreeImage_GetImageType(bitmap) != FIT_BITMAP || FreeImage_GetBPP(bitmap) != 1) return nullptr;
    const RGBQUAD* palette = FreeImage_GetPalette(bitmap);
    if (palette == nullptr) return nullptr;
    const bool paletteSetBitDark = Brightness(palette[1]) < Brightness(palette[0]);
    if (paletteSetBitDark == setBitDark) return nullptr;
    FIBITMAP* copy = FreeImage_Clone(bitmap);
    if (copy == nullptr) return nullptr;
    FreeImage_Invert(copy);
    RGBQUAD* copyPalette = FreeImage_GetPalette(copy);
    std::swap(copyPalette[0], copyPalette[1]);
    return copy;
}

}  // namespace mvimgplug
