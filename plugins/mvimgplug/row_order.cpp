#include "plugins/mvimgplug/row_order.h"

namespace mvimgplug {

FIBITMAP* ToPluginRowOrder(FIBITMAP* decoded) {
    if (decoded == nullptr) return nullptr;
    if (!FreeImage_HasPixels(decoded) || !FreeImage_FlipVertical(decoded)) {
        FreeImage_Unload(decoded);
        return nullptr;
    }
    return decoded;
}

LibraryRowOrder::LibraryRowOrder(FIBITMAP* bitmap)
    : bitmap_(bitmap), turned_(FreeImage_FlipVertical(bitmap) != FALSE) {}

LibraryRowOrder::~LibraryRowOrder() {
    if (turned_) FreeImage_FlipVertical(bitmap_);
}

}  // namespace mvimgplug
