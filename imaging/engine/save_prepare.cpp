#include "imaging/engine/save_prepare.h"

#include <cmath>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"

namespace scanvelt {

namespace {

constexpr float kLowestEncodedDpi = 0.5f;
constexpr float kFactorStep = 0.1f;
// Steps walked one by one, as the single-precision sums decide the factor;
// past them (a resolution below about 0.005 dpi) the factor is computed.
constexpr int kMaxFactorSteps = 1000;

bool HasTimeZoneOffset(int32_t imageId) {
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return false;
    gdiplus::PropertyItem item;
    return image->GetPropertyItem(kTagTimeZoneOffset, item) == gdiplus::Ok;
}

void RaiseLowResolution(int32_t imageId) {
    float horizontal = 0;
    float vertical = 0;
    GetImageHorizontalResolution(imageId, horizontal);
    GetImageVerticalResolution(imageId, vertical);
    if (!(horizontal < kLowestEncodedDpi || vertical < kLowestEncodedDpi)) return;
    const std::optional<float> factor = EncoderResolutionFactor(static_cast<float>(MinDouble(vertical, horizontal)));
    if (!factor) return;
    SetImageResolution(imageId, horizontal * *factor, vertical * *factor, false);
}

}  // namespace

std::optional<float> EncoderResolutionFactor(float smaller) {
    if (!(smaller > 0.0f) || !std::isfinite(smaller)) return std::nullopt;
    float factor = 1.0f;
    for (int step = 0; step < kMaxFactorSteps; ++step) {
        if (static_cast<float>(factor * smaller) >= kLowestEncodedDpi) return factor;
        factor = static_cast<float>(factor + kFactorStep);
    }
    // Whole tenths, rounded up, so the product still reaches 0.5.
    const double tenths = std::ceil(static_cast<double>(kLowestEncodedDpi) / smaller * 10.0);
    if (tenths > 3.0e38) return std::nullopt;
    factor = static_cast<float>(tenths / 10.0);
    while (static_cast<float>(factor * smaller) < kLowestEncodedDpi) factor = std::nextafter(factor, INFINITY);
    return factor;
}

void PrepareForEncoder(int32_t imageId) {
    if (FindImageIndex(imageId) < 0) return;
    RaiseLowResolution(imageId);
    // An image holds one item per tag ID, so one removal is all it takes; an
    // item that cannot be removed stays (asking again would not help).
    if (HasTimeZoneOffset(imageId) && RemoveImagePropertyItem(imageId, kTagTimeZoneOffset) == OK) {
        MarkImageModified(imageId);
    }
}

}  // namespace scanvelt
