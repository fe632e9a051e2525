// The flat interface's graphics: making one, its settings and transform, and
// what it draws other than text.
#include "platform/gdiplus/graphics/flat_api.h"
#include "platform/gdiplus/graphics/flat_support.h"

namespace gdiplus {
namespace {

template <class Body>
Status WithGraphics(GpGraphics graphics, Body&& body) {
    return WithObject(GraphicsHandles(), graphics, std::forward<Body>(body));
}

template <class Make>
Status CreateGraphics(GpGraphics& graphics, Make&& make) {
    return CreateObject<GpGraphics, Graphics, Graphics>(GraphicsHandles(), graphics, std::forward<Make>(make));
}

// Runs `body` with the brush or pen behind a handle and the graphics.
template <class Handle, class Object, class Body>
Status WithGraphicsAnd(GpGraphics graphics, win::HandleTable<Handle, Object>& table, Handle handle, Body&& body) {
    return WithGraphics(graphics, [&](Graphics& g) {
        return WithObject(table, handle, [&](Object& object) { return body(g, object); });
    });
}

}  // namespace

Status GdipCreateFromHDC(win::HDC dc, GpGraphics& graphics) {
    return CreateGraphics(graphics, [&](std::unique_ptr<Graphics>& made) { return Graphics::FromHdc(dc, made); });
}

Status GdipCreateFromHWND(std::uint32_t window, GpGraphics& graphics) {
    return CreateGraphics(graphics,
                          [&](std::unique_ptr<Graphics>& made) { return Graphics::FromHwnd(window, made); });
}

Status GdipGetImageGraphicsContext(Image* image, GpGraphics& graphics) {
    if (image == nullptr) return InvalidParameter;
    return GdipGetImageGraphicsContext([image] { return image; }, graphics);
}

Status GdipGetImageGraphicsContext(ImageResolver resolve, GpGraphics& graphics) {
    return CreateGraphics(graphics, [&](std::unique_ptr<Graphics>& made) {
        return Graphics::FromImage(std::move(resolve), made);
    });
}

Status GdipDeleteGraphics(GpGraphics graphics) { return DeleteObject(GraphicsHandles(), graphics); }

Status GdipGetDC(GpGraphics graphics, win::HDC& dc) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.GetDC(dc); });
}

Status GdipReleaseDC(GpGraphics graphics, win::HDC dc) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.ReleaseDC(dc); });
}

Status GdipSetSmoothingMode(GpGraphics graphics, SmoothingMode mode) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetSmoothingMode(mode); });
}

Status GdipSetInterpolationMode(GpGraphics graphics, InterpolationMode mode) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetInterpolationMode(mode); });
}

Status GdipSetCompositingQuality(GpGraphics graphics, CompositingQuality quality) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetCompositingQuality(quality); });
}

Status GdipSetCompositingMode(GpGraphics graphics, CompositingMode mode) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetCompositingMode(mode); });
}

Status GdipSetPixelOffsetMode(GpGraphics graphics, PixelOffsetMode mode) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetPixelOffsetMode(mode); });
}

Status GdipSetTextRenderingHint(GpGraphics graphics, TextRenderingHint hint) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetTextRenderingHint(hint); });
}

Status GdipSetPageUnit(GpGraphics graphics, Unit unit) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetPageUnit(unit); });
}

Status GdipSetPageScale(GpGraphics graphics, float scale) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.SetPageScale(scale); });
}

Status GdipRotateWorldTransform(GpGraphics graphics, float angle, MatrixOrder order) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.RotateTransform(angle, order); });
}

Status GdipTransformPoints(GpGraphics graphics, CoordinateSpace destination, CoordinateSpace source, PointF* points,
                          std::int32_t count) {
    if (points == nullptr || count <= 0) return InvalidParameter;
    return WithGraphics(graphics, [&](Graphics& g) {
        return g.TransformPoints(destination, source, std::span<PointF>(points, static_cast<std::size_t>(count)));
    });
}

Status GdipGraphicsClear(GpGraphics graphics, ARGB color) {
    return WithGraphics(graphics, [&](Graphics& g) { return g.Clear(color); });
}

Status GdipFillRectangles(GpGraphics graphics, GpBrush brush, const RectF* rects, std::int32_t count) {
    if (rects == nullptr || count <= 0) return InvalidParameter;
    return WithGraphicsAnd(graphics, BrushHandles(), brush, [&](Graphics& g, Brush& b) {
        return g.FillRectangles(b, std::span<const RectF>(rects, static_cast<std::size_t>(count)));
    });
}

Status GdipDrawRectangle(GpGraphics graphics, GpPen pen, float x, float y, float width, float height) {
    return WithGraphicsAnd(graphics, PenHandles(), pen,
                           [&](Graphics& g, Pen& p) { return g.DrawRectangle(p, RectF{x, y, width, height}); });
}

Status GdipDrawLine(GpGraphics graphics, GpPen pen, float x1, float y1, float x2, float y2) {
    return WithGraphicsAnd(graphics, PenHandles(), pen,
                           [&](Graphics& g, Pen& p) { return g.DrawLine(p, PointF{x1, y1}, PointF{x2, y2}); });
}

Status GdipDrawImageRect(GpGraphics graphics, const Image* image, float x, float y, float width, float height) {
    if (image == nullptr) return InvalidParameter;
    return WithGraphics(graphics, [&](Graphics& g) { return g.DrawImage(*image, RectF{x, y, width, height}); });
}

Status GdipDrawImageRectI(GpGraphics graphics, const Image* image, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height) {
    return GdipDrawImageRect(graphics, image, static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                             static_cast<float>(height));
}

Status GdipDrawImageRectRectI(GpGraphics graphics, const Image* image, std::int32_t dstX, std::int32_t dstY,
                              std::int32_t dstWidth, std::int32_t dstHeight, std::int32_t srcX, std::int32_t srcY,
                              std::int32_t srcWidth, std::int32_t srcHeight, Unit srcUnit,
                              GpImageAttributes attributes) {
    if (image == nullptr) return InvalidParameter;
    std::shared_ptr<ImageAttributes> adjust;
    if (attributes != GpImageAttributes{}) {
        adjust = ImageAttributesHandles().find(attributes);
        if (!adjust) return InvalidParameter;
    }
    const auto f = [](std::int32_t v) { return static_cast<float>(v); };
    return WithGraphics(graphics, [&](Graphics& g) {
        return g.DrawImage(*image, RectF{f(dstX), f(dstY), f(dstWidth), f(dstHeight)},
                           RectF{f(srcX), f(srcY), f(srcWidth), f(srcHeight)}, srcUnit, adjust.get());
    });
}

}  // namespace gdiplus
