#include "imaging/engine/fonts_and_text.h"

#include "platform/gdiplus/graphics/flat_api.h"
#include "platform/gdiplus/graphics/font_family.h"

namespace scanvelt {

using namespace gdiplus;

MorvalenStatus CreateGpFontFamily(std::u16string_view name, uint32_t collection, GpFontFamily& family) {
    return StatusOf(GdipCreateFontFamilyFromName(name, collection, family));
}

MorvalenStatus DeleteGpFontFamily(GpFontFamily family) { return StatusOf(GdipDeleteFontFamily(family)); }

MorvalenStatus CreateGpFont(GpFontFamily family, float size, int32_t style, int32_t unit, GpFont& font) {
    return StatusOf(GdipCreateFont(family, size, style, static_cast<Unit>(unit), font));
}

MorvalenStatus DeleteGpFont(GpFont font) { return StatusOf(GdipDeleteFont(font)); }

MorvalenStatus CreateGpStringFormat(int32_t flags, uint16_t language, GpStringFormat& format) {
    return StatusOf(GdipCreateStringFormat(flags, language, format));
}

MorvalenStatus SetGpStringFormatAlign(GpStringFormat format, int32_t alignment) {
    return StatusOf(GdipSetStringFormatAlign(format, static_cast<StringAlignment>(alignment)));
}

MorvalenStatus SetGpStringFormatLineAlign(GpStringFormat format, int32_t alignment) {
    return StatusOf(GdipSetStringFormatLineAlign(format, static_cast<StringAlignment>(alignment)));
}

std::vector<std::string> InstalledFontNames() { return InstalledFamilyNames(); }

MorvalenStatus DeleteGpStringFormat(GpStringFormat format) { return StatusOf(GdipDeleteStringFormat(format)); }

MorvalenStatus MeasureGpString(GpGraphics graphics, std::u16string_view text, int32_t length, GpFont font,
                               const RectF& layout, GpStringFormat format, RectF& box, int32_t& charactersFitted,
                               int32_t& linesFilled) {
    return StatusOf(
        GdipMeasureString(graphics, text, length, font, layout, format, box, &charactersFitted, &linesFilled));
}

MorvalenStatus DrawGpString(GpGraphics graphics, std::u16string_view text, int32_t length, GpFont font,
                            const RectF& layout, GpStringFormat format, GpBrush brush) {
    return StatusOf(GdipDrawString(graphics, text, length, font, layout, format, brush));
}

MorvalenStatus SetGpTextRenderingHint(GpGraphics graphics, int32_t hint) {
    return StatusOf(GdipSetTextRenderingHint(graphics, static_cast<TextRenderingHint>(hint)));
}

MorvalenStatus IsFontStyleAvailable(std::u16string_view familyName, int32_t style, bool& available) {
    available = false;
    GpFontFamily family{};
    if (const MorvalenStatus status = CreateGpFontFamily(familyName, 0, family); status != OK) return status;
    const Status status = GdipIsStyleAvailable(family, style, available);
    DeleteGpFontFamily(family);
    if (status != Ok) available = false;
    return StatusOf(status);
}

}  // namespace scanvelt
