#include "platform/gdiplus/graphics/object_handles.h"

namespace gdiplus {

win::HandleTable<GpGraphics, Graphics>& GraphicsHandles() {
    static win::HandleTable<GpGraphics, Graphics> table(win::HandleKind::DrawingGraphics);
    return table;
}

win::HandleTable<GpFontFamily, FontFamily>& FontFamilyHandles() {
    static win::HandleTable<GpFontFamily, FontFamily> table(win::HandleKind::DrawingFontFamily);
    return table;
}

win::HandleTable<GpFont, Font>& FontHandles() {
    static win::HandleTable<GpFont, Font> table(win::HandleKind::DrawingFont);
    return table;
}

win::HandleTable<GpStringFormat, StringFormat>& StringFormatHandles() {
    static win::HandleTable<GpStringFormat, StringFormat> table(win::HandleKind::DrawingStringFormat);
    return table;
}

win::HandleTable<GpPen, Pen>& PenHandles() {
    static win::HandleTable<GpPen, Pen> table(win::HandleKind::DrawingPen);
    return table;
}

win::HandleTable<GpBrush, Brush>& BrushHandles() {
    static win::HandleTable<GpBrush, Brush> table(win::HandleKind::DrawingBrush);
    return table;
}

win::HandleTable<GpImageAttributes, ImageAttributes>& ImageAttributesHandles() {
    static win::HandleTable<GpImageAttributes, ImageAttributes> table(win::HandleKind::DrawingImageAttributes);
    return table;
}

}  // namespace gdiplus
