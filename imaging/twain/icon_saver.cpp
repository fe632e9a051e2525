// The 32 by 32 icon saver of the control.
#include "imaging/engine/color.h"
#include "imaging/engine/drawing_into_image.h"
#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/temp_files.h"
#include "imaging/engine/writers/plugin_savers.h"
#include "imaging/twain/further_formats.h"
#include "imaging/twain/icon_file.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/windows_path.h"

#include <algorithm>
#include <vector>

namespace scanvelt {
namespace {

constexpr int32_t kIconSize = 32;
constexpr int32_t kColourToAlphaCode = 50;
constexpr int32_t kHighQualityBicubic = 7;
constexpr float kExactTolerance = 100.0f;
constexpr float kScaledTolerance = 80.0f;
constexpr int32_t kArgb = static_cast<int32_t>(gdiplus::PixelFormat32bppARGB);

// Pixels of `colour` (ARGB) within `tolerance` of the current image become
// transparent; an image without alpha becomes 32-bit ARGB first.
MorvalenStatus ApplyTransparentColor(TwainControl& control, uint32_t colour, float tolerance) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return GenericError;
    }
    control.ResetRoiToImage();
    if (MorvalenStatus empty = control.CheckRegionHasPixels(); empty != OK) return empty;
    int32_t format = 0;
    MorvalenStatus status = GetImagePixelFormat(control.currentImage(), format);
    if (status == OK && !IsAlphaFormat(format)) {
        int32_t unused = 0;
        status = ConvertPixelFormat(control.currentImage(), kArgb, false, unused);
    }
    if (status == OK) {
        if ((colour & 0xFF000000u) == 0) colour |= 0xFF000000u;
        double unused = 0.0;
        status = ApplyFilter(kColourToAlphaCode, control.currentImage(), tolerance, control.roi(), 0, 0, 0,
                             static_cast<double>(static_cast<int32_t>(colour)), 0, 0, unused);
    }
    control.setLastStatus(status);
    return status;
}

// The 32 by 32 ARGB copy of the current image, and the tolerance its
// transparency takes; 0 when a step failed (its status stored).
int32_t IconCopy(TwainControl& control, float& tolerance) {
    const int32_t current = control.currentImage();
    int32_t width = 0, height = 0;
    MorvalenStatus status = GetImageWidth(current, width);
    if (status == OK) status = GetImageHeight(current, height);
    int32_t copy = 0;
    if (status == OK && width == kIconSize && height == kIconSize) {
        tolerance = kExactTolerance;
        status = ConvertPixelFormat(current, kArgb, true, copy);
    } else if (status == OK) {
        tolerance = kScaledTolerance;
        status = ImageFromBuffer(kIconSize, kIconSize, 0, kArgb, nullptr, copy);
        if (status == OK) {
            status = DrawImageIntoImage(copy, current, 0, 0, kIconSize, kIconSize, 0, 0, width, height,
                                        kHighQualityBicubic);
        }
    }
    control.setLastStatus(status);
    if (status != OK && copy != 0) {
        ReleaseImage(copy);
        copy = 0;
    }
    return copy;
}

// The 32 by 32 picture the icon is made of, read back from a bitmap file as
// a picture saved and loaded again is (its alpha gone): 0 on failure.
int32_t PictureRoundTrip(int32_t image) {
    const std::string temporary = GetTempFolder() + "mvico.tmp";
    int32_t loaded = 0;
    if (SaveImageAsBmp(image, temporary) == OK) {
        if (LoadImageFromFile(loaded, temporary, false, true, false, 0, true, false) != OK) loaded = 0;
    }
    DeleteFileQuietly(temporary);
    return loaded;
}

