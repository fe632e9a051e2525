#include "imaging/engine/drawing_on_devices.h"

#include <functional>
#include <optional>

#include "imaging/engine/image_table.h"
#include "platform/gdiplus/graphics/flat_api.h"

namespace scanvelt {
namespace {

using namespace gdiplus;

using MakeGraphics = std::function<Status(GpGraphics&)>;
// Draws the image with the graphics; `retry` is true for the fallback attempt.
using DrawWith = std::function<Status(GpGraphics, const Image*, bool retry)>;

MorvalenStatus DrawOnDevice(int32_t imageId, const MakeGraphics& make, std::optional<int32_t> pageUnit,
                            int32_t smoothing, int32_t interpolation, const DrawWith& draw) {
    if (FindImageEntry(imageId) == nullptr) return InvalidParameter;
    GpGraphics graphics{};
    if (const Status status = make(graphics); status != Ok) return StatusOf(status);
    if (smoothing < SmoothingModeDefault || smoothing > SmoothingModeAntiAlias) smoothing = SmoothingModeNone;
    if (interpolation < InterpolationModeDefault || interpolation > InterpolationModeHighQualityBicubic) {
        interpolation = InterpolationModeNearestNeighbor;
    }
    // The settings' statuses do not matter: the draw's does.
    if (pageUnit) GdipSetPageUnit(graphics, static_cast<Unit>(*pageUnit));
    GdipSetSmoothingMode(graphics, static_cast<SmoothingMode>(smoothing));
    GdipSetInterpolationMode(graphics, static_cast<InterpolationMode>(interpolation));
    GdipSetCompositingQuality(graphics, CompositingQualityGammaCorrected);
    GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
    const Image* image = NativeImageOf(imageId);
    Status status = draw(graphics, image, false);
    if (status != Ok) {
        GdipSetSmoothingMode(graphics, SmoothingModeNone);
        GdipSetInterpolationMode(graphics, InterpolationModeNearestNeighbor);
        GdipSetCompositingQuality(graphics, CompositingQualityHighSpeed);
        GdipSetPixelOffsetMode(graphics, PixelOffsetModeNone);
        status = draw(graphics, image, true);
    }
    GdipDeleteGraphics(graphics);
    return StatusOf(status);
}

MakeGraphics OnDc(win::HDC dc) {
    return [dc](GpGraphics& graphics) { return GdipCreateFromHDC(dc, graphics); };
}

MakeGraphics OnWindow(uint32_t window) {
    return [window](GpGraphics& graphics) { return GdipCreateFromHWND(window, graphics); };
}

DrawWith WholeImage(int32_t x, int32_t y, int32_t width, int32_t height) {
    return [=](GpGraphics graphics, const Image* image, bool) {
        return GdipDrawImageRect(graphics, image, static_cast<float>(x), static_cast<float>(y),
                                 static_cast<float>(width), static_cast<float>(height));
    };
}

DrawWith SourceRectangle(int32_t dstX, int32_t dstY, int32_t dstWidth, int32_t dstHeight, int32_t srcX, int32_t srcY,
                         int32_t srcWidth, int32_t srcHeight, int32_t sourceUnit) {
    return [=](GpGraphics graphics, const Image* image, bool retry) {
        return GdipDrawImageRectRectI(graphics, image, dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth,
                                      srcHeight, retry ? static_cast<Unit>(sourceUnit) : UnitPixel,
                                      GpImageAttributes{});
    };
}

}  // namespace

MorvalenStatus DrawImageOnHdc(int32_t imageId, win::HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                              int32_t smoothing, int32_t interpolation, int32_t pageUnit) {
    return DrawOnDevice(imageId, OnDc(dc), pageUnit, smoothing, interpolation, WholeImage(x, y, width, height));
}

MorvalenStatus DrawImageOnHwnd(int32_t imageId, uint32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                               int32_t smoothing, int32_t interpolation, int32_t pageUnit) {
    return DrawOnDevice(imageId, OnWindow(window), pageUnit, smoothing, interpolation,
                        WholeImage(x, y, width, height));
}

MorvalenStatus DrawImageRectOnHdc(int32_t imageId, win::HDC dc, int32_t dstX, int32_t dstY, int32_t dstWidth,
                                  int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                                  int32_t smoothing, int32_t interpolation, int32_t sourceUnit) {
    return DrawOnDevice(imageId, OnDc(dc), std::nullopt, smoothing, interpolation,
                        SourceRectangle(dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth, srcHeight, sourceUnit));
}

MorvalenStatus DrawImageRectOnHwnd(int32_t imageId, uint32_t window, int32_t dstX, int32_t dstY, int32_t dstWidth,
                                   int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                                   int32_t smoothing, int32_t interpolation, int32_t sourceUnit) {
    return DrawOnDevice(imageId, OnWindow(window), std::nullopt, smoothing, interpolation,
                        SourceRectangle(dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth, srcHeight, sourceUnit));
}

}  // namespace scanvelt
