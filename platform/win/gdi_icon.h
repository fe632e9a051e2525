#pragma once
// Icons: a colour bitmap and an AND mask, held as copies, so the bitmaps they
// were made from stay the caller's.
#include "platform/win/gdi_bitmap.h"

#include <memory>

namespace win {

struct IconInfo {
    bool isIcon = true;
    uint32_t xHotspot = 0;
    uint32_t yHotspot = 0;
    HBITMAP mask{};
    HBITMAP color{};  // may be null for a monochrome icon (mask holds both halves)
};

struct GdiIcon {
    bool isIcon = true;
    uint32_t xHotspot = 0;
    uint32_t yHotspot = 0;
    GdiBitmap mask;
    std::shared_ptr<const GdiBitmap> color;  // null for a monochrome icon
};

// A new icon from copies of the mask and colour bitmaps; the null handle
// when the mask is missing or a bitmap handle is invalid.
HICON CreateIconIndirect(const IconInfo& info);

// Describes an icon with new bitmaps (copies) that the caller deletes.
bool GetIconInfo(HICON icon, IconInfo& info);

std::shared_ptr<const GdiIcon> FindIcon(HICON icon);

// Registers an icon made elsewhere (GDI+ making an icon of an image).
HICON AddIcon(GdiIcon icon);

bool DestroyIcon(HICON icon);

// Icons alive now, for the tests' leak checks.
size_t LiveIconCount();

}  // namespace win
