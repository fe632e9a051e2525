#pragma once
// OLE picture objects (the StdPicture a host receives): a bitmap, icon or
// metafile handle with its type and size, counted by references.
#include "platform/win/handles.h"
#include "platform/win/hresult.h"

#include <cstddef>
#include <cstdint>

namespace win {

enum class PictureType : int16_t {
    Uninitialized = -1,
    None = 0,
    Bitmap = 1,
    Metafile = 2,
    Icon = 3,
    EnhancedMetafile = 4,
};

struct PictureDescription {
    PictureType type = PictureType::None;
    uint32_t handle = 0;       // HBITMAP, HICON or metafile handle value
    HPALETTE palette{};        // bitmaps only
    int32_t metafileWidth = 0;   // HIMETRIC, metafiles only
    int32_t metafileHeight = 0;
};

struct PictureInfo {
    PictureType type = PictureType::Uninitialized;
    uint32_t handle = 0;
    HPALETTE palette{};
    int32_t width = 0;   // HIMETRIC (hundredths of a millimetre)
    int32_t height = 0;
};

// Screen resolution that pixel sizes are converted at.
constexpr int32_t kScreenDpi = 96;

// A picture with one reference. Bitmap and icon handles must be valid (they
// are measured); metafile handles are taken as given. With `own` the picture
// frees its bitmap or icon when its last reference goes.
HRESULT OleCreatePictureIndirect(const PictureDescription& description, bool own, HPICTURE& picture);

bool GetPictureInfo(HPICTURE picture, PictureInfo& info);

// Reference counting; both return the new count, 0 for an invalid handle.
uint32_t PictureAddRef(HPICTURE picture);
uint32_t PictureRelease(HPICTURE picture);

// Pictures alive now, for the tests' leak checks.
size_t LivePictureCount();

}  // namespace win
