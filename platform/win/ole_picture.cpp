#include "platform/win/ole_picture.h"

#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/handle_table.h"

#include <cmath>
#include <mutex>

namespace win {
namespace {

struct Picture {
    PictureInfo info;
    bool own = false;
    uint32_t references = 1;
};

HandleTable<HPICTURE, Picture>& pictures() {
    static HandleTable<HPICTURE, Picture> table(HandleKind::Picture);
    return table;
}

std::mutex& referenceMutex() {
    static std::mutex mutex;
    return mutex;
}

int32_t pixelsToHimetric(int32_t pixels) {
    return static_cast<int32_t>(std::lround(static_cast<double>(pixels) * 2540.0 / kScreenDpi));
}

}  // namespace

HRESULT OleCreatePictureIndirect(const PictureDescription& description, bool own, HPICTURE& picture) {
    picture = HPICTURE{};
    PictureInfo info;
    info.type = description.type;
    info.handle = description.handle;
    switch (description.type) {
        case PictureType::None:
            break;
        case PictureType::Bitmap: {
            auto bitmap = FindBitmap(HBITMAP{description.handle});
            if (!bitmap) return E_INVALIDARG;
            info.palette = description.palette;
            info.width = pixelsToHimetric(bitmap->width);
            info.height = pixelsToHimetric(bitmap->height);
            break;
        }
        case PictureType::Icon: {
            auto icon = FindIcon(HICON{description.handle});
            if (!icon) return E_INVALIDARG;
            // A monochrome icon's mask holds the AND and XOR halves one above the other.
            int32_t height = icon->color ? icon->color->height : icon->mask.height / 2;
            info.width = pixelsToHimetric(icon->mask.width);
            info.height = pixelsToHimetric(height);
            break;
        }
        case PictureType::Metafile:
        case PictureType::EnhancedMetafile:
            if (description.handle == 0) return E_INVALIDARG;
            info.width = description.metafileWidth;
            info.height = description.metafileHeight;
            break;
        default:
            return E_INVALIDARG;
    }
    auto object = std::make_shared<Picture>();
    object->info = info;
    object->own = own;
    picture = pictures().add(std::move(object));
    return picture == HPICTURE{} ? E_OUTOFMEMORY : S_OK;
}

bool GetPictureInfo(HPICTURE handle, PictureInfo& info) {
    auto picture = pictures().find(handle);
    if (!picture) return false;
    info = picture->info;
    return true;
}

uint32_t PictureAddRef(HPICTURE handle) {
    auto picture = pictures().find(handle);
    if (!picture) return 0;
    std::lock_guard lock(referenceMutex());
    return ++picture->references;
}

uint32_t PictureRelease(HPICTURE handle) {
    auto picture = pictures().find(handle);
    if (!picture) return 0;
    {
        std::lock_guard lock(referenceMutex());
        if (--picture->references > 0) return picture->references;
    }
    pictures().remove(handle);
    if (picture->own) {
        // The handle may already be gone (a host deleted it through the
        // picture's handle); a stale handle is simply refused then.
        if (picture->info.type == PictureType::Bitmap) DeleteObject(HBITMAP{picture->info.handle});
        if (picture->info.type == PictureType::Icon) DestroyIcon(HICON{picture->info.handle});
    }
    return 0;
}

size_t LivePictureCount() { return pictures().size(); }

}  // namespace win
