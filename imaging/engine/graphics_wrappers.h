#pragma once
// One-line wrappers over the GDI+ flat interface for graphics, pens,
// brushes and image attributes: each calls the GDI+ function of the same
// name with its arguments in the same order and answers GDI+'s status
// unchanged. Where an image ID stands, the GDI+ image of the ID (its current
// page) is passed; an unregistered ID passes no image, which GDI+ answers
// with InvalidParameter. Every handle made here belongs to the caller, who
// deletes it with the matching wrapper. Fonts and text: fonts_and_text.h.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/object_handles.h"
#include "platform/win/handles.h"

namespace scanvelt {

// Graphics.
MorvalenStatus GpGraphicsFromHdc(win::HDC dc, gdiplus::GpGraphics& graphics);
// InvalidParameter for the handle 0 without asking GDI+.
MorvalenStatus DeleteGpGraphics(gdiplus::GpGraphics graphics);
MorvalenStatus SetGpSmoothingMode(gdiplus::GpGraphics graphics, int32_t mode);
MorvalenStatus SetGpInterpolationMode(gdiplus::GpGraphics graphics, int32_t mode);
MorvalenStatus SetGpCompositingQuality(gdiplus::GpGraphics graphics, int32_t quality);
MorvalenStatus SetGpPixelOffsetMode(gdiplus::GpGraphics graphics, int32_t mode);
MorvalenStatus RotateGpWorldTransform(gdiplus::GpGraphics graphics, float angle, int32_t order);
MorvalenStatus TransformGpPoints(gdiplus::GpGraphics graphics, int32_t destinationSpace, int32_t sourceSpace,
                                 gdiplus::PointF* points, int32_t count);
MorvalenStatus ClearGpGraphics(gdiplus::GpGraphics graphics, uint32_t color);
MorvalenStatus FillGpRectangles(gdiplus::GpGraphics graphics, gdiplus::GpBrush brush, const gdiplus::RectF* rects,
                                int32_t count);
MorvalenStatus DrawGpRectangle(gdiplus::GpGraphics graphics, gdiplus::GpPen pen, float x, float y, float width,
                               float height);
MorvalenStatus DrawGpImageRect(gdiplus::GpGraphics graphics, int32_t imageId, int32_t x, int32_t y, int32_t width,
                               int32_t height);
// Image attributes may be 0 (none).
MorvalenStatus DrawGpImageRectRect(gdiplus::GpGraphics graphics, int32_t imageId, int32_t dstX, int32_t dstY,
                                   int32_t dstWidth, int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth,
                                   int32_t srcHeight, int32_t srcUnit, gdiplus::GpImageAttributes attributes);

// Pens and brushes; colours are ARGB values.
MorvalenStatus CreateGpPen(uint32_t color, float width, int32_t unit, gdiplus::GpPen& pen);
MorvalenStatus DeleteGpPen(gdiplus::GpPen pen);
MorvalenStatus CreateGpSolidBrush(uint32_t color, gdiplus::GpBrush& brush);
// A gradient from the start to the end colour across the rectangle, along
// the mode's direction (0 horizontal), repeated by the wrap mode (0 tile).
MorvalenStatus CreateGpLineBrushFromRect(const gdiplus::RectF& rect, uint32_t startColor, uint32_t endColor,
                                         int32_t mode, int32_t wrapMode, gdiplus::GpBrush& brush);
// A copy of the image, repeated by the wrap mode (0 tile).
MorvalenStatus CreateGpTextureBrush(int32_t imageId, int32_t wrapMode, gdiplus::GpBrush& brush);
MorvalenStatus DeleteGpBrush(gdiplus::GpBrush brush);

// Image attributes.
MorvalenStatus CreateGpImageAttributes(gdiplus::GpImageAttributes& attributes);
MorvalenStatus DisposeGpImageAttributes(gdiplus::GpImageAttributes attributes);
// `map` holds `mapSize` pairs of old and new ARGB colours.
MorvalenStatus SetGpAttributesRemapTable(gdiplus::GpImageAttributes attributes, int32_t adjustType, bool enable,
                                         uint32_t mapSize, const gdiplus::ColorMap* map);
MorvalenStatus SetGpAttributesGamma(gdiplus::GpImageAttributes attributes, int32_t adjustType, bool enable,
                                    float gamma);

}  // namespace scanvelt
