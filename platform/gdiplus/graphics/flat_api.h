#pragma once
// The flat interface of the drawing layer, function by function as GDI+
// names it: objects are made and named by 32-bit handles (object_handles.h)
// and every call answers a Status. A handle of 0, of another kind, of a
// deleted object or one never handed out is InvalidParameter, as is a
// missing image. The objects are made only while the layer is started
// (GdiplusNotInitialized otherwise). Texts are UTF-16; a length of -1 means
// the text up to its first NUL.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/object_handles.h"
#include "platform/gdiplus/image.h"
#include "platform/win/handles.h"

namespace gdiplus {

// Graphics.
Status GdipCreateFromHDC(win::HDC dc, GpGraphics& graphics);
Status GdipCreateFromHWND(std::uint32_t window, GpGraphics& graphics);
// On an image the caller keeps alive as long as the graphics.
Status GdipGetImageGraphicsContext(Image* image, GpGraphics& graphics);
// On an image found again at every operation (Graphics::FromImage).
Status GdipGetImageGraphicsContext(ImageResolver resolve, GpGraphics& graphics);
// A device context still out is freed with it, without writing it back.
Status GdipDeleteGraphics(GpGraphics graphics);
Status GdipGetDC(GpGraphics graphics, win::HDC& dc);
Status GdipReleaseDC(GpGraphics graphics, win::HDC dc);

Status GdipSetSmoothingMode(GpGraphics graphics, SmoothingMode mode);
Status GdipSetInterpolationMode(GpGraphics graphics, InterpolationMode mode);
Status GdipSetCompositingQuality(GpGraphics graphics, CompositingQuality quality);
Status GdipSetCompositingMode(GpGraphics graphics, CompositingMode mode);
Status GdipSetPixelOffsetMode(GpGraphics graphics, PixelOffsetMode mode);
Status GdipSetTextRenderingHint(GpGraphics graphics, TextRenderingHint hint);
Status GdipSetPageUnit(GpGraphics graphics, Unit unit);
Status GdipSetPageScale(GpGraphics graphics, float scale);
Status GdipRotateWorldTransform(GpGraphics graphics, float angle, MatrixOrder order);
Status GdipTransformPoints(GpGraphics graphics, CoordinateSpace destination, CoordinateSpace source, PointF* points,
                          std::int32_t count);

Status GdipGraphicsClear(GpGraphics graphics, ARGB color);
Status GdipFillRectangles(GpGraphics graphics, GpBrush brush, const RectF* rects, std::int32_t count);
Status GdipDrawRectangle(GpGraphics graphics, GpPen pen, float x, float y, float width, float height);
Status GdipDrawLine(GpGraphics graphics, GpPen pen, float x1, float y1, float x2, float y2);
Status GdipDrawImageRect(GpGraphics graphics, const Image* image, float x, float y, float width, float height);
Status GdipDrawImageRectI(GpGraphics graphics, const Image* image, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height);
// Image attributes may be 0 (none).
Status GdipDrawImageRectRectI(GpGraphics graphics, const Image* image, std::int32_t dstX, std::int32_t dstY,
                              std::int32_t dstWidth, std::int32_t dstHeight, std::int32_t srcX, std::int32_t srcY,
                              std::int32_t srcWidth, std::int32_t srcHeight, Unit srcUnit,
                              GpImageAttributes attributes);

// Fonts and text. The font collection must be 0: the installed fonts.
Status GdipCreateFontFamilyFromName(std::u16string_view name, std::uint32_t collection, GpFontFamily& family);
Status GdipDeleteFontFamily(GpFontFamily family);
// The installed family that draws (for a Windows name, its stand-in).
Status GdipGetFamilyName(GpFontFamily family, std::u16string& name);
Status GdipIsStyleAvailable(GpFontFamily family, std::int32_t style, bool& available);
Status GdipCreateFont(GpFontFamily family, float emSize, std::int32_t style, Unit unit, GpFont& font);
Status GdipDeleteFont(GpFont font);
Status GdipCreateStringFormat(std::int32_t flags, std::uint16_t language, GpStringFormat& format);
Status GdipDeleteStringFormat(GpStringFormat format);
Status GdipSetStringFormatFlags(GpStringFormat format, std::int32_t flags);
Status GdipSetStringFormatAlign(GpStringFormat format, StringAlignment alignment);
Status GdipSetStringFormatLineAlign(GpStringFormat format, StringAlignment alignment);
// The string format may be 0 (the default format).
Status GdipMeasureString(GpGraphics graphics, std::u16string_view text, std::int32_t length, GpFont font,
                         const RectF& layout, GpStringFormat format, RectF& box, std::int32_t* charactersFitted,
                         std::int32_t* linesFilled);
Status GdipDrawString(GpGraphics graphics, std::u16string_view text, std::int32_t length, GpFont font,
                      const RectF& layout, GpStringFormat format, GpBrush brush);

// Pens, brushes and image attributes.
Status GdipCreatePen1(ARGB color, float width, Unit unit, GpPen& pen);
Status GdipDeletePen(GpPen pen);
Status GdipCreateSolidFill(ARGB color, GpBrush& brush);
Status GdipCreateLineBrushFromRect(const RectF* rect, ARGB startColor, ARGB endColor, LinearGradientMode mode,
                                   WrapMode wrapMode, GpBrush& brush);
Status GdipCreateTexture(const Image* image, WrapMode wrapMode, GpBrush& brush);
Status GdipDeleteBrush(GpBrush brush);
Status GdipCreateImageAttributes(GpImageAttributes& attributes);
Status GdipDisposeImageAttributes(GpImageAttributes attributes);
Status GdipSetImageAttributesRemapTable(GpImageAttributes attributes, ColorAdjustType type, bool enable,
                                        std::uint32_t mapSize, const ColorMap* map);
Status GdipSetImageAttributesGamma(GpImageAttributes attributes, ColorAdjustType type, bool enable, float gamma);

}  // namespace gdiplus
