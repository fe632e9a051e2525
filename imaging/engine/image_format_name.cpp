#include "imaging/engine/image_format_name.h"

#include <string_view>

#include "imaging/engine/image_table.h"
#include "platform/gdiplus/image_format.h"

namespace scanvelt {

std::string RawFormatName(const gdiplus::Guid& rawFormat) {
    struct NamedFormat {
        const gdiplus::Guid& format;
        std::string_view name;
    };
    const NamedFormat names[] = {
        {gdiplus::ImageFormatUndefined, "UNKNOWN"}, {gdiplus::ImageFormatMemoryBMP, "Memory BMP"},
        {gdiplus::ImageFormatBMP, "BMP"},           {gdiplus::ImageFormatEMF, "EMF"},
        {gdiplus::ImageFormatWMF, "WMF"},           {gdiplus::ImageFormatJPEG, "JPEG"},
        {gdiplus::ImageFormatPNG, "PNG"},           {gdiplus::ImageFormatGIF, "GIF"},
        {gdiplus::ImageFormatTIFF, "TIFF"},         {gdiplus::ImageFormatEXIF, "EXIF"},
        {gdiplus::ImageFormatIcon, "ICON"},
    };
    for (const NamedFormat& named : names) {
        if (named.format == rawFormat) return std::string(named.name);
    }
    return "Undefined";
}

MorvalenStatus ImageFormatName(int32_t imageId, std::string& name) {
    name.clear();
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    name = RawFormatName(image->GetRawFormat());
    return OK;
}

std::string RawFormatNameOf(int32_t imageId) {
    std::string name;
    ImageFormatName(imageId, name);
    return name;
}

MorvalenStatus ValidateImage(int32_t imageId) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    return StatusOf(image->ForceValidation());
}

void CacheImageInfo(int32_t imageId) {
    ValidateImage(imageId);
    ImageEntry* entry = FindImageEntry(imageId);
    if (entry != nullptr && entry->FormatName.empty()) entry->FormatName = RawFormatNameOf(imageId);
}

}  // namespace scanvelt
