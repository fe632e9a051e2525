#include "imaging/twain/image_metadata_record.h"

#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"

namespace scanvelt {

void ImageMetadataRecord::Save(int32_t imageId, bool keepPropertyItems) {
    ValidateImage(imageId);
    GetImageWidth(imageId, width_);
    GetImageHeight(imageId, height_);
    GetImageVerticalResolution(imageId, verticalDpi_);
    GetImageHorizontalResolution(imageId, horizontalDpi_);
    pixelFormat_ = 0;
    GetImagePixelFormat(imageId, pixelFormat_);
    items_.clear();
    if (!keepPropertyItems) return;
    int32_t count = 0;
    if (GetImagePropertyCount(imageId, count) != OK) return;
    for (int32_t n = 1; n <= count; ++n) {
        if (auto item = PropertyItemAt(imageId, n, count)) items_.push_back(std::move(*item));
    }
}

void ImageMetadataRecord::Restore(int32_t imageId) {
    float vertical = 0.0f, horizontal = 0.0f;
    GetImageVerticalResolution(imageId, vertical);
    GetImageHorizontalResolution(imageId, horizontal);
    if (vertical != verticalDpi_ || horizontal != horizontalDpi_)
        SetImageResolution(imageId, horizontalDpi_, verticalDpi_, true);
    std::vector<uint8_t> value;
    for (const auto& item : items_) {
        value.clear();
        item.GetDataB(value);
        // A refused item is skipped; the rest still go in.
        SetPropertyItemValues(imageId, item.ID(), item.ItemType(), value, false);
    }
    items_.clear();
}

}  // namespace scanvelt
