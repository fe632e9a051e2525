#include "imaging/engine/image_resolution.h"

#include <cmath>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"

namespace scanvelt {

namespace {

constexpr int32_t kTypeRational = 5;

void PutLittleEndian(uint8_t* bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

std::array<uint8_t, 8> ResolutionRational(float dpi) {
    const double scale = std::pow(10.0, DecimalPlaces(dpi));
    const int32_t numerator = RoundToInt32(scale * static_cast<double>(dpi));
    const int32_t denominator = RoundToInt32(scale);
    std::array<uint8_t, 8> value{};
    PutLittleEndian(value.data(), numerator);
    PutLittleEndian(value.data() + 4, denominator);
    return value;
}

MorvalenStatus SetImageResolution(int32_t imageId, float horizontalDpi, float verticalDpi, bool leaveUnmarked) {
    return StatusOfRun([&] {
        if (FindImageIndex(imageId) < 0) return InvalidParameter;
        ValidateImage(imageId);
        const std::array<uint8_t, 8> x = ResolutionRational(horizontalDpi);
        const std::array<uint8_t, 8> y = ResolutionRational(verticalDpi);
        SetPropertyItemValues(imageId, kTagXResolution, kTypeRational, x, false);
        SetPropertyItemValues(imageId, kTagYResolution, kTypeRational, y, false);
        gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
        if (bitmap == nullptr) return InvalidParameter;
        const MorvalenStatus status = StatusOf(bitmap->SetResolution(horizontalDpi, verticalDpi));
        if (status == OK && !leaveUnmarked) MarkImageModified(imageId);
        return status;
    });
}

void SyncResolutionTags(int32_t imageId) {
    float horizontal = 0;
    float vertical = 0;
    if (GetImageHorizontalResolution(imageId, horizontal) != OK || GetImageVerticalResolution(imageId, vertical) != OK) {
        return;
    }
    if (horizontal != 0 && vertical != 0) SetImageResolution(imageId, horizontal, vertical, true);
}

}  // namespace scanvelt
