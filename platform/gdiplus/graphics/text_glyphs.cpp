#include "platform/gdiplus/graphics/text_glyphs.h"

#include <string>
#include <unordered_map>

#include "platform/win/text_encoding.h"

namespace gdiplus {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The glyphs and advance of one code point, looked up once per layout.
class GlyphCache {
public:
    explicit GlyphCache(cairo_scaled_font_t* font) : font_(font) {}

    const GlyphedChar& Of(char32_t codePoint) {
        auto [it, added] = cache_.try_emplace(codePoint);
        if (added) Shape(codePoint, it->second);
        return it->second;
    }

private:
    void Shape(char32_t codePoint, GlyphedChar& shaped) {
        std::string utf8;
        win::AppendUtf8(utf8, codePoint);
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        if (cairo_scaled_font_text_to_glyphs(font_, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &glyphs, &count,
                                             nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
            return;
        }
        shaped.glyphs.assign(glyphs, glyphs + count);
        cairo_glyph_free(glyphs);
        cairo_text_extents_t extents{};
        cairo_scaled_font_glyph_extents(font_, shaped.glyphs.data(), count, &extents);
        shaped.advance = extents.x_advance;
    }

    cairo_scaled_font_t* font_;
    std::unordered_map<char32_t, GlyphedChar> cache_;
};

}  // namespace

std::vector<Paragraph> GlyphParagraphs(std::u16string_view text, cairo_scaled_font_t* font) {
    std::vector<Paragraph> paragraphs;
    if (text.empty()) return paragraphs;
    GlyphCache cache(font);
    paragraphs.emplace_back();
    std::size_t i = 0;
    while (i < text.size()) {
        const auto offset = static_cast<std::int32_t>(i);
        const char16_t unit = text[i];
        if (unit == u'\r' || unit == u'\n') {
            const std::size_t length = unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            paragraphs.back().breakLength = static_cast<std::int32_t>(length);
            paragraphs.emplace_back();
            i += length;
            continue;
        }
        char32_t codePoint = unit;
        std::size_t length = 1;
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            codePoint = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            length = 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            codePoint = kReplacement;
        }
        if (codePoint == U'\t') codePoint = U' ';
        GlyphedChar shaped;
        if (codePoint >= 0x20) shaped = cache.Of(codePoint);
        shaped.offset = offset;
        shaped.length = static_cast<std::int32_t>(length);
        shaped.space = codePoint == U' ' || codePoint == 0x3000;
        paragraphs.back().chars.push_back(std::move(shaped));
        i += length;
    }
    return paragraphs;
}

}  // namespace gdiplus
