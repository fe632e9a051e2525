#include "imaging/engine/drawing_into_image.h"

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "platform/gdiplus/graphics/graphics_types.h"

namespace scanvelt {

MorvalenStatus DrawImageIntoImage(int32_t destinationId, int32_t sourceId, int32_t dstX, int32_t dstY,
                                  int32_t dstWidth, int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth,
                                  int32_t srcHeight, int32_t interpolation) {
    if (destinationId == 0) return GenericError;
    gdiplus::GpGraphics graphics{};
    if (const MorvalenStatus status = GetImageGraphics(destinationId, graphics, 0); status != OK) return status;
    SetGpSmoothingMode(graphics, gdiplus::SmoothingModeNone);
    SetGpCompositingQuality(graphics, gdiplus::CompositingQualityGammaCorrected);
    SetGpPixelOffsetMode(graphics, gdiplus::PixelOffsetModeHalf);
    SetGpInterpolationMode(graphics, interpolation);
    const auto draw = [&] {
        return DrawGpImageRectRect(graphics, sourceId, dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth,
                                   srcHeight, gdiplus::UnitPixel, gdiplus::GpImageAttributes{});
    };
    MorvalenStatus status = draw();
    if (status != OK) {
        SetGpCompositingQuality(graphics, gdiplus::CompositingQualityGammaCorrected);
        SetGpPixelOffsetMode(graphics, gdiplus::PixelOffsetModeNone);
        SetGpInterpolationMode(graphics, gdiplus::InterpolationModeNearestNeighbor);
        status = draw();
    }
    DeleteGpGraphics(graphics);
    return status;
}

}  // namespace scanvelt
