#include "platform/win/gdi_object.h"

#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_palette.h"

namespace win {

bool DeleteObject(uint32_t gdiObject) {
    switch (handleKindOf(gdiObject)) {
        case HandleKind::Bitmap: return DeleteObject(HBITMAP{gdiObject});
        case HandleKind::Palette: return DeleteObject(HPALETTE{gdiObject});
        default: return false;
    }
}

}  // namespace win
