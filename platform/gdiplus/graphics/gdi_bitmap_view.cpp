#include "platform/gdiplus/graphics/gdi_bitmap_view.h"

#include <algorithm>

namespace gdiplus {
namespace {

PixelFormat FormatOfDepth(uint16_t bitsPerPixel, bool fourthByteIsAlpha) {
    switch (bitsPerPixel) {
    case 1: return PixelFormat1bppIndexed;
    case 4: return PixelFormat4bppIndexed;
    case 8: return PixelFormat8bppIndexed;
    case 16: return PixelFormat16bppRGB555;
    case 24: return PixelFormat24bppRGB;
    case 32: return fourthByteIsAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB;
    default: return PixelFormatUndefined;
    }
}

}  // namespace

Status ViewOfGdiBitmap(win::GdiBitmap& gdi, std::unique_ptr<Bitmap>& view, bool fourthByteIsAlpha) {
    const PixelFormat format = FormatOfDepth(gdi.bitsPerPixel, fourthByteIsAlpha);
    if (format == PixelFormatUndefined || gdi.height < 1) return InvalidParameter;
    // The view addresses rows from the top; a bottom-up DIB runs backwards in memory.
    const auto stride = static_cast<std::int32_t>(gdi.stride);
    const std::int32_t signedStride = gdi.topDown ? stride : -stride;
    std::unique_ptr<Bitmap> bitmap;
    if (Status s = Bitmap::FromScan0(gdi.width, gdi.height, signedStride, format, gdi.row(0), bitmap); s != Ok) {
        return s;
    }
    if (IsIndexedPixelFormat(format)) {
        ColorPalette palette;
        const std::size_t addressable = std::size_t{1} << gdi.bitsPerPixel;
        palette.Count = static_cast<std::uint32_t>(std::min(gdi.colorTable.size(), addressable));
        for (std::uint32_t i = 0; i < palette.Count; ++i) palette.Entries[i] = gdi.colorTable[i] | 0xFF000000u;
        if (Status s = bitmap->SetPalette(palette); s != Ok) return s;
    }
    view = std::move(bitmap);
    return Ok;
}

}  // namespace gdiplus
