#include "imaging/twain/scaled_region_copy.h"

#include <cmath>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_table.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {
namespace {

constexpr int32_t kHighQualityBicubic = 7;
constexpr int32_t kSmoothingNone = 3;
constexpr int32_t kCompositingHighSpeed = 1;
constexpr int32_t kPixelOffsetHalf = 4;

}  // namespace

MorvalenStatus ScaledRegionCopy(int32_t imageId, int32_t left, int32_t top, int32_t width, int32_t height, double scale,
                                int32_t& copyId) {
    const double scaledWidth = std::nearbyint(width * scale), scaledHeight = std::nearbyint(height * scale);
    if (!(scaledWidth >= 1 && scaledHeight >= 1 && scaledWidth < kMaxScaledSide && scaledHeight < kMaxScaledSide))
        return InvalidParameter;
    const int32_t w = int32_t(scaledWidth), h = int32_t(scaledHeight);
    int32_t id = 0;
    MorvalenStatus status = ImageFromBuffer(w, h, 0, gdiplus::PixelFormat24bppRGB, nullptr, id);
    if (status != OK) return status;
    gdiplus::GpGraphics graphics{};
    status = GetImageGraphics(id, graphics, gdiplus::PixelFormat24bppRGB);
    if (status == OK) {
        status = SetGpInterpolationMode(graphics, kHighQualityBicubic);
        if (status == OK) status = SetGpSmoothingMode(graphics, kSmoothingNone);
        if (status == OK) status = SetGpCompositingQuality(graphics, kCompositingHighSpeed);
        if (status == OK) status = SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
        if (status == OK)
            status = DrawGpImageRectRect(graphics, imageId, 0, 0, w, h, left, top, width, height, gdiplus::UnitPixel,
                                         gdiplus::GpImageAttributes{});
        DeleteGpGraphics(graphics);
    }
    if (status != OK) {
        ReleaseImage(id);
        return status;
    }
    copyId = id;
    return OK;
}

}  // namespace scanvelt
