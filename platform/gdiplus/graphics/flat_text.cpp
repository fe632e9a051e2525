// The flat interface's font families, fonts, string formats and text.
#include "platform/gdiplus/graphics/flat_api.h"
#include "platform/gdiplus/graphics/flat_support.h"
#include "platform/win/text_encoding.h"

namespace gdiplus {
namespace {

// The text a length stands for: -1 up to the first NUL, else that many code
// units. InvalidParameter for a length below -1 or past the text.
Status TextOfLength(std::u16string_view text, std::int32_t length, std::u16string_view& result) {
    if (length == -1) {
        result = text.substr(0, text.find(u'\0'));
        return Ok;
    }
    if (length < 0 || static_cast<std::size_t>(length) > text.size()) return InvalidParameter;
    result = text.substr(0, static_cast<std::size_t>(length));
    return Ok;
}

// Runs `body` with the graphics, font, string format (null for handle 0)
// and brush behind the handles; the text cut to its length.
template <class Body>
Status WithTextObjects(GpGraphics graphics, std::u16string_view text, std::int32_t length, GpFont font,
                       GpStringFormat format, Body&& body) {
    std::u16string_view cut;
    if (Status s = TextOfLength(text, length, cut); s != Ok) return s;
    std::shared_ptr<StringFormat> layout;
    if (format != GpStringFormat{}) {
        layout = StringFormatHandles().find(format);
        if (!layout) return InvalidParameter;
    }
    return WithObject(GraphicsHandles(), graphics, [&](Graphics& g) {
        return WithObject(FontHandles(), font, [&](Font& f) { return body(g, cut, f, layout.get()); });
    });
}

template <class Body>
Status WithFormat(GpStringFormat format, Body&& body) {
    return WithObject(StringFormatHandles(), format, std::forward<Body>(body));
}

}  // namespace

Status GdipCreateFontFamilyFromName(std::u16string_view name, std::uint32_t collection, GpFontFamily& family) {
    if (collection != 0) return InvalidParameter;
    return CreateObject<GpFontFamily, FontFamily, FontFamily>(
        FontFamilyHandles(), family,
        [&](std::unique_ptr<FontFamily>& made) { return FontFamily::FromName(win::Utf16ToUtf8(name), made); });
}

Status GdipDeleteFontFamily(GpFontFamily family) { return DeleteObject(FontFamilyHandles(), family); }

Status GdipGetFamilyName(GpFontFamily family, std::u16string& name) {
    return WithObject(FontFamilyHandles(), family, [&](FontFamily& f) {
        name = win::Utf8ToUtf16(f.Name());
        return Ok;
    });
}

Status GdipIsStyleAvailable(GpFontFamily family, std::int32_t style, bool& available) {
    return WithObject(FontFamilyHandles(), family, [&](FontFamily& f) {
        available = f.IsStyleAvailable(style);
        return Ok;
    });
}

Status GdipCreateFont(GpFontFamily family, float emSize, std::int32_t style, Unit unit, GpFont& font) {
    return WithObject(FontFamilyHandles(), family, [&](FontFamily& f) {
        return CreateObject<GpFont, Font, Font>(FontHandles(), font, [&](std::unique_ptr<Font>& made) {
            return Font::Create(f, emSize, style, unit, made);
        });
    });
}

Status GdipDeleteFont(GpFont font) { return DeleteObject(FontHandles(), font); }

Status GdipCreateStringFormat(std::int32_t flags, std::uint16_t language, GpStringFormat& format) {
    return CreateObject<GpStringFormat, StringFormat, StringFormat>(
        StringFormatHandles(), format, [&](std::unique_ptr<StringFormat>& made) {
            made = std::make_unique<StringFormat>(flags, language);
            return Ok;
        });
}

Status GdipDeleteStringFormat(GpStringFormat format) { return DeleteObject(StringFormatHandles(), format); }

Status GdipSetStringFormatFlags(GpStringFormat format, std::int32_t flags) {
    return WithFormat(format, [&](StringFormat& f) {
        f.SetFlags(flags);
        return Ok;
    });
}

Status GdipSetStringFormatAlign(GpStringFormat format, StringAlignment alignment) {
    return WithFormat(format, [&](StringFormat& f) { return f.SetAlignment(alignment); });
}

Status GdipSetStringFormatLineAlign(GpStringFormat format, StringAlignment alignment) {
    return WithFormat(format, [&](StringFormat& f) { return f.SetLineAlignment(alignment); });
}

Status GdipMeasureString(GpGraphics graphics, std::u16string_view text, std::int32_t length, GpFont font,
                         const RectF& layout, GpStringFormat format, RectF& box, std::int32_t* charactersFitted,
                         std::int32_t* linesFilled) {
    return WithTextObjects(graphics, text, length, font, format,
                           [&](Graphics& g, std::u16string_view cut, Font& f, const StringFormat* sf) {
                               return g.MeasureString(cut, f, layout, sf, box, charactersFitted, linesFilled);
                           });
}

Status GdipDrawString(GpGraphics graphics, std::u16string_view text, std::int32_t length, GpFont font,
                      const RectF& layout, GpStringFormat format, GpBrush brush) {
    return WithTextObjects(graphics, text, length, font, format,
                           [&](Graphics& g, std::u16string_view cut, Font& f, const StringFormat* sf) {
                               return WithObject(BrushHandles(), brush, [&](Brush& b) {
                                   return g.DrawString(cut, f, layout, sf, b);
                               });
                           });
}

}  // namespace gdiplus
