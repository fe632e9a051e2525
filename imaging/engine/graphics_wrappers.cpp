#include "imaging/engine/graphics_wrappers.h"

#include "imaging/engine/image_table.h"
#include "platform/gdiplus/graphics/flat_api.h"

namespace scanvelt {

using namespace gdiplus;

MorvalenStatus GpGraphicsFromHdc(win::HDC dc, GpGraphics& graphics) {
    return StatusOf(GdipCreateFromHDC(dc, graphics));
}

MorvalenStatus DeleteGpGraphics(GpGraphics graphics) {
    if (graphics == GpGraphics{}) return InvalidParameter;
    return StatusOf(GdipDeleteGraphics(graphics));
}

MorvalenStatus SetGpSmoothingMode(GpGraphics graphics, int32_t mode) {
    return StatusOf(GdipSetSmoothingMode(graphics, static_cast<SmoothingMode>(mode)));
}

MorvalenStatus SetGpInterpolationMode(GpGraphics graphics, int32_t mode) {
    return StatusOf(GdipSetInterpolationMode(graphics, static_cast<InterpolationMode>(mode)));
}

MorvalenStatus SetGpCompositingQuality(GpGraphics graphics, int32_t quality) {
    return StatusOf(GdipSetCompositingQuality(graphics, static_cast<CompositingQuality>(quality)));
}

MorvalenStatus SetGpPixelOffsetMode(GpGraphics graphics, int32_t mode) {
    return StatusOf(GdipSetPixelOffsetMode(graphics, static_cast<PixelOffsetMode>(mode)));
}

MorvalenStatus RotateGpWorldTransform(GpGraphics graphics, float angle, int32_t order) {
    return StatusOf(GdipRotateWorldTransform(graphics, angle, static_cast<MatrixOrder>(order)));
}

MorvalenStatus TransformGpPoints(GpGraphics graphics, int32_t destinationSpace, int32_t sourceSpace, PointF* points,
                                 int32_t count) {
    return StatusOf(GdipTransformPoints(graphics, static_cast<CoordinateSpace>(destinationSpace),
                                        static_cast<CoordinateSpace>(sourceSpace), points, count));
}

MorvalenStatus ClearGpGraphics(GpGraphics graphics, uint32_t color) {
    return StatusOf(GdipGraphicsClear(graphics, color));
}

MorvalenStatus FillGpRectangles(GpGraphics graphics, GpBrush brush, const RectF* rects, int32_t count) {
    return StatusOf(GdipFillRectangles(graphics, brush, rects, count));
}

MorvalenStatus DrawGpRectangle(GpGraphics graphics, GpPen pen, float x, float y, float width, float height) {
    return StatusOf(GdipDrawRectangle(graphics, pen, x, y, width, height));
}

MorvalenStatus CreateGpLineBrushFromRect(const RectF& rect, uint32_t startColor, uint32_t endColor, int32_t mode,
                                         int32_t wrapMode, GpBrush& brush) {
    return StatusOf(GdipCreateLineBrushFromRect(&rect, startColor, endColor, static_cast<LinearGradientMode>(mode),
                                                static_cast<WrapMode>(wrapMode), brush));
}

MorvalenStatus DrawGpImageRect(GpGraphics graphics, int32_t imageId, int32_t x, int32_t y, int32_t width,
                               int32_t height) {
    return StatusOf(GdipDrawImageRectI(graphics, NativeImageOf(imageId), x, y, width, height));
}

MorvalenStatus DrawGpImageRectRect(GpGraphics graphics, int32_t imageId, int32_t dstX, int32_t dstY,
                                   int32_t dstWidth, int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth,
                                   int32_t srcHeight, int32_t srcUnit, GpImageAttributes attributes) {
    return StatusOf(GdipDrawImageRectRectI(graphics, NativeImageOf(imageId), dstX, dstY, dstWidth, dstHeight, srcX,
                                           srcY, srcWidth, srcHeight, static_cast<Unit>(srcUnit), attributes));
}

MorvalenStatus CreateGpPen(uint32_t color, float width, int32_t unit, GpPen& pen) {
    return StatusOf(GdipCreatePen1(color, width, static_cast<Unit>(unit), pen));
}

MorvalenStatus DeleteGpPen(GpPen pen) { return StatusOf(GdipDeletePen(pen)); }

MorvalenStatus CreateGpSolidBrush(uint32_t color, GpBrush& brush) { return StatusOf(GdipCreateSolidFill(color, brush)); }

MorvalenStatus CreateGpTextureBrush(int32_t imageId, int32_t wrapMode, GpBrush& brush) {
    return StatusOf(GdipCreateTexture(NativeImageOf(imageId), static_cast<WrapMode>(wrapMode), brush));
}

MorvalenStatus DeleteGpBrush(GpBrush brush) { return StatusOf(GdipDeleteBrush(brush)); }

MorvalenStatus CreateGpImageAttributes(GpImageAttributes& attributes) {
    return StatusOf(GdipCreateImageAttributes(attributes));
}

MorvalenStatus DisposeGpImageAttributes(GpImageAttributes attributes) {
    return StatusOf(GdipDisposeImageAttributes(attributes));
}

MorvalenStatus SetGpAttributesRemapTable(GpImageAttributes attributes, int32_t adjustType, bool enable,
                                         uint32_t mapSize, const ColorMap* map) {
    return StatusOf(
        GdipSetImageAttributesRemapTable(attributes, static_cast<ColorAdjustType>(adjustType), enable, mapSize, map));
}

MorvalenStatus SetGpAttributesGamma(GpImageAttributes attributes, int32_t adjustType, bool enable, float gamma) {
    return StatusOf(GdipSetImageAttributesGamma(attributes, static_cast<ColorAdjustType>(adjustType), enable, gamma));
}

}  // namespace scanvelt
