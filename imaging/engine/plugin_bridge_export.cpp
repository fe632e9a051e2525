// Engine images into plug-in bitmaps, for the plug-in savers.
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/plugin_bridge_metadata.h"

namespace scanvelt {

namespace {

struct ChannelMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

// The bit fields of a 16-bit format (the plug-in reads 16-bit pixels by
// them); no masks for the other formats.
ChannelMasks MasksOf(int32_t format) {
    switch (format) {
        case gdiplus::PixelFormat16bppRGB565: return {0xF800, 0x07E0, 0x001F};
        case gdiplus::PixelFormat16bppRGB555:
        case gdiplus::PixelFormat16bppARGB1555: return {0x7C00, 0x03E0, 0x001F};
        default: return {};
    }
}

// The plug-in's copy of the image's pixels in `format` (the image's own, or
// one the lock converts to), made under a read lock of the whole image; the
// lock ends on every path out.
MorvalenStatus CopyPixelsToPlugin(CodecPlugin& plugin, int32_t imageId, int32_t format, PluginHandle& bitmap) {
    int32_t width = 0, height = 0;
    GetImageWidth(imageId, width);
    GetImageHeight(imageId, height);
    gdiplus::BitmapData data;
    const MorvalenStatus locked = LockImageBits(imageId, gdiplus::Rect{0, 0, width, height}, kLockRead, format, data);
    if (locked != OK) return locked;
    const ChannelMasks masks = MasksOf(format);
    try {
        bitmap = plugin.ConvertFromRawBits(static_cast<const uint8_t*>(data.Scan0), width, height, data.Stride,
                                           static_cast<uint32_t>(BitsPerPixelOf(format)), masks.red, masks.green,
                                           masks.blue, true);
    } catch (...) {
        UnlockImageBits(imageId, data);
        throw;
    }
    const MorvalenStatus unlocked = UnlockImageBits(imageId, data);
    if (bitmap == 0) return OutOfMemory;
    if (unlocked != OK) {
        // Pixels read under a lock that did not end cleanly are not handed on.
        plugin.Unload(bitmap);
        bitmap = 0;
    }
    return unlocked;
}

}  // namespace

MorvalenStatus ImageToPluginBitmap(PluginHandle& bitmap, int32_t imageId, int32_t pixelFormat) {
    bitmap = 0;
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return MvimgplugDllRequired;
    return StatusOfRun([&]() -> MorvalenStatus {
        const int32_t format = pixelFormat != 0 ? pixelFormat : PixelFormatOf(imageId);
        const int32_t bitsPerPixel = BitsPerPixelOf(format);
        if (bitsPerPixel > 32) return UnsupportedImageFormat;
        if (const MorvalenStatus copied = CopyPixelsToPlugin(*plugin, imageId, format, bitmap); copied != OK) {
            return copied;
        }

        gdiplus::ColorPalette palette;
        if (bitsPerPixel <= 8 && GetImagePalette(imageId, palette) == OK) {
            SetPluginPalette(bitmap, std::span(palette.Entries.data(), palette.Count));
            for (uint32_t i = 0; i < palette.Count; ++i) {
                if ((palette.Entries[i] >> 24) == 0) plugin->SetTransparentIndex(bitmap, static_cast<int32_t>(i));
            }
        }
        const bool opaque32 = format == gdiplus::PixelFormat32bppRGB ||
                              (format == gdiplus::PixelFormat32bppARGB && !plugin->IsTransparent(bitmap));
        if (opaque32) {
            if (const PluginHandle narrow = plugin->ConvertTo24Bits(bitmap); narrow != 0) {
                plugin->Unload(bitmap);
                bitmap = narrow;
            }
        }
        ExportPluginMetadata(imageId, bitmap);
        return OK;
    });
}

MorvalenStatus SaveImageWithPlugin(int32_t imageId, int32_t formatCode, const std::string& path, int32_t flags) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return MvimgplugDllRequired;
    return StatusOfRun([&]() -> MorvalenStatus {
        SyncResolutionTags(imageId);
        PluginHandle bitmap = 0;
        const MorvalenStatus made = ImageToPluginBitmap(bitmap, imageId);
        if (made != OK) return made;
        bool saved = false;
        try {
            saved = PluginSave(formatCode, bitmap, path, flags);
        } catch (...) {
            plugin->Unload(bitmap);
            throw;
        }
        plugin->Unload(bitmap);
        return saved ? OK : GenericError;
    });
}

}  // namespace scanvelt
