#include "platform/gdiplus/graphics/font_decorations.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H


namespace gdiplus {

DecorationMetrics DecorationMetricsOf(cairo_scaled_font_t* font) {
    cairo_matrix_t matrix;
    cairo_scaled_font_get_font_matrix(font, &matrix);
    const double em = matrix.yy;
    cairo_font_extents_t extents{};
    cairo_scaled_font_extents(font, &extents);

    // Faces without the tables: a bar of 1/20 em just under the baseline and
    // one across the middle of the lower-case letters.
    DecorationMetrics metrics;
    metrics.underlineThickness = metrics.strikeoutThickness = em / 20;
    metrics.underlineTop = em / 10 - metrics.underlineThickness / 2;
    metrics.strikeoutTop = -extents.ascent * 0.3;

    FT_Face face = cairo_ft_scaled_font_lock_face(font);
    if (face == nullptr) return metrics;
    if (face->units_per_EM > 0) {
        const double scale = em / face->units_per_EM;
        if (face->underline_thickness > 0) {
            metrics.underlineThickness = face->underline_thickness * scale;
            // FreeType gives the centre of the bar, y up.
            metrics.underlineTop = -face->underline_position * scale - metrics.underlineThickness / 2;
        }
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->yStrikeoutSize > 0) {
            metrics.strikeoutThickness = os2->yStrikeoutSize * scale;
            metrics.strikeoutTop = -os2->yStrikeoutPosition * scale;
        }
    }
    cairo_ft_scaled_font_unlock_face(font);
    return metrics;
}

}  // namespace gdiplus
