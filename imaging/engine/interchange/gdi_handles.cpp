#include "imaging/engine/image_table.h"
#include "imaging/engine/interchange/interchange.h"
#include "platform/gdiplus/gdi_handles.h"

namespace scanvelt {

MorvalenStatus ImageToHBitmap(int32_t imageId, win::HBITMAP& bitmap, uint32_t background) {
    return StatusOf(gdiplus::CreateHBITMAPFromBitmap(NativeImageOf(imageId), background, bitmap));
}

MorvalenStatus ImageToHIcon(int32_t imageId, win::HICON& icon) {
    return StatusOf(gdiplus::CreateHICONFromBitmap(NativeImageOf(imageId), icon));
}

}  // namespace scanvelt
