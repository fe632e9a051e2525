#pragma once
// What a transform that builds a new bitmap must carry over from the image it
// replaces: its resolution and, when the control keeps them, its property
// items (EXIF and the like). Recorded from the old image before the
// transform and applied to the new one afterwards.
#include <cstdint>
#include <vector>

#include "imaging/engine/gdip_property_item.h"

namespace scanvelt {

class ImageMetadataRecord {
public:
    // Decodes the image and records its size, resolution, pixel format and,
    // with keepPropertyItems, its property items in their order.
    void Save(int32_t imageId, bool keepPropertyItems);
    // Sets the recorded resolution where the image's differs (leaving the
    // image unmarked) and writes the recorded items; an item the image
    // refuses is skipped. The items are forgotten afterwards.
    void Restore(int32_t imageId);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    float horizontalDpi() const { return horizontalDpi_; }
    float verticalDpi() const { return verticalDpi_; }
    int32_t pixelFormat() const { return pixelFormat_; }
    size_t itemCount() const { return items_.size(); }

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    float verticalDpi_ = 0.0f;
    float horizontalDpi_ = 0.0f;
    int32_t pixelFormat_ = 0;
    std::vector<cGDIPPropertyItem> items_;
};

}  // namespace scanvelt
