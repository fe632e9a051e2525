// New bitmaps made from others, and the changes made in place.
#include <FreeImage.h>

#include <cstdint>

#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/object_table.h"

using namespace mvimgplug;

namespace {

// A new bitmap the library makes from a bitmap or locked page. The library's
// conversions go row by row, so the new bitmap keeps the plug-in's row order.
template <class Convert>
MvimgplugHandle ConvertBitmap(MvimgplugHandle source, Convert&& convert) {
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        FIBITMAP* dib = FindBitmap(source);
        return dib == nullptr ? 0 : AddBitmap(convert(dib));
    });
}

template <class Change>
int32_t ChangeInPlace(MvimgplugHandle bitmap, Change&& change) {
    return RunExport<int32_t>(0, [&]() -> int32_t {
        FIBITMAP* dib = FindBitmap(bitmap);
        return dib != nullptr && change(dib) ? 1 : 0;
    });
}

bool IsRawDepth(uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: return true;
        default: return false;
    }
}

// The rows the caller describes fit in memory the caller owns only as far as
// it says; what can be checked here is that the description is coherent.
bool IsCoherentRawImage(const uint8_t* bits, int32_t width, int32_t height, int32_t pitch, uint32_t bitsPerPixel) {
    if (bits == nullptr || width < 1 || height < 1 || !IsRawDepth(bitsPerPixel)) return false;
    const int64_t rowBytes = (static_cast<int64_t>(width) * bitsPerPixel + 7) / 8;
    return pitch >= rowBytes;
}

}  // namespace

extern "C" {

MvimgplugHandle MVIMGPLUG_ConvertToType(MvimgplugHandle bitmap, int32_t type, int32_t scaleLinear) {
    return ConvertBitmap(bitmap, [&](FIBITMAP* dib) {
        return FreeImage_ConvertToType(dib, static_cast<FREE_IMAGE_TYPE>(type), scaleLinear != 0 ? TRUE : FALSE);
    });
}

MvimgplugHandle MVIMGPLUG_ConvertToGreyscale(MvimgplugHandle bitmap) {
    return ConvertBitmap(bitmap, FreeImage_ConvertToGreyscale);
}

MvimgplugHandle MVIMGPLUG_ConvertTo24Bits(MvimgplugHandle bitmap) {
    return ConvertBitmap(bitmap, FreeImage_ConvertTo24Bits);
}

MvimgplugHandle MVIMGPLUG_ConvertTo32Bits(MvimgplugHandle bitmap) {
    return ConvertBitmap(bitmap, FreeImage_ConvertTo32Bits);
}

MvimgplugHandle MVIMGPLUG_ConvertToRGBF(MvimgplugHandle bitmap) { return ConvertBitmap(bitmap, FreeImage_ConvertToRGBF); }

MvimgplugHandle MVIMGPLUG_TmoReinhard05(MvimgplugHandle bitmap, double intensity, double contrast) {
    return ConvertBitmap(bitmap, [&](FIBITMAP* dib) { return FreeImage_TmoReinhard05(dib, intensity, contrast); });
}

MvimgplugHandle MVIMGPLUG_ConvertFromRawBits(const uint8_t* bits, int32_t width, int32_t height, int32_t pitch,
                                             uint32_t bitsPerPixel, uint32_t redMask, uint32_t greenMask,
                                             uint32_t blueMask, int32_t topDown) {
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        if (!IsCoherentRawImage(bits, width, height, pitch, bitsPerPixel)) return 0;
        // The library puts the first row given at its first scan line when told
        // "bottom-up"; the plug-in's first scan line is the top row, so the
        // caller's order is handed on reversed.
        return AddBitmap(FreeImage_ConvertFromRawBits(const_cast<BYTE*>(bits), width, height, pitch, bitsPerPixel,
                                                      redMask, greenMask, blueMask, topDown != 0 ? FALSE : TRUE));
    });
}

int32_t MVIMGPLUG_FlipVertical(MvimgplugHandle bitmap) {
    return ChangeInPlace(bitmap, [](FIBITMAP* dib) { return FreeImage_FlipVertical(dib) != FALSE; });
}

int32_t MVIMGPLUG_Invert(MvimgplugHandle bitmap) {
    return ChangeInPlace(bitmap, [](FIBITMAP* dib) { return FreeImage_Invert(dib) != FALSE; });
}

}  // extern "C"
