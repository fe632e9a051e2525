// The 32 by 32 icon saver of the control.
#include "imaging/engine/color.h"
#include "imaging/engine/drawing_into_image.h"
#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/writers/plugin_savers.h"
#include "imaging/twain/further_formats.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"

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

}  // namespace

MorvalenStatus SaveAsICO(TwainControl& control, const std::string& path, bool transparent, int32_t transparentColor) {
    if (!PluginAvailable()) {
        control.setLastStatus(MvimgplugDllRequired);
        return MvimgplugDllRequired;
    }
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
