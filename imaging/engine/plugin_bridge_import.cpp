// Plug-in bitmaps into engine images.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <vector>
#include <memory>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/plugin_bridge_metadata.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codecs/dib_reader.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt {

namespace {

constexpr int32_t kImageTypeStandard = 1;
constexpr int32_t kImageTypeGrey16 = 2;
constexpr int32_t kImageTypeRgb16 = 9;
constexpr int32_t kImageTypeRgbFloat = 11;
constexpr int32_t kImageTypeRgbaFloat = 12;
constexpr int32_t kColorTypeRgbAlpha = 4;
constexpr int32_t kPhotometricMinIsWhite = 0;
constexpr uint64_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

// Gives back a bitmap that a converted one replaces.
void GiveBack(CodecPlugin& plugin, PluginHandle bitmap, bool& locked, PluginHandle multiBitmap) {
    if (locked) {
        plugin.UnlockPage(multiBitmap, bitmap, false);
        locked = false;
    } else {
        plugin.Unload(bitmap);
    }
}

// Replaces the bitmap by `converted` when the conversion gave one.
bool TakeConverted(CodecPlugin& plugin, PluginHandle& bitmap, PluginHandle converted, bool& locked,
                   PluginHandle multiBitmap) {
    if (converted == 0) return false;
    GiveBack(plugin, bitmap, locked, multiBitmap);
    bitmap = converted;
    return true;
}

PluginHandle ToStandardBitmap(CodecPlugin& plugin, PluginHandle bitmap, int32_t imageType) {
    switch (imageType) {
        case kImageTypeGrey16: return plugin.ConvertToGreyscale(bitmap);
        case kImageTypeRgb16:
        case kImageTypeRgbFloat:
        case kImageTypeRgbaFloat: return plugin.TmoReinhard05(bitmap, 0.0, 0.0);
        default: return plugin.ConvertToType(bitmap, kImageTypeStandard, true);
    }
}

int32_t BufferPixelFormat(uint32_t bitsPerPixel, bool alpha, int32_t width, uint32_t pitch) {
    switch (bitsPerPixel) {
        case 24: return gdiplus::PixelFormat24bppRGB;
        case 32: return alpha ? gdiplus::PixelFormat32bppARGB : gdiplus::PixelFormat32bppRGB;
        case 48:
            return static_cast<int32_t>(pitch) == StrideForDepth(width, 24) ? gdiplus::PixelFormat24bppRGB
                                                                             : gdiplus::PixelFormat48bppRGB;
        case 64:
            return static_cast<int32_t>(pitch) == StrideForDepth(width, 32) ? gdiplus::PixelFormat32bppARGB
                                                                             : gdiplus::PixelFormat64bppARGB;
        default: return 0;
    }
}

// The header and colour table of the plug-in bitmap's BITMAPINFO, read by
// the BMP codec's DIB reader: the block holds the header and as many colours
// as the bitmap says it uses, and nothing is read beyond that.
bool ReadPluginDibInfo(CodecPlugin& plugin, PluginHandle bitmap, win::BitmapInfoHeader& header,
                       std::vector<uint32_t>& colours) {
    const uint8_t* info = plugin.GetInfo(bitmap);
    if (info == nullptr) return false;
    const uint64_t colourCount = std::min<uint32_t>(plugin.GetColorsUsed(bitmap), gdiplus::ColorPalette::kMaxEntries);
    const gdiplus::codecs::ByteView block(std::span(info, kInfoHeaderSize + 4 * colourCount));
    gdiplus::codecs::DibHeader dib;
    if (gdiplus::codecs::ReadDibHeader(block, 0, dib) != gdiplus::Ok || dib.tableEntrySize != 4) return false;
    header.width = static_cast<int32_t>(dib.width);
    header.height = dib.topDown ? -static_cast<int32_t>(dib.height) : static_cast<int32_t>(dib.height);
    header.bitCount = dib.bitCount;
    header.compression = dib.compression;
    header.xPelsPerMeter = dib.xPelsPerMeter;
    header.yPelsPerMeter = dib.yPelsPerMeter;
    header.clrUsed = dib.tableEntries;
    colours.resize(dib.tableEntries);
    std::memcpy(colours.data(), info + dib.tableOffset, colours.size() * sizeof(uint32_t));
    return true;
}

// The engine's format for a 16-bit plug-in bitmap, by the masks that follow
// its header (no masks: 5-5-5); 0 for masks no engine format has.
int32_t SixteenBitFormatOf(CodecPlugin& plugin, PluginHandle bitmap) {
    const uint8_t* info = plugin.GetInfo(bitmap);
    if (info == nullptr) return 0;
    uint32_t compression = 0;
    std::memcpy(&compression, info + 16, sizeof compression);
    if (compression == kCompressionNone) return gdiplus::PixelFormat16bppRGB555;
    if (compression != kCompressionBitFields) return 0;
    std::array<uint32_t, 3> masks{};
    std::memcpy(masks.data(), info + kInfoHeaderSize, sizeof masks);
    if (masks == std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}) return gdiplus::PixelFormat16bppRGB565;
    if (masks == std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}) return gdiplus::PixelFormat16bppRGB555;
    return 0;
}

