// Loading OLE pictures, the clipboard's picture and metafiles.
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/temp_files.h"
#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_entry.h"
#include "imaging/engine/image_table.h"
#include "platform/gdiplus/codecs/wmf_renderer.h"
#include "platform/gdiplus/file_io.h"
#include "platform/win/clipboard.h"
#include "platform/win/global_memory.h"
#include "platform/win/windows_path.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {

namespace {

thread_local ClipboardPictureSource tClipboard;

bool FitsInt16(int32_t value) {
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

MorvalenStatus LoadImageFromHostClipboard(int32_t& outId) {
    // The host's clipboard service hands out the bitmap it holds; a host
    // without one has nothing to paste.
    const win::HBITMAP bitmap = win::GetClipboardBitmap();
    if (bitmap == win::HBITMAP{}) return GenericError;
    const MorvalenStatus status = ImageFromHBitmap(bitmap, win::HPALETTE{}, outId);
    win::DeleteObject(bitmap);
    return status;
}

constexpr double kScreenDpi = 96;

// The metafile drawn into a bitmap of the size over the background,
// registered (kind 0) at the screen's resolution.
MorvalenStatus RegisterRenderedWmf(const std::vector<uint8_t>& wmf, int32_t width, int32_t height,
                                   gdiplus::codecs::WmfBackground background, int32_t& outId) {
    return StatusOfRun([&] {
        std::unique_ptr<gdiplus::Bitmap> bitmap;
        if (const gdiplus::Status status = gdiplus::codecs::RenderWmf(wmf, width, height, background, bitmap);
            status != gdiplus::Ok)
            return StatusOf(status);
        bitmap->SetResolution(static_cast<float>(kScreenDpi), static_cast<float>(kScreenDpi));
        RegisterImage(outId, std::move(bitmap), "", "", ImageKindMemory);
        return OK;
    });
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
        case win::PictureType::Metafile: {
            // The placeable header takes the size as 16-bit values.
            if (!FitsInt16(info.width) || !FitsInt16(info.height)) return GenericError;
            WmfPlaceableHeader header;
            header.right = static_cast<int16_t>(info.width);
            header.bottom = static_cast<int16_t>(info.height);
            // The picture keeps its metafile: it is not deleted here.
            return ImageFromWmf(win::HGLOBAL{info.handle}, false, header, outId) == OK ? OK : UnknownImageFormat;
        }
        case win::PictureType::EnhancedMetafile:
            // No library on this platform draws metafiles.
            return UnknownImageFormat;
        default:
            return InvalidParameter;
    }
}

MorvalenStatus LoadImageFromClipboard(int32_t& outId) {
    if (!tClipboard) return LoadImageFromHostClipboard(outId);
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

MorvalenStatus RenderMetafileFile(const std::string& path, float scale, int32_t& outId) {
    std::vector<uint8_t> bytes;
    if (const gdiplus::Status status = gdiplus::ReadWholeFile(win::ResolveWindowsPath(path), bytes);
        status != gdiplus::Ok)
        return StatusOf(status);
    // The metafile's size in pixels of the screen, times the scale; an
    // enhanced metafile, or anything else libwmf cannot read, is refused as
    // GDI+ refuses a file it cannot read as a metafile.
    int32_t width = 0, height = 0;
    if (!gdiplus::codecs::WmfPixelSize(bytes, kScreenDpi, width, height)) return UnknownImageFormat;
    const double scaledWidth = std::nearbyint(width * static_cast<double>(scale));
    const double scaledHeight = std::nearbyint(height * static_cast<double>(scale));
    if (!(scaledWidth >= 1 && scaledHeight >= 1) ||
        scaledWidth * scaledHeight > static_cast<double>(gdiplus::codecs::kMaxWmfPixels))
        return InvalidParameter;
    return RegisterRenderedWmf(bytes, static_cast<int32_t>(scaledWidth), static_cast<int32_t>(scaledHeight),
                               gdiplus::codecs::WmfBackground::Transparent, outId);
}

MorvalenStatus ImageFromWmf(win::HGLOBAL metafile, bool deleteMetafile, const WmfPlaceableHeader& header,
                            int32_t& newId) {
    // The metafile's records travel in a global memory block; the header
    // gives it the frame and unit that a placeable file carries.
    std::vector<uint8_t> records;
    const bool read = win::CopyGlobalBytes(metafile, win::GlobalSize(metafile), records) && !records.empty();
    if (deleteMetafile && read) win::GlobalFree(metafile);
    if (!read) return InvalidParameter;
    if (header.right <= header.left || header.bottom <= header.top || header.unitsPerInch < 1) return InvalidParameter;
    std::vector<uint8_t> wmf =
        gdiplus::codecs::WmfPlaceableHeader(header.left, header.top, header.right, header.bottom, header.unitsPerInch);
    wmf.insert(wmf.end(), records.begin(), records.end());
    int32_t width = 0, height = 0;
    if (!gdiplus::codecs::WmfPixelSize(wmf, kScreenDpi, width, height)) return UnknownImageFormat;
    return RegisterRenderedWmf(wmf, width, height, gdiplus::codecs::WmfBackground::OpaqueWhite, newId);
}

}  // namespace scanvelt
