#include "platform/win/gdi_icon.h"

#include "platform/win/handle_table.h"

namespace win {
namespace {

HandleTable<HICON, GdiIcon>& icons() {
    static HandleTable<HICON, GdiIcon> table(HandleKind::Icon);
    return table;
}

GdiBitmap unselectedCopy(const GdiBitmap& bitmap) {
    GdiBitmap copy = bitmap;
    copy.selectedInto = 0;
    return copy;
}

}  // namespace

HICON CreateIconIndirect(const IconInfo& info) {
    auto mask = FindBitmap(info.mask);
    if (!mask) return HICON{};
    GdiIcon icon;
    icon.isIcon = info.isIcon;
    icon.xHotspot = info.xHotspot;
    icon.yHotspot = info.yHotspot;
    icon.mask = unselectedCopy(*mask);
    if (info.color != HBITMAP{}) {
        auto color = FindBitmap(info.color);
        if (!color) return HICON{};
        icon.color = std::make_shared<const GdiBitmap>(unselectedCopy(*color));
    }
    return icons().add(std::make_shared<GdiIcon>(std::move(icon)));
}

bool GetIconInfo(HICON handle, IconInfo& info) {
    auto icon = icons().find(handle);
    if (!icon) return false;
    IconInfo out;
    out.isIcon = icon->isIcon;
    out.xHotspot = icon->xHotspot;
    out.yHotspot = icon->yHotspot;
    out.mask = AddBitmap(icon->mask);
    if (out.mask == HBITMAP{}) return false;
    if (icon->color) {
        out.color = AddBitmap(*icon->color);
        if (out.color == HBITMAP{}) {
            DeleteObject(out.mask);
            return false;
        }
    }
    info = out;
    return true;
}

std::shared_ptr<const GdiIcon> FindIcon(HICON icon) { return icons().find(icon); }

HICON AddIcon(GdiIcon icon) {
    if (icon.mask.width <= 0 || icon.mask.bits.empty()) return HICON{};
    return icons().add(std::make_shared<GdiIcon>(std::move(icon)));
}

bool DestroyIcon(HICON icon) { return icons().remove(icon) != nullptr; }

size_t LiveIconCount() { return icons().size(); }

}  // namespace win