// Steps 4 and 5 of an import: the pixels become a GDI+ image.
MorvalenStatus MakeImage(CodecPlugin& plugin, PluginHandle bitmap, int32_t& outId, bool& release, bool alpha) {
    const uint32_t bitsPerPixel = plugin.GetBPP(bitmap);
    const auto width = static_cast<int32_t>(plugin.GetWidth(bitmap));
    const auto height = static_cast<int32_t>(plugin.GetHeight(bitmap));
    const int32_t sixteenBitFormat = bitsPerPixel == 16 ? SixteenBitFormatOf(plugin, bitmap) : 0;
    if (bitsPerPixel >= 24 || sixteenBitFormat != 0) {
        release = true;
        if (bitsPerPixel > 64) return UnknownImageFormat;
        const uint32_t pitch = plugin.GetPitch(bitmap);
        const int32_t format =
            sixteenBitFormat != 0 ? sixteenBitFormat : BufferPixelFormat(bitsPerPixel, alpha, width, pitch);
        // The image borrows the plug-in's pixels, which are upright already.
        const MorvalenStatus status =
            ImageFromBuffer(width, height, static_cast<int32_t>(pitch), format, plugin.GetBits(bitmap), outId);
        if (status == OK) release = false;
        return status;
    }
    const bool minIsWhite = bitsPerPixel == 1 && plugin.GetPhotoMetric(bitmap) == kPhotometricMinIsWhite;
    if (minIsWhite) plugin.Invert(bitmap);
    release = true;
    const win::HBITMAP section = DibSectionFromPluginBitmap(bitmap, win::HDC{}, false);
    if (section == win::HBITMAP{}) return GenericError;
    const MorvalenStatus status = ImageFromHBitmap(section, win::HPALETTE{}, outId);
    win::DeleteObject(section);
    if (status != OK) return status;
    if (minIsWhite) {
        // Inverted bits under the file's white, black palette: make it black, white.
        gdiplus::ColorPalette palette;
        GetImagePalette(outId, palette);
        palette.Entries[0] = 0xFF000000;
        palette.Entries[1] = 0xFFFFFFFF;
        SetImagePaletteUnmarked(outId, palette);
    }
    return OK;
}

}  // namespace

win::HBITMAP DibSectionFromPluginBitmap(PluginHandle bitmap, win::HDC dc, bool unload) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr || bitmap == 0) return {};
    const uint8_t* bits = plugin->GetBits(bitmap);
    win::BitmapInfoHeader header;
    std::vector<uint32_t> colours;
    win::HBITMAP section{};
    if (bits != nullptr && ReadPluginDibInfo(*plugin, bitmap, header, colours)) {
        const bool ownDc = dc == win::HDC{};
        const win::HDC context = ownDc ? win::GetDC(0) : dc;
        void* sectionBits = nullptr;
        if (context != win::HDC{}) {
            section = win::CreateDIBSection(context, header, colours, &sectionBits);
            const size_t bytes = static_cast<size_t>(plugin->GetHeight(bitmap)) * plugin->GetPitch(bitmap);
            std::shared_ptr<win::GdiBitmap> dib = win::FindBitmap(section);
            if (section != win::HBITMAP{} && sectionBits != nullptr && dib && dib->bits.size() >= bytes) {
                std::memcpy(sectionBits, bits, bytes);
            }
            if (ownDc) win::ReleaseDC(0, context);
        }
    }
    if (unload) plugin->Unload(bitmap);
    return section;
}

MorvalenStatus ImportPluginBitmap(PluginHandle& bitmap, int32_t& outId, bool& release, bool& locked,
                                  PluginHandle multiBitmap, int32_t formatCode) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    release = true;
    if (plugin == nullptr) return MvimgplugDllRequired;
    return StatusOfRun([&]() -> MorvalenStatus {
        const float pluginDpiX = static_cast<float>(PluginDpiX(bitmap));
        const float pluginDpiY = static_cast<float>(PluginDpiY(bitmap));
        const int32_t imageType = plugin->GetImageType(bitmap);
        if (imageType != kImageTypeStandard) {
            TakeConverted(*plugin, bitmap, ToStandardBitmap(*plugin, bitmap, imageType), locked, multiBitmap);
        }
        bool alpha = plugin->GetColorType(bitmap) == kColorTypeRgbAlpha;
        if (plugin->GetBPP(bitmap) == 8 && plugin->GetImageType(bitmap) == kImageTypeStandard &&
            plugin->GetTransparencyCount(bitmap) >= 1) {
            alpha = TakeConverted(*plugin, bitmap, plugin->ConvertTo32Bits(bitmap), locked, multiBitmap) || alpha;
        }
        // 16-bit masks of no engine format: the plug-in widens the pixels.
        if (plugin->GetBPP(bitmap) == 16 && SixteenBitFormatOf(*plugin, bitmap) == 0) {
            TakeConverted(*plugin, bitmap, plugin->ConvertTo24Bits(bitmap), locked, multiBitmap);
        }
        const MorvalenStatus status = MakeImage(*plugin, bitmap, outId, release, alpha);
        if (status != OK) return status;

        float exifDpiX = 0, exifDpiY = 0;
        ImportPluginMetadata(outId, bitmap, exifDpiX, exifDpiY);
        float dpiX = pluginDpiX, dpiY = pluginDpiY;
        // A resolution of 72 x 72 is the plug-in's default: the EXIF one is the file's.
        if (pluginDpiX == 72 && pluginDpiY == 72 && (exifDpiX != pluginDpiX || exifDpiY != pluginDpiY)) {
            dpiX = exifDpiX;
            dpiY = exifDpiY;
        }
        if (dpiX > 0 && dpiY > 0) SetImageResolution(outId, dpiX, dpiY, true);
        return OK;
    });
}

}  // namespace scanvelt
