// The shown image handed out as a GDI bitmap.
#include "imaging/engine/interchange/interchange.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt {

uint32_t ViewerControl::GetHBitmap() {
    win::HBITMAP bitmap{};
    LastStatus_ = ImageToHBitmap(NativeImageID_, bitmap, 0);
    if (LastStatus_ != OK) {
        if (bitmap != win::HBITMAP{}) win::DeleteObject(bitmap);  // nothing half-made reaches the host
        return 0;
    }
    return win::handleValue(bitmap);
}

void ViewerControl::DeleteHBitmap(uint32_t bitmap) { win::DeleteObject(win::HBITMAP{bitmap}); }

}  // namespace scanvelt
