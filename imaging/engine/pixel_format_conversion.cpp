#include "imaging/engine/pixel_format_conversion.h"

#include <optional>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {

namespace {

// An indexed copy of an indexed image was matched against the image's own
// colours when its format can address them all (else against the format's
// default palette, which the copy was made with): it must keep those colours.
void CopyPaletteInto(int32_t sourceId, int32_t copyId, int32_t format) {
    gdiplus::ColorPalette palette;
    if (GetImagePalette(sourceId, palette) != OK || palette.Count == 0) return;
    if (palette.Count > (1u << gdiplus::GetPixelFormatSize(format))) return;
    SetImagePaletteUnmarked(copyId, palette);
}

// The image's pixels in `format` (nullopt: its own format) in a new image over
// a buffer of its own, with its palette, resolution and property items.
MorvalenStatus ConvertIntoOwnBuffer(int32_t imageId, std::optional<int32_t> format, int32_t& newId) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    int32_t height = 0;
    int32_t width = 0;
    float verticalDpi = 0;
    float horizontalDpi = 0;
    int32_t propertyCount = 0;
    GetImageHeight(imageId, height);
    GetImageWidth(imageId, width);
    GetImageVerticalResolution(imageId, verticalDpi);
    GetImageHorizontalResolution(imageId, horizontalDpi);
    GetImagePropertyCount(imageId, propertyCount);
    const int32_t sourceFormat = PixelFormatOf(imageId);
    const int32_t targetFormat = format.value_or(sourceFormat);
    if (width <= 0 || height <= 0) return GenericError;

    const int32_t stride = StrideForDepth(width, DepthOfFormat(targetFormat));
    if (stride == 0) return InvalidParameter;
    gdiplus::OwnedBuffer pixels = gdiplus::AllocBuffer(static_cast<size_t>(CheckedMultiply(stride, height)));
    if (!pixels) return OutOfMemory;
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    const gdiplus::Status copied = image->CopyPixels(gdiplus::Rect{0, 0, width, height}, targetFormat, stride, pixels.get());
    if (copied != gdiplus::Ok) return StatusOf(copied);
    int32_t copyId = 0;
    const MorvalenStatus created = ImageFromBuffer(width, height, stride, targetFormat, std::move(pixels), copyId);
    if (created != OK) return created;

    try {
        if (IsIndexedFormat(targetFormat) && IsIndexedFormat(sourceFormat)) {
            CopyPaletteInto(imageId, copyId, targetFormat);
        }
        if (horizontalDpi > 0 && verticalDpi > 0) SetImageResolution(copyId, horizontalDpi, verticalDpi, true);
        // In the image's own order, after the resolution: a copied resolution item wins.
        for (int32_t n = 1; n <= propertyCount; ++n) {
            const std::optional<cGDIPPropertyItem> item = PropertyItemAt(imageId, n, propertyCount);
            if (!item) continue;
            SetPropertyItemRaw(copyId, item->ID(), item->ItemType(), item->Length(), item->DataPtr(), false);
        }
    } catch (...) {
        ReleaseImage(copyId);  // no half-made copy is left behind
        throw;
    }
    newId = copyId;
    return OK;
}

}  // namespace

MorvalenStatus ConvertPixelFormat(int32_t imageId, int32_t pixelFormat, bool toNewId, int32_t& newId) {
    return StatusOfRun([&] {
        int32_t copyId = 0;
        const MorvalenStatus status = ConvertIntoOwnBuffer(imageId, pixelFormat, copyId);
        if (status != OK) return status;
        if (toNewId) {
            newId = copyId;
            return OK;
        }
        if (ReplaceImageBitmap(imageId, copyId) == 0) {
            ReleaseImage(copyId);
            return GenericError;
        }
        return OK;
    });
}

MorvalenStatus CopyImageToOwnBuffer(int32_t imageId, int32_t& newId) {
    return StatusOfRun([&] { return ConvertIntoOwnBuffer(imageId, std::nullopt, newId); });
}

MorvalenStatus ConvertToArgbInPlace(int32_t imageId) {
    int32_t unused = 0;
    return ConvertPixelFormat(imageId, gdiplus::PixelFormat32bppARGB, false, unused);
}

}  // namespace scanvelt
