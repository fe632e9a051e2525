// Drawing and measuring text: the font scaled into world units for this
// graphics, the text laid out (text_layout.h), the glyphs drawn with a brush.
#include "platform/gdiplus/graphics/graphics.h"
#include "platform/gdiplus/graphics/text_layout.h"
#include "platform/gdiplus/graphics/units.h"

namespace gdiplus {
namespace {

bool SingleBit(TextRenderingHint hint) {
    return hint == TextRenderingHintSingleBitPerPixel || hint == TextRenderingHintSingleBitPerPixelGridFit;
}

}  // namespace

Status Graphics::LayOut(std::u16string_view text, const Font& font, const RectF& layout, const StringFormat* format,
                        const Bitmap& bitmap, TextLayout& result, ScaledFontPtr& scaled) const {
    if (!IsFinite(layout)) return InvalidParameter;
    if (!InDeviceRange(bitmap, layout)) return ValueOverflow;
    const cairo_matrix_t page = PageMatrix(bitmap);
    // A font's em counts in world units for UnitWorld; any other unit is a
    // fixed number of device pixels, whatever the page unit and scale.
    cairo_matrix_t fontMatrix;
    if (font.SizeUnit() == UnitWorld) {
        cairo_matrix_init_scale(&fontMatrix, font.Size(), font.Size());
    } else {
        const double pixels =
            font.Size() * PixelsPerUnit(font.SizeUnit(), bitmap.GetVerticalResolution()).value_or(1.0);
        cairo_matrix_init_scale(&fontMatrix, pixels / page.xx, pixels / page.yy);
    }
    const cairo_matrix_t device = DeviceMatrix(bitmap, true);
    FontOptionsPtr options(cairo_font_options_create());
    // Unhinted outlines and metrics: what is measured is what is drawn, at any size.
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options.get(),
                                     SingleBit(textHint_) ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    scaled.reset(cairo_scaled_font_create(font.Face(), &fontMatrix, &device, options.get()));
    if (cairo_scaled_font_status(scaled.get()) != CAIRO_STATUS_SUCCESS) return OutOfMemory;
    const StringFormat defaultFormat(0, 0);
    result = LayOutText(text, scaled.get(), font.Style(), layout, format ? *format : defaultFormat, 1.0 / page.xx);
    return Ok;
}

Status Graphics::DrawString(std::u16string_view text, const Font& font, const RectF& layout,
                            const StringFormat* format, const Brush& brush) {
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    TextLayout laidOut;
    ScaledFontPtr scaled;
    if (Status s = LayOut(text, font, layout, format, *bitmap, laidOut, scaled); s != Ok) return s;
    if (laidOut.lines.empty()) return Ok;
    PatternPtr pattern = brush.Pattern();
    return Paint(*bitmap, [&](cairo_t* cr) {
        PrepareGeometry(cr, *bitmap, pattern.get());
        if (laidOut.clip) {
            cairo_rectangle(cr, laidOut.clip->X, laidOut.clip->Y, laidOut.clip->Width, laidOut.clip->Height);
            cairo_clip(cr);
        }
        cairo_set_scaled_font(cr, scaled.get());
        for (const TextLine& line : laidOut.lines) {
            cairo_show_glyphs(cr, line.glyphs.data(), static_cast<int>(line.glyphs.size()));
        }
        for (const RectF& bar : laidOut.decorations) cairo_rectangle(cr, bar.X, bar.Y, bar.Width, bar.Height);
        cairo_fill(cr);
    });
}

Status Graphics::MeasureString(std::u16string_view text, const Font& font, const RectF& layout,
                               const StringFormat* format, RectF& box, std::int32_t* charactersFitted,
                               std::int32_t* linesFilled) {
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    TextLayout laidOut;
    ScaledFontPtr scaled;
    if (Status s = LayOut(text, font, layout, format, *bitmap, laidOut, scaled); s != Ok) return s;
    box = laidOut.box;
    if (charactersFitted) *charactersFitted = laidOut.charactersFitted;
    if (linesFilled) *linesFilled = laidOut.linesFilled;
    return Ok;
}

}  // namespace gdiplus
