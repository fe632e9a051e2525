#include "platform/gdiplus/graphics/text_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gdiplus/graphics/font_decorations.h"
#include "platform/gdiplus/graphics/text_glyphs.h"

namespace gdiplus {
namespace {

// GDI+ keeps 1/6 em free on either side of every line.
constexpr double kPaddingInEm = 1.0 / 6.0;

// A line as the wrapping finds it: characters [begin, end) of a paragraph,
// the last ones possibly spaces.
struct LineSpan {
    const Paragraph* paragraph = nullptr;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool lastOfParagraph = false;
};

struct Box {
    double left = std::numeric_limits<double>::infinity();
    double top = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double bottom = -std::numeric_limits<double>::infinity();

    bool Empty() const { return !(right > left) || !(bottom > top); }
    void Add(double l, double t, double r, double b) {
        left = std::min(left, l);
        top = std::min(top, t);
        right = std::max(right, r);
        bottom = std::max(bottom, b);
    }
    void ClipTo(const RectF& rect) {
        left = std::max(left, double{rect.X});
        top = std::max(top, double{rect.Y});
        right = std::min(right, double{rect.X} + rect.Width);
        bottom = std::min(bottom, double{rect.Y} + rect.Height);
    }
    RectF ToRect() const {
        return RectF{static_cast<float>(left), static_cast<float>(top), static_cast<float>(right - left),
                     static_cast<float>(bottom - top)};
    }
};

// Greedy wrapping: a line takes words while they fit in `available`; spaces
// hang past the edge; a word wider than a line is broken between characters.
std::vector<LineSpan> WrapParagraph(const Paragraph& paragraph, bool wrap, double available) {
    std::vector<LineSpan> lines;
    const auto& chars = paragraph.chars;
    std::size_t start = 0;
    do {
        double run = 0;
        std::size_t lastBreak = start;
        std::size_t i = start;
        while (i < chars.size()) {
            if (chars[i].space) {
                run += chars[i].advance;
                ++i;
                if (i < chars.size() && !chars[i].space) lastBreak = i;
                continue;
            }
            if (wrap && i > start && run + chars[i].advance > available) {
                if (lastBreak > start) i = lastBreak;
                break;
            }
            run += chars[i].advance;
            ++i;
        }
        lines.push_back(LineSpan{&paragraph, start, i, i == chars.size()});
        start = i;
    } while (start < chars.size());
    return lines;
}

double Advance(const LineSpan& line, bool withTrailingSpaces) {
    std::size_t end = line.end;
    if (!withTrailingSpaces) {
        while (end > line.begin && line.paragraph->chars[end - 1].space) --end;
    }
    double width = 0;
    for (std::size_t i = line.begin; i < end; ++i) width += line.paragraph->chars[i].advance;
    return width;
}

std::int32_t CodeUnits(const LineSpan& line) {
    std::int32_t units = 0;
    for (std::size_t i = line.begin; i < line.end; ++i) units += line.paragraph->chars[i].length;
    return units + (line.lastOfParagraph ? line.paragraph->breakLength : 0);
}

// Lines that the rectangle shows: all of them without a height; else the
// ones that start inside it, or with LineLimit only the ones wholly inside.
std::size_t ShownLines(std::size_t total, double height, double lineSpacing, bool lineLimit) {
    if (!(height > 0) || !(lineSpacing > 0)) return total;
    const double fit = height / lineSpacing;
    const double shown = lineLimit ? std::floor(fit + 1e-9) : std::ceil(fit - 1e-9);
    return std::min(total, static_cast<std::size_t>(std::max(shown, 0.0)));
}

// Where an extent of `size` starts when aligned in [origin, origin + span);
// a span of 0 aligns about the origin.
double Align(StringAlignment alignment, double origin, double span, double size, double padding) {
    switch (alignment) {
    case StringAlignmentCenter:
        return origin + (span - size) / 2;
    case StringAlignmentFar:
        return origin + span - padding - size;
    default:
        return origin + padding;
    }
}

}  // namespace

TextLayout LayOutText(std::u16string_view text, cairo_scaled_font_t* font, std::int32_t style, const RectF& layout,
                      const StringFormat& format, double devicePixel) {
    TextLayout result;
    result.box = RectF{layout.X, layout.Y, 0, 0};
    const std::vector<Paragraph> paragraphs = GlyphParagraphs(text, font);

    cairo_matrix_t fontMatrix;
    cairo_scaled_font_get_font_matrix(font, &fontMatrix);
    const double padding = kPaddingInEm * std::abs(fontMatrix.xx);
    const bool wrap = layout.Width > 0 && !format.Has(StringFormatFlagsNoWrap);
    std::vector<LineSpan> spans;
    for (const Paragraph& paragraph : paragraphs) {
        auto lines = WrapParagraph(paragraph, wrap, layout.Width - 2 * padding);
        spans.insert(spans.end(), lines.begin(), lines.end());
    }

    cairo_font_extents_t extents{};
    cairo_scaled_font_extents(font, &extents);
    const std::size_t shown =
        ShownLines(spans.size(), layout.Height, extents.height, format.Has(StringFormatFlagsLineLimit));
    spans.resize(shown);
    result.linesFilled = static_cast<std::int32_t>(shown);
    if (shown == 0) return result;

    const double blockHeight = static_cast<double>(shown) * extents.height;
    const double top = Align(format.LineAlignment(), layout.Y, layout.Height, blockHeight, 0);
    const bool trailing = format.Has(StringFormatFlagsMeasureTrailingSpaces);
    const DecorationMetrics decoration = DecorationMetricsOf(font);
    Box measured;
    Box ink;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const LineSpan& span = spans[k];
        TextLine line;
        line.width = Advance(span, trailing);
        line.left = Align(format.Alignment(), layout.X, layout.Width, line.width, padding);
        line.baseline = top + static_cast<double>(k) * extents.height + extents.ascent;
        double x = line.left;
        for (std::size_t i = span.begin; i < span.end; ++i) {
            const GlyphedChar& c = span.paragraph->chars[i];
            for (cairo_glyph_t glyph : c.glyphs) {
                glyph.x += x;
                glyph.y = line.baseline;
                line.glyphs.push_back(glyph);
            }
            x += c.advance;
        }
        result.charactersFitted += CodeUnits(span);
        measured.Add(line.left - padding, line.baseline - extents.ascent, line.left + line.width + padding,
                     line.baseline - extents.ascent + extents.height);
        if (!line.glyphs.empty()) {
            cairo_text_extents_t inked{};
            cairo_scaled_font_glyph_extents(font, line.glyphs.data(), static_cast<int>(line.glyphs.size()), &inked);
            if (inked.width > 0 && inked.height > 0) {
                const double left = line.glyphs.front().x + inked.x_bearing;
                const double inkTop = line.glyphs.front().y + inked.y_bearing;
                ink.Add(left, inkTop, left + inked.width, inkTop + inked.height);
            }
        }
        if (line.width > 0) {
            if (style & FontStyleUnderline) {
                result.decorations.push_back(RectF{static_cast<float>(line.left),
                                                   static_cast<float>(line.baseline + decoration.underlineTop),
                                                   static_cast<float>(line.width),
                                                   static_cast<float>(decoration.underlineThickness)});
            }
            if (style & FontStyleStrikeout) {
                result.decorations.push_back(RectF{static_cast<float>(line.left),
                                                   static_cast<float>(line.baseline + decoration.strikeoutTop),
                                                   static_cast<float>(line.width),
                                                   static_cast<float>(decoration.strikeoutThickness)});
            }
        }
        result.lines.push_back(std::move(line));
    }
    for (const RectF& bar : result.decorations) ink.Add(bar.X, bar.Y, bar.X + bar.Width, bar.Y + bar.Height);

    if (layout.Width > 0 && layout.Height > 0 && !format.Has(StringFormatFlagsNoClip)) {
        result.clip = layout;
        measured.ClipTo(layout);
        ink.ClipTo(layout);
    }
    if (!ink.Empty()) {
        // Antialiasing touches the pixels the ink only grazes.
        ink.Add(ink.left - devicePixel, ink.top - devicePixel, ink.right + devicePixel, ink.bottom + devicePixel);
        if (result.clip) ink.ClipTo(*result.clip);
        measured.Add(ink.left, ink.top, ink.right, ink.bottom);
    }
    if (!measured.Empty()) result.box = measured.ToRect();
    return result;
}

}  // namespace gdiplus
