// Loading OLE pictures, the clipboard's picture and metafiles.
#include <cstdint>
#include <limits>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/temp_files.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {

namespace {

thread_local ClipboardPictureSource tClipboard;

bool FitsInt16(int32_t value) {
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

}  // namespace

MorvalenStatus LoadImageFromPicture(int32_t& outId, win::HPICTURE picture) {
    win::PictureInfo info;
    if (!win::GetPictureInfo(picture, info)) return InvalidParameter;
    switch (info.type) {
        case win::PictureType::Bitmap:
            return ImageFromHBitmap(static_cast<win::HBITMAP>(info.handle), info.palette, outId);
        case win::PictureType::Icon:
            return ImageFromHIcon(static_cast<win::HICON>(info.handle), outId);
        case win::PictureType::Metafile:
            // The placeable header takes the size as 16-bit values.
            if (!FitsInt16(info.width) || !FitsInt16(info.height)) return GenericError;
            return UnknownImageFormat;
        case win::PictureType::EnhancedMetafile:
            // No library on this platform draws metafiles.
            return UnknownImageFormat;
        default:
            return InvalidParameter;
    }
}

MorvalenStatus LoadImageFromClipboard(int32_t& outId) {
    if (!tClipboard) return GenericError;
    const std::optional<win::HPICTURE> picture = tClipboard();
    if (!picture) return GenericError;
    const MorvalenStatus status = LoadImageFromPicture(outId, *picture);
    win::PictureRelease(*picture);
    return status;
}

void SetClipboardPictureSource(ClipboardPictureSource source) { tClipboard = std::move(source); }

MorvalenStatus LoadMetafileImage(int32_t& outId, const std::string& path, float scale, bool render) {
    const std::string file = NormalizePath(path);
    if (file.find_first_not_of(' ') == std::string::npos || ExistingFilePath(file).empty()) return FileNotFound;
    if (!render) return Aborted;
    return RenderMetafileFile(file, scale, outId);
}

MorvalenStatus RenderMetafileFile(const std::string& /*path*/, float /*scale*/, int32_t& /*outId*/) {
    // GDI+ answers a file it cannot read as a metafile with this status; here
    // it cannot read any.
    return UnknownImageFormat;
}

}  // namespace scanvelt