// The icon of a picture: its pixels copied into a black 32 by 32 colour
// image from the top left corner, and a mask that shows through exactly the
// pixels of `colour` (a Windows RGB value; -1 none), which turn black.
bool WriteIconOf(int32_t picture, const std::string& path, int32_t colour) {
    int32_t width = 0, height = 0;
    if (picture == 0 || GetImageWidth(picture, width) != OK || GetImageHeight(picture, height) != OK) return false;
    const gdiplus::Bitmap* bitmap = NativeBitmapOf(picture);
    if (bitmap == nullptr) return false;
    std::vector<uint32_t> source(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (bitmap->CopyPixels({0, 0, width, height}, gdiplus::PixelFormat32bppRGB, width * 4, source.data()) != gdiplus::Ok) {
        return false;
    }
    std::vector<uint32_t> rgb(kIconSize * kIconSize, 0);
    std::vector<bool> transparent(kIconSize * kIconSize, false);
    const uint32_t wanted = colour == -1 ? 0xFFFFFFFFu
                                         : (static_cast<uint32_t>(colour) & 0xFFu) << 16 |
                                               (static_cast<uint32_t>(colour) & 0xFF00u) |
                                               (static_cast<uint32_t>(colour) >> 16 & 0xFFu);
    for (int32_t y = 0; y < std::min(height, kIconSize); ++y) {
        for (int32_t x = 0; x < std::min(width, kIconSize); ++x) {
            const uint32_t p = source[static_cast<size_t>(y) * width + x] & 0x00FFFFFFu;
            const size_t at = static_cast<size_t>(y) * kIconSize + x;
            transparent[at] = p == wanted;
            rgb[at] = transparent[at] ? 0 : p;
        }
    }
    return WriteIconFile(path, kIconSize, kIconSize, rgb, transparent);
}

// The icon saver without the codec plug-in: scaled through a graphics,
// transparency through the icon's mask (exact colour only).
MorvalenStatus SaveIconWithoutPlugin(TwainControl& control, const std::string& path, bool transparent,
                                     int32_t transparentColor) {
    const int32_t current = control.currentImage();
    int32_t width = 0, height = 0;
    MorvalenStatus status = GetImageWidth(current, width);
    if (status == OK) status = GetImageHeight(current, height);
    int32_t scaled = 0;
    int32_t icon = current;
    if (status == OK && (width != kIconSize || height != kIconSize)) {
        status = ImageFromBuffer(kIconSize, kIconSize, 0, kArgb, nullptr, scaled);
        if (status == OK) {
            status = DrawImageIntoImage(scaled, current, 0, 0, kIconSize, kIconSize, 0, 0, width, height,
                                        kHighQualityBicubic);
        }
        icon = scaled;
    }
    if (status == OK) {
        const int32_t picture = PictureRoundTrip(icon);
        if (!WriteIconOf(picture, path, transparent ? transparentColor : -1)) status = GenericError;
        if (picture != 0) ReleaseImage(picture);
    }
    if (scaled != 0) ReleaseImage(scaled);
    control.setLastStatus(status);
    return status;
}

}  // namespace

MorvalenStatus SaveAsICO(TwainControl& control, const std::string& path, bool transparent, int32_t transparentColor) {
    // The plug-in resolves the host's Windows path itself; the icon writer is
    // handed it resolved the same way.
    if (!PluginAvailable())
        return SaveIconWithoutPlugin(control, win::ResolveWindowsPath(path), transparent, transparentColor);
    float tolerance = kExactTolerance;
    const int32_t copy = IconCopy(control, tolerance);
    if (copy == 0) return control.GetStat();
    MorvalenStatus status = OK;
    if (transparent) {
        cColor colour;
        colour.FromRGBColor(transparentColor);
        const int32_t former = control.currentImage();
        control.setCurrentImage(copy);
        status = ApplyTransparentColor(control, static_cast<uint32_t>(colour.GetValue()), tolerance);
        control.setCurrentImage(former);
    }
    if (status == OK) status = SaveImageAsIco(copy, path);
    ReleaseImage(copy);
    control.setLastStatus(status);
    return status;
}

}  // namespace scanvelt
