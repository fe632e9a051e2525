// Clearing, filling rectangles and drawing lines with a pen.
#include <algorithm>

#include "platform/gdiplus/graphics/graphics.h"
#include "platform/gdiplus/graphics/units.h"

namespace gdiplus {

Status Graphics::Clear(ARGB color) {
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    // An opaque colour is the same 32 bits in every 32-bit format, and clear
    // black (0) in both with alpha: a fill of the rows where they lie,
    // without cairo and its passes over the target.
    const PixelFormat format = bitmap->GetPixelFormat();
    const bool withAlpha = format == PixelFormat32bppARGB || format == PixelFormat32bppPARGB;
    if (((color >> 24) == 0xFF && (withAlpha || format == PixelFormat32bppRGB)) || (color == 0 && withAlpha)) {
        const Rect whole{0, 0, static_cast<std::int32_t>(bitmap->GetWidth()),
                         static_cast<std::int32_t>(bitmap->GetHeight())};
        BitmapData data;
        if (bitmap->LockBits(whole, ImageLockModeRead | ImageLockModeWrite, format, data) == Ok) {
            for (std::int32_t y = 0; y < whole.Height; ++y) {
                auto* row = reinterpret_cast<ARGB*>(static_cast<std::uint8_t*>(data.Scan0) +
                                                    static_cast<std::ptrdiff_t>(y) * data.Stride);
                std::fill(row, row + whole.Width, color);
            }
            return bitmap->UnlockBits(data);
        }
    }
    return Paint(
        *bitmap,
        [&](cairo_t* cr) {
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            SetSourceArgb(cr, color);
            cairo_paint(cr);
        },
        true);
}

Status Graphics::FillRectangles(const Brush& brush, std::span<const RectF> rects) {
    if (rects.empty()) return InvalidParameter;
    for (const RectF& rect : rects) {
        if (!IsFinite(rect)) return InvalidParameter;
    }
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    for (const RectF& rect : rects) {
        if (!InDeviceRange(*bitmap, rect)) return ValueOverflow;
    }
    PatternPtr pattern = brush.Pattern();
    return Paint(*bitmap, [&](cairo_t* cr) {
        PrepareGeometry(cr, *bitmap, pattern.get());
        for (const RectF& rect : rects) cairo_rectangle(cr, rect.X, rect.Y, rect.Width, rect.Height);
        cairo_fill(cr);
    });
}

double Graphics::PenWidth(const Pen& pen, const Bitmap& bitmap) const {
    const double perPageUnit = PageMatrix(bitmap).xx;
    const double perPenUnit = pen.WidthUnit() == UnitWorld
                                  ? perPageUnit
                                  : PixelsPerUnit(pen.WidthUnit(), bitmap.GetHorizontalResolution()).value_or(1.0);
    const double pixels = pen.Width() * perPenUnit;
    // A pen of no width draws one device pixel wide.
    return (pixels > 0 ? pixels : 1.0) / perPageUnit;
}

Status Graphics::StrokePath(const Pen& pen, std::initializer_list<PointF> points,
                            const std::function<void(cairo_t*)>& path) {
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    if (!InDeviceRange(*bitmap, points)) return ValueOverflow;
    PatternPtr color = SolidBrush(pen.Color()).Pattern();
    const double width = PenWidth(pen, *bitmap);
    return Paint(*bitmap, [&](cairo_t* cr) {
        PrepareGeometry(cr, *bitmap, color.get());
        cairo_set_line_width(cr, width);
        path(cr);
        cairo_stroke(cr);
    });
}

Status Graphics::DrawRectangle(const Pen& pen, const RectF& rect) {
    if (!IsFinite(rect)) return InvalidParameter;
    const float right = rect.X + rect.Width;
    const float bottom = rect.Y + rect.Height;
    return StrokePath(pen, {{rect.X, rect.Y}, {right, rect.Y}, {rect.X, bottom}, {right, bottom}},
                      [&](cairo_t* cr) { cairo_rectangle(cr, rect.X, rect.Y, rect.Width, rect.Height); });
}

Status Graphics::DrawLine(const Pen& pen, PointF from, PointF to) {
    if (!IsFinite(from) || !IsFinite(to)) return InvalidParameter;
    return StrokePath(pen, {from, to}, [&](cairo_t* cr) {
        cairo_move_to(cr, from.X, from.Y);
        cairo_line_to(cr, to.X, to.Y);
    });
}

}  // namespace gdiplus
