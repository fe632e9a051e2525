#include "imaging/engine/writers/plugin_savers.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/plugin_bridge.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {

namespace {

// Plug-in format codes of the savers.
constexpr int32_t kIco = 1;
constexpr int32_t kPbm = 7;
constexpr int32_t kTarga = 17;
constexpr int32_t kTiff = 18;
constexpr int32_t kWbmp = 19;
constexpr int32_t kXpm = 23;
constexpr int32_t kExr = 29;
constexpr int32_t kJ2k = 30;
constexpr int32_t kJp2 = 31;
// The plug-in's TIFF flag for JPEG compression, as a 16-bit value widened.
constexpr int32_t kTiffJpegFlags = -32768;

struct PluginSaver {
    int32_t format = 0;
    int32_t flags = 0;
    // Whether the file format takes an image of this pixel format.
    std::function<bool(int32_t pixelFormat)> accepts;
    // WBMP and XPM answer a failed bitmap with InvalidParameter.
    bool bitmapFailureIsInvalidParameter = false;
    // EXR is written from floating-point RGB.
    bool toFloatingPoint = false;
    // The 16-bit formats whose very bits the file format stores (TGA's 16
    // bits are 5-5-5 with an attribute bit).
    std::vector<int32_t> storedSixteenBitFormats;
};

// The format the pixels go to the plug-in in. 16-bit pixels stay as they are
// only where the file stores those very bits; elsewhere the engine widens
// them itself, with the rounding of its every other conversion: the
// plug-in's writers would store 5-6-5 words as 5-5-5, or round otherwise.
int32_t HandedPixelFormat(const PluginSaver& saver, int32_t own) {
    if (BitsPerPixelOf(own) != 16) return own;
    const std::vector<int32_t>& kept = saver.storedSixteenBitFormats;
    if (std::find(kept.begin(), kept.end(), own) != kept.end()) return own;
    return own == gdiplus::PixelFormat16bppARGB1555 ? gdiplus::PixelFormat32bppARGB : gdiplus::PixelFormat24bppRGB;
}

std::function<bool(int32_t)> Formats(std::initializer_list<int32_t> formats) {
    std::vector<int32_t> list(formats);
    return [list](int32_t format) { return std::find(list.begin(), list.end(), format) != list.end(); };
}

std::function<bool(int32_t)> Depths(std::initializer_list<int32_t> depths) {
    std::vector<int32_t> list(depths);
    return [list](int32_t format) {
        return std::find(list.begin(), list.end(), BitsPerPixelOf(format)) != list.end();
    };
}

std::function<bool(int32_t)> AnyFormat() {
    return [](int32_t) { return true; };
}

std::function<bool(int32_t)> JpegTwoThousandFormats() {
    return Formats({gdiplus::PixelFormat24bppRGB, gdiplus::PixelFormat32bppRGB, gdiplus::PixelFormat8bppIndexed,
                    gdiplus::PixelFormat32bppARGB});
}

// Saves the plug-in bitmap and gives it back.
MorvalenStatus SaveAndUnload(CodecPlugin& plugin, PluginHandle bitmap, const PluginSaver& saver,
                             const std::string& path) {
    bool saved = false;
    try {
        saved = PluginSave(saver.format, bitmap, path, saver.flags);
    } catch (...) {
        plugin.Unload(bitmap);
        throw;
    }
    plugin.Unload(bitmap);
    return saved ? OK : GenericError;
}

MorvalenStatus SaveThroughPlugin(int32_t imageId, const std::string& path, const PluginSaver& saver) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return MvimgplugDllRequired;
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    return StatusOfRun([&]() -> MorvalenStatus {
        if (!saver.accepts(PixelFormatOf(imageId))) return UnsupportedPixelFormat;
        SyncResolutionTags(imageId);
        PluginHandle bitmap = 0;
        const MorvalenStatus made =
            ImageToPluginBitmap(bitmap, imageId, HandedPixelFormat(saver, PixelFormatOf(imageId)));
        if (made != OK) {
            if (bitmap != 0) plugin->Unload(bitmap);
            return saver.bitmapFailureIsInvalidParameter ? InvalidParameter : made;
        }
        if (saver.toFloatingPoint) {
            PluginHandle converted = 0;
            try {
                converted = plugin->ConvertToRGBF(bitmap);
            } catch (...) {
                plugin->Unload(bitmap);
                throw;
            }
            plugin->Unload(bitmap);
            if (converted == 0) return OutOfMemory;
            bitmap = converted;
        }
        return SaveAndUnload(*plugin, bitmap, saver, path);
    });
}

}  // namespace

MorvalenStatus SaveImageAsJ2k(int32_t imageId, const std::string& path, int32_t rate) {
    return SaveThroughPlugin(imageId, path, {kJ2k, rate, JpegTwoThousandFormats()});
}

MorvalenStatus SaveImageAsJp2(int32_t imageId, const std::string& path, int32_t rate) {
    return SaveThroughPlugin(imageId, path, {kJp2, rate, JpegTwoThousandFormats()});
}

MorvalenStatus SaveImageAsExr(int32_t imageId, const std::string& path, int32_t compression) {
    return SaveThroughPlugin(imageId, path, {kExr, compression, AnyFormat(), false, true});
}

MorvalenStatus SaveImageAsIco(int32_t imageId, const std::string& path) {
    return SaveThroughPlugin(imageId, path, {kIco, 0, AnyFormat()});
}

MorvalenStatus SaveImageAsPbm(int32_t imageId, const std::string& path) {
    return SaveThroughPlugin(imageId, path,
                             {kPbm, 0,
                              Formats({gdiplus::PixelFormat24bppRGB, gdiplus::PixelFormat32bppRGB,
                                       gdiplus::PixelFormat1bppIndexed, gdiplus::PixelFormat8bppIndexed})});
}

MorvalenStatus SaveImageAsTga(int32_t imageId, const std::string& path) {
    return SaveThroughPlugin(imageId, path,
                             {kTarga, 0, Depths({8, 16, 24, 32}), false, false, {gdiplus::PixelFormat16bppRGB555}});
}

MorvalenStatus SaveImageAsTiffJpeg(int32_t imageId, const std::string& path, int32_t quality) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return MvimgplugDllRequired;
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    const MorvalenStatus set = StatusOfRun([&] {
        plugin->SetTiffJpegCompression(std::clamp(quality, 0, 100));
        return OK;
    });
    if (set != OK) return set;
    return SaveThroughPlugin(imageId, path, {kTiff, kTiffJpegFlags, Depths({8, 24})});
}

MorvalenStatus SaveImageAsWbmp(int32_t imageId, const std::string& path) {
    return SaveThroughPlugin(imageId, path, {kWbmp, 0, Depths({1}), true});
}

MorvalenStatus SaveImageAsXpm(int32_t imageId, const std::string& path) {
    return SaveThroughPlugin(imageId, path, {kXpm, 0, Depths({8, 24}), true});
}

}  // namespace scanvelt
