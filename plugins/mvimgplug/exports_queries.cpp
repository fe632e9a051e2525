// What a bitmap is, and the few things set on it in place.
#include <FreeImage.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/object_table.h"

using namespace mvimgplug;

namespace {

// A DIB whose pixels are read through colour masks (BI_BITFIELDS).
constexpr DWORD kBitFieldsCompression = 3;

// TIFF's photometric numbers for the library's colour types.
int32_t PhotometricOf(FREE_IMAGE_COLOR_TYPE colorType) {
    switch (colorType) {
        case FIC_MINISWHITE: return 0;
        case FIC_MINISBLACK: return 1;
        case FIC_RGB:
        case FIC_RGBALPHA: return 2;
        case FIC_PALETTE: return 3;
        case FIC_CMYK: return 5;
    }
    return 2;
}

// Makes one more palette entry transparent. The library's own setter starts a
// new table at each call, so that of several transparent entries set one
// after the other only the last would stay transparent.
void AddTransparentIndex(FIBITMAP* dib, int32_t index) {
    const unsigned colours = FreeImage_GetColorsUsed(dib);
    if (FreeImage_GetPalette(dib) == nullptr || index < 0 || static_cast<unsigned>(index) >= colours) return;
    std::vector<BYTE> table(colours, 0xFF);
    const unsigned kept = std::min(FreeImage_GetTransparencyCount(dib), colours);
    if (const BYTE* current = FreeImage_GetTransparencyTable(dib); current != nullptr) {
        std::copy(current, current + kept, table.begin());
    }
    table[static_cast<size_t>(index)] = 0;
    FreeImage_SetTransparencyTable(dib, table.data(), static_cast<int>(colours));
}

// A value read from a bitmap or locked page; `none` for any other handle.
template <class Result, class Read>
Result ReadBitmap(MvimgplugHandle handle, Result none, Read&& read) {
    return RunExport<Result>(none, [&]() -> Result {
        FIBITMAP* dib = FindBitmap(handle);
        return dib == nullptr ? none : static_cast<Result>(read(dib));
    });
}

template <class Change>
void ChangeBitmap(MvimgplugHandle handle, Change&& change) {
    RunExport([&] {
        if (FIBITMAP* dib = FindBitmap(handle)) change(dib);
    });
}

}  // namespace

extern "C" {

uint32_t MVIMGPLUG_GetWidth(MvimgplugHandle bitmap) { return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetWidth); }

uint32_t MVIMGPLUG_GetHeight(MvimgplugHandle bitmap) { return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetHeight); }

uint32_t MVIMGPLUG_GetPitch(MvimgplugHandle bitmap) { return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetPitch); }

uint32_t MVIMGPLUG_GetBPP(MvimgplugHandle bitmap) { return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetBPP); }

uint8_t* MVIMGPLUG_GetBits(MvimgplugHandle bitmap) {
    return ReadBitmap<uint8_t*>(bitmap, nullptr, [](FIBITMAP* dib) { return FreeImage_GetBits(dib); });
}

const void* MVIMGPLUG_GetInfo(MvimgplugHandle bitmap) {
    return RunExport<const void*>(nullptr, [&]() -> const void* {
        PluginObject* object = Objects().Find(bitmap, {ObjectKind::Bitmap, ObjectKind::Page});
        if (object == nullptr) return nullptr;
        FIBITMAP* dib = object->bitmap;
        const unsigned colours = FreeImage_GetPalette(dib) != nullptr ? FreeImage_GetColorsUsed(dib) : 0;
        BITMAPINFOHEADER header = *FreeImage_GetInfoHeader(dib);
        // Without its masks a 16-bit bitmap cannot tell 5-6-5 from 5-5-5.
        const bool bitFields = header.biCompression == kBitFieldsCompression;
        const size_t masksSize = bitFields ? 3 * sizeof(DWORD) : 0;
        object->info.resize(sizeof(BITMAPINFOHEADER) + masksSize + colours * sizeof(RGBQUAD));
        header.biSize = sizeof(BITMAPINFOHEADER);
        // The rows run top-down (see mvimgplug.h), which a DIB says by a negative height.
        header.biHeight = -static_cast<LONG>(FreeImage_GetHeight(dib));
        header.biClrUsed = colours;
        std::memcpy(object->info.data(), &header, sizeof header);
        if (bitFields) {
            const DWORD masks[3] = {FreeImage_GetRedMask(dib), FreeImage_GetGreenMask(dib), FreeImage_GetBlueMask(dib)};
            std::memcpy(object->info.data() + sizeof header, masks, sizeof masks);
        }
        if (colours > 0) {
            std::memcpy(object->info.data() + sizeof header + masksSize, FreeImage_GetPalette(dib),
                        colours * sizeof(RGBQUAD));
        }
        return object->info.data();
    });
}

int32_t MVIMGPLUG_GetImageType(MvimgplugHandle bitmap) {
    return ReadBitmap<int32_t>(bitmap, 0, FreeImage_GetImageType);
}

int32_t MVIMGPLUG_GetColorType(MvimgplugHandle bitmap) {
    return ReadBitmap<int32_t>(bitmap, 0, FreeImage_GetColorType);
}

int32_t MVIMGPLUG_GetPhotoMetric(MvimgplugHandle bitmap) {
    return ReadBitmap<int32_t>(bitmap, 2, [](FIBITMAP* dib) { return PhotometricOf(FreeImage_GetColorType(dib)); });
}

uint32_t MVIMGPLUG_GetColorsUsed(MvimgplugHandle bitmap) {
    return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetColorsUsed);
}

uint8_t* MVIMGPLUG_GetPalette(MvimgplugHandle bitmap) {
    return ReadBitmap<uint8_t*>(bitmap, nullptr,
                                [](FIBITMAP* dib) { return reinterpret_cast<uint8_t*>(FreeImage_GetPalette(dib)); });
}

uint32_t MVIMGPLUG_GetTransparencyCount(MvimgplugHandle bitmap) {
    return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetTransparencyCount);
}

int32_t MVIMGPLUG_IsTransparent(MvimgplugHandle bitmap) {
    return ReadBitmap<int32_t>(bitmap, 0, [](FIBITMAP* dib) { return FreeImage_IsTransparent(dib) ? 1 : 0; });
}

uint32_t MVIMGPLUG_GetDotsPerMeterX(MvimgplugHandle bitmap) {
    return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetDotsPerMeterX);
}

uint32_t MVIMGPLUG_GetDotsPerMeterY(MvimgplugHandle bitmap) {
    return ReadBitmap<uint32_t>(bitmap, 0, FreeImage_GetDotsPerMeterY);
}

void MVIMGPLUG_SetDotsPerMeterX(MvimgplugHandle bitmap, uint32_t value) {
    ChangeBitmap(bitmap, [value](FIBITMAP* dib) { FreeImage_SetDotsPerMeterX(dib, value); });
}

void MVIMGPLUG_SetDotsPerMeterY(MvimgplugHandle bitmap, uint32_t value) {
    ChangeBitmap(bitmap, [value](FIBITMAP* dib) { FreeImage_SetDotsPerMeterY(dib, value); });
}

void MVIMGPLUG_SetTransparentIndex(MvimgplugHandle bitmap, int32_t index) {
    ChangeBitmap(bitmap, [index](FIBITMAP* dib) { AddTransparentIndex(dib, index); });
}

}  // extern "C"
