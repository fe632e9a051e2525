// The flat interface's pens, brushes and image attributes.
#include "platform/gdiplus/graphics/flat_api.h"
#include "platform/gdiplus/graphics/flat_support.h"

namespace gdiplus {

Status GdipCreatePen1(ARGB color, float width, Unit unit, GpPen& pen) {
    return CreateObject<GpPen, Pen, Pen>(PenHandles(), pen,
                                         [&](std::unique_ptr<Pen>& made) { return Pen::Create(color, width, unit, made); });
}

Status GdipDeletePen(GpPen pen) { return DeleteObject(PenHandles(), pen); }

Status GdipCreateSolidFill(ARGB color, GpBrush& brush) {
    return CreateObject<GpBrush, Brush, SolidBrush>(BrushHandles(), brush, [&](std::unique_ptr<SolidBrush>& made) {
        made = std::make_unique<SolidBrush>(color);
        return Ok;
    });
}

Status GdipCreateLineBrushFromRect(const RectF* rect, ARGB startColor, ARGB endColor, LinearGradientMode mode,
                                   WrapMode wrapMode, GpBrush& brush) {
    if (rect == nullptr) return InvalidParameter;
    return CreateObject<GpBrush, Brush, LinearGradientBrush>(
        BrushHandles(), brush, [&](std::unique_ptr<LinearGradientBrush>& made) {
            return LinearGradientBrush::Create(*rect, startColor, endColor, mode, wrapMode, made);
        });
}

Status GdipCreateTexture(const Image* image, WrapMode wrapMode, GpBrush& brush) {
    if (image == nullptr) return InvalidParameter;
    return CreateObject<GpBrush, Brush, TextureBrush>(BrushHandles(), brush, [&](std::unique_ptr<TextureBrush>& made) {
        return TextureBrush::Create(*image, wrapMode, made);
    });
}

Status GdipDeleteBrush(GpBrush brush) { return DeleteObject(BrushHandles(), brush); }

Status GdipCreateImageAttributes(GpImageAttributes& attributes) {
    return CreateObject<GpImageAttributes, ImageAttributes, ImageAttributes>(
        ImageAttributesHandles(), attributes, [&](std::unique_ptr<ImageAttributes>& made) {
            made = std::make_unique<ImageAttributes>();
            return Ok;
        });
}

Status GdipDisposeImageAttributes(GpImageAttributes attributes) {
    return DeleteObject(ImageAttributesHandles(), attributes);
}

Status GdipSetImageAttributesRemapTable(GpImageAttributes attributes, ColorAdjustType type, bool enable,
                                        std::uint32_t mapSize, const ColorMap* map) {
    if (enable && (map == nullptr || mapSize == 0)) return InvalidParameter;
    return WithObject(ImageAttributesHandles(), attributes, [&](ImageAttributes& a) {
        return a.SetRemapTable(type, enable, enable ? std::span<const ColorMap>(map, mapSize) : std::span<const ColorMap>{});
    });
}

Status GdipSetImageAttributesGamma(GpImageAttributes attributes, ColorAdjustType type, bool enable, float gamma) {
    return WithObject(ImageAttributesHandles(), attributes,
                      [&](ImageAttributes& a) { return a.SetGamma(type, enable, gamma); });
}

}  // namespace gdiplus
