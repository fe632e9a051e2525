#pragma once
// UTF-16 text turned into characters with their glyphs and advances, split
// into paragraphs at line breaks ("\r\n", "\n" or "\r").
#include <cairo.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace gdiplus {

struct GlyphedChar {
    // Where the character stands in the text, in UTF-16 code units.
    std::int32_t offset = 0;
    std::int32_t length = 0;
    bool space = false;
    // Glyphs with x relative to the character's origin.
    std::vector<cairo_glyph_t> glyphs;
    double advance = 0;
};

struct Paragraph {
    std::vector<GlyphedChar> chars;
    // UTF-16 code units of the line break that ends it (0 for the last).
    std::int32_t breakLength = 0;
};

// No paragraph for empty text; a text that ends in a line break ends in an
// empty paragraph. A tab is drawn as a space; other control characters take
// no room and draw nothing.
std::vector<Paragraph> GlyphParagraphs(std::u16string_view text, cairo_scaled_font_t* font);

}  // namespace gdiplus
