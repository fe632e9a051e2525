#include "imaging/engine/image_queries.h"

#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"

namespace scanvelt {

namespace {

// Reads one value of the GDI+ image of a registered ID; InvalidParameter for
// an unregistered ID or one whose image is not there.
template <class Value, class Reader>
MorvalenStatus ReadImageValue(int32_t imageId, Value& value, Reader read) {
    value = Value{};
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    value = read(*image);
    return OK;
}

}  // namespace

MorvalenStatus GetImageWidth(int32_t imageId, int32_t& width) {
    return ReadImageValue(imageId, width, [](const gdiplus::Image& image) {
        return static_cast<int32_t>(image.GetWidth());
    });
}

MorvalenStatus GetImageHeight(int32_t imageId, int32_t& height) {
    return ReadImageValue(imageId, height, [](const gdiplus::Image& image) {
        return static_cast<int32_t>(image.GetHeight());
    });
}

MorvalenStatus GetImageHorizontalResolution(int32_t imageId, float& dpi) {
    return ReadImageValue(imageId, dpi, [](const gdiplus::Image& image) { return image.GetHorizontalResolution(); });
}

MorvalenStatus GetImageVerticalResolution(int32_t imageId, float& dpi) {
    return ReadImageValue(imageId, dpi, [](const gdiplus::Image& image) { return image.GetVerticalResolution(); });
}

MorvalenStatus GetImagePixelFormat(int32_t imageId, int32_t& format) {
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    format = image->GetPixelFormat();
    return OK;
}

int32_t PixelFormatOf(int32_t imageId) {
    int32_t format = 0;
    return GetImagePixelFormat(imageId, format) == OK ? format : 0;
}

MorvalenStatus GetPixelFormatName(int32_t imageId, std::string& name) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    int32_t format = 0;
    const MorvalenStatus status = GetImagePixelFormat(imageId, format);
    if (status != OK) return status;
    name = PixelFormatText(format);
    return OK;
}

MorvalenStatus GetImageBitDepth(int32_t imageId, int32_t& depth) {
    depth = 0;
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    int32_t format = 0;
    const MorvalenStatus status = GetImagePixelFormat(imageId, format);
    if (status == OK) depth = DepthOfFormat(format);
    return status;
}

int32_t BitDepthOf(int32_t imageId) { return BitsPerPixelOf(PixelFormatOf(imageId)); }

std::string FormatNameOf(int32_t imageId) {
    if (const ImageEntry* entry = FindImageEntry(imageId)) return entry->FormatName;
    return RawFormatNameOf(imageId);
}

MorvalenStatus GetImagePixel(int32_t imageId, int32_t x, int32_t y, uint32_t& color) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    const gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
    if (bitmap == nullptr) return InvalidParameter;
    return StatusOf(bitmap->GetPixel(x, y, color));
}

}  // namespace scanvelt
