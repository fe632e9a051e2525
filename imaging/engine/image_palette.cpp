#include "imaging/engine/image_palette.h"

#include "imaging/engine/image_table.h"
#include "platform/gdiplus/argb.h"

namespace scanvelt {

MorvalenStatus GetImagePaletteSize(int32_t imageId, int32_t& size) {
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    size = static_cast<int32_t>(image->GetPaletteSize());
    return OK;
}

MorvalenStatus GetImagePalette(int32_t imageId, gdiplus::ColorPalette& palette) {
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    return StatusOf(image->GetPalette(palette));
}

MorvalenStatus ReadImagePalette(int32_t imageId, gdiplus::ColorPalette& palette) {
    int32_t size = 0;
    if (const MorvalenStatus status = GetImagePaletteSize(imageId, size); status != OK) return status;
    return GetImagePalette(imageId, palette);
}

MorvalenStatus SetImagePaletteUnmarked(int32_t imageId, const gdiplus::ColorPalette& palette) {
    gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    return StatusOf(image->SetPalette(palette));
}

MorvalenStatus SetImagePalette(int32_t imageId, const gdiplus::ColorPalette& palette) {
    const MorvalenStatus status = SetImagePaletteUnmarked(imageId, palette);
    if (status == OK) MarkImageModified(imageId);
    return status;
}

bool IsGreyscalePalette(int32_t imageId) {
    if (FindImageIndex(imageId) < 0) return false;
    gdiplus::ColorPalette palette;
    if (GetImagePalette(imageId, palette) != OK || palette.Count != 256) return false;
    for (uint32_t i = 0; i < palette.Count; ++i) {
        const gdiplus::ARGB entry = palette.Entries[i];
        if (gdiplus::RedOf(entry) != i || gdiplus::GreenOf(entry) != i || gdiplus::BlueOf(entry) != i) return false;
    }
    return true;
}

}  // namespace scanvelt
