#pragma once
// One-line wrappers over the GDI+ flat interface for font families, fonts,
// string formats and text, with the same conventions as graphics_wrappers.h;
// texts are UTF-16, a length of -1 means the whole text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/object_handles.h"

namespace scanvelt {

// Collection 0 is the installed fonts. FontFamilyNotFound for a name no
// installed family has (Windows names such as "Arial" find their stand-ins).
MorvalenStatus CreateGpFontFamily(std::u16string_view name, uint32_t collection, gdiplus::GpFontFamily& family);
MorvalenStatus DeleteGpFontFamily(gdiplus::GpFontFamily family);
// FontStyleNotFound when the family cannot draw the style.
MorvalenStatus CreateGpFont(gdiplus::GpFontFamily family, float size, int32_t style, int32_t unit,
                            gdiplus::GpFont& font);
MorvalenStatus DeleteGpFont(gdiplus::GpFont font);
MorvalenStatus CreateGpStringFormat(int32_t flags, uint16_t language, gdiplus::GpStringFormat& format);
// Alignment 0 near, 1 centre, 2 far; InvalidParameter for another value.
MorvalenStatus SetGpStringFormatAlign(gdiplus::GpStringFormat format, int32_t alignment);
MorvalenStatus SetGpStringFormatLineAlign(gdiplus::GpStringFormat format, int32_t alignment);
MorvalenStatus DeleteGpStringFormat(gdiplus::GpStringFormat format);
MorvalenStatus MeasureGpString(gdiplus::GpGraphics graphics, std::u16string_view text, int32_t length,
                               gdiplus::GpFont font, const gdiplus::RectF& layout, gdiplus::GpStringFormat format,
                               gdiplus::RectF& box, int32_t& charactersFitted, int32_t& linesFilled);
MorvalenStatus DrawGpString(gdiplus::GpGraphics graphics, std::u16string_view text, int32_t length,
                            gdiplus::GpFont font, const gdiplus::RectF& layout, gdiplus::GpStringFormat format,
                            gdiplus::GpBrush brush);
MorvalenStatus SetGpTextRenderingHint(gdiplus::GpGraphics graphics, int32_t hint);

// The names of the installed font families, sorted, each once.
std::vector<std::string> InstalledFontNames();

// Whether the family of that name offers the style: the status of making the
// family when that fails (available False), else of asking for the style.
MorvalenStatus IsFontStyleAvailable(std::u16string_view familyName, int32_t style, bool& available);

}  // namespace scanvelt
