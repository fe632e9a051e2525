#pragma once
// Laying text out in a layout rectangle the way GDI+ does: paragraphs split at
// line breaks, words wrapped at the rectangle's width, lines aligned
// horizontally and as a block vertically, 1/6 em of padding on either side of
// each line, lines past the rectangle's height left out, and the box that
// MeasureString reports. Everything is in world units.
#include <cairo.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/string_format.h"

namespace gdiplus {

struct TextLine {
    // Positioned glyphs: what cairo_show_glyphs draws.
    std::vector<cairo_glyph_t> glyphs;
    double left = 0;
    double baseline = 0;
    // The line's advance as aligned (trailing spaces only with MeasureTrailingSpaces).
    double width = 0;
};

struct TextLayout {
    std::vector<TextLine> lines;
    // Underline and strikeout bars.
    std::vector<RectF> decorations;
    // The rectangle drawing is clipped to, when it is.
    std::optional<RectF> clip;
    // The measured box. It also holds all the ink the lines and bars make,
    // so nothing drawn falls outside it.
    RectF box;
    // UTF-16 code units of the text that the shown lines hold (with their
    // line breaks), and the number of shown lines.
    std::int32_t charactersFitted = 0;
    std::int32_t linesFilled = 0;
};

// `font` is scaled in world units; `devicePixel` is the width of one device
// pixel in world units (the ink box is widened by it, for antialiasing).
// A layout rectangle with no width does not wrap and aligns about its left
// edge; one with no height takes every line and aligns about its top edge.
TextLayout LayOutText(std::u16string_view text, cairo_scaled_font_t* font, std::int32_t style, const RectF& layout,
                      const StringFormat& format, double devicePixel);

}  // namespace gdiplus
