#pragma once
// The 32-bit handles under which the flat interface hands out graphics,
// fonts, font families, string formats, pens, brushes and image attributes:
// numbers checked against a table of live objects, never addresses, so a
// deleted, foreign or made-up handle is refused. The tables are those of
// platform/win (handle_table.h) with the kinds that win reserves for them.
#include <cstdint>

#include "platform/gdiplus/graphics/brush.h"
#include "platform/gdiplus/graphics/font.h"
#include "platform/gdiplus/graphics/font_family.h"
#include "platform/gdiplus/graphics/graphics.h"
#include "platform/gdiplus/graphics/image_attributes.h"
#include "platform/gdiplus/graphics/pen.h"
#include "platform/gdiplus/graphics/string_format.h"
#include "platform/win/handle_table.h"

namespace gdiplus {

// Value 0 of each is the null handle.
enum class GpGraphics : std::uint32_t {};
enum class GpFontFamily : std::uint32_t {};
enum class GpFont : std::uint32_t {};
enum class GpStringFormat : std::uint32_t {};
enum class GpPen : std::uint32_t {};
enum class GpBrush : std::uint32_t {};
enum class GpImageAttributes : std::uint32_t {};

win::HandleTable<GpGraphics, Graphics>& GraphicsHandles();
win::HandleTable<GpFontFamily, FontFamily>& FontFamilyHandles();
win::HandleTable<GpFont, Font>& FontHandles();
win::HandleTable<GpStringFormat, StringFormat>& StringFormatHandles();
win::HandleTable<GpPen, Pen>& PenHandles();
win::HandleTable<GpBrush, Brush>& BrushHandles();
win::HandleTable<GpImageAttributes, ImageAttributes>& ImageAttributesHandles();

}  // namespace gdiplus
