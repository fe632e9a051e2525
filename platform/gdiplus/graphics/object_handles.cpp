#include "platform/gdiplus/graphics/object_handles.h"

namespace gdiplus {
namespace {

// platform/win's kinds end at 6; the drawing layer's objects take 8 to 14.
constexpr win::HandleKind KindOf(std::uint32_t value) { return static_cast<win::HandleKind>(value); }

}  // namespace

win::HandleTable<GpGraphics, Graphics>& GraphicsHandles() {
    static win::HandleTable<GpGraphics, Graphics> table(KindOf(8));
    return table;
}

win::HandleTable<GpFontFamily, FontFamily>& FontFamilyHandles() {
    static win::HandleTable<GpFontFamily, FontFamily> table(KindOf(9));
    return table;
}

win::HandleTable<GpFont, Font>& FontHandles() {
    static win::HandleTable<GpFont, Font> table(KindOf(10));
    return table;
}

win::HandleTable<GpStringFormat, StringFormat>& StringFormatHandles() {
    static win::HandleTable<GpStringFormat, StringFormat> table(KindOf(11));
    return table;
}

win::HandleTable<GpPen, Pen>& PenHandles() {
    static win::HandleTable<GpPen, Pen> table(KindOf(12));
    return table;
}

win::HandleTable<GpBrush, Brush>& BrushHandles() {
    static win::HandleTable<GpBrush, Brush> table(KindOf(13));
    return table;
}

win::HandleTable<GpImageAttributes, ImageAttributes>& ImageAttributesHandles() {
    static win::HandleTable<GpImageAttributes, ImageAttributes> table(KindOf(14));
    return table;
}

}  // namespace gdiplus
