#include "imaging/twain/colour_members.h"

#include <algorithm>
#include <stdexcept>

#include "imaging/engine/color.h"
#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {
namespace {

// The filter codes of the dispatcher and the hue, saturation and lightness
// each member hands it.
struct FilterCall {
    int32_t code;
    float hue = 0.0f, saturation = 0.5f, lightness = 1.0f;
};

constexpr FilterCall kBrightness{14};
constexpr FilterCall kContrast{17};
constexpr FilterCall kGamma{31};
constexpr FilterCall kSaturation{30};
constexpr FilterCall kSepia{34, 0.5f, 0.25f, 1.0f};
constexpr FilterCall kStretchContrast{28};
constexpr FilterCall kNegative{2};
constexpr FilterCall kSoften{33};
constexpr FilterCall kDespeckle{61};
constexpr FilterCall kSmooth{5};

MorvalenStatus RunFilter(TwainControl& control, const FilterCall& call, double amount) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return GenericError;
    }
    control.ResetRoiToImage();
    if (MorvalenStatus empty = control.CheckRegionHasPixels(); empty != OK) return empty;
    double unused = 0.0;
    MorvalenStatus status = ApplyFilter(call.code, control.currentImage(), amount, control.roi(), call.hue,
                                        call.saturation, call.lightness, 0.0, 0.0, 0.0, unused);
    control.setLastStatus(status);
    return status;
}

bool CurrentIsIndexed(const TwainControl& control) {
    int32_t format = 0;
    if (control.currentImage() == 0 || GetImagePixelFormat(control.currentImage(), format) != OK) return false;
    return gdiplus::IsIndexedPixelFormat(format);
}

// The palette size first, then the palette, as the engine reads it.
MorvalenStatus ReadPalette(int32_t imageId, gdiplus::ColorPalette& palette) {
    int32_t size = 0;
    MorvalenStatus status = GetImagePaletteSize(imageId, size);
    if (status != OK) return status;
    return GetImagePalette(imageId, palette);
}

uint8_t Limit(int32_t component) { return static_cast<uint8_t>(std::clamp(component, 0, 255)); }

}  // namespace

MorvalenStatus SetBrightness(TwainControl& control, int32_t brightnessPct) {
    return RunFilter(control, kBrightness, brightnessPct);
}
MorvalenStatus SetContrast(TwainControl& control, int32_t contrastPct) {
    return RunFilter(control, kContrast, contrastPct);
}
MorvalenStatus SetGammaCorrection(TwainControl& control, int32_t gammaFactor) {
    // The dispatcher takes the factor as a percentage of 1.
    return RunFilter(control, kGamma, static_cast<double>(gammaFactor) + 100.0);
}
MorvalenStatus SetSaturation(TwainControl& control, int32_t saturationPct) {
    return RunFilter(control, kSaturation, saturationPct);
}
MorvalenStatus FxSepia(TwainControl& control) { return RunFilter(control, kSepia, 0); }
MorvalenStatus FxStretchContrast(TwainControl& control) { return RunFilter(control, kStretchContrast, 0); }
MorvalenStatus FxNegative(TwainControl& control) { return RunFilter(control, kNegative, 0); }
MorvalenStatus FxSoften(TwainControl& control, int32_t softenValue) {
    return RunFilter(control, kSoften, std::clamp(softenValue, 1, 100));
}
MorvalenStatus FxDespeckle(TwainControl& control) { return RunFilter(control, kDespeckle, 0); }
MorvalenStatus FxSmooth(TwainControl& control) { return RunFilter(control, kSmooth, 0); }

MorvalenStatus ColorPaletteGet(TwainControl& control, std::vector<int32_t>& colours, int32_t& count) {
    count = 0;
    if (!CurrentIsIndexed(control)) {
        control.setLastStatus(NotIndexedPixelFormat);
        return NotIndexedPixelFormat;
    }
    gdiplus::ColorPalette palette;
    MorvalenStatus status = ReadPalette(control.currentImage(), palette);
    control.setLastStatus(status);
    if (status != OK) return status;
    count = static_cast<int32_t>(std::min(palette.Count, gdiplus::ColorPalette::kMaxEntries));
    if (count > 0) colours.assign(palette.Entries.begin(), palette.Entries.begin() + count);
    return OK;
}

int32_t ColorPaletteGetColorsCount(TwainControl& control) {
    if (!CurrentIsIndexed(control)) {
        control.setLastStatus(NotIndexedPixelFormat);
        return 0;
    }
    gdiplus::ColorPalette palette;
    MorvalenStatus status = ReadPalette(control.currentImage(), palette);
    control.setLastStatus(status);
    return status == OK ? static_cast<int32_t>(std::min(palette.Count, gdiplus::ColorPalette::kMaxEntries)) : 0;
}

MorvalenStatus ColorPaletteSet(TwainControl& control, std::span<const int32_t> colours) {
    if (!CurrentIsIndexed(control)) {
        control.setLastStatus(NotIndexedPixelFormat);
        return NotIndexedPixelFormat;
    }
    const int32_t id = control.currentImage();
    int32_t width = 0, height = 0, format = 0;
    MorvalenStatus status = GetImageWidth(id, width);
    control.setLastStatus(status);
    status = GetImageHeight(id, height);
    control.setLastStatus(status);
    GetImagePixelFormat(id, format);
    if (colours.empty()) return status;

    // The palette holds 256 entries: colours past them are not read.
    const size_t count = std::min<size_t>(colours.size(), gdiplus::ColorPalette::kMaxEntries);
    gdiplus::ColorPalette palette;
    palette.Count = static_cast<uint32_t>(count);
    bool anyTranslucent = false;
    cColor colour;
    for (size_t i = 0; i < count; ++i) {
        palette.Entries[i] = static_cast<gdiplus::ARGB>(colours[i]);
        colour.SetValue(colours[i]);
        anyTranslucent = anyTranslucent || colour.GetAlpha() < 255;
    }
    palette.Flags = anyTranslucent ? gdiplus::PaletteFlagsHasAlpha : gdiplus::PaletteFlagsHalftone;

    const gdiplus::Rect whole{0, 0, width, height};
    auto lockAndUnlock = [&](uint32_t mode) {
        gdiplus::BitmapData data{};
        MorvalenStatus locked = LockImageBits(id, whole, mode, format, data);
        control.setLastStatus(locked);
        if (locked != OK) return locked;
        MorvalenStatus unlocked = UnlockImageBits(id, data);
        control.setLastStatus(unlocked);
        return unlocked;
    };
    if ((status = lockAndUnlock(gdiplus::ImageLockModeRead)) != OK) return status;
    status = SetImagePalette(id, palette);
    control.setLastStatus(status);
    if (status != OK) return status;
    return lockAndUnlock(gdiplus::ImageLockModeWrite);
}

RgbParts ColorGetRGBFromRGBValue(int32_t rgbValue) {
    cColor colour;
    colour.FromRGBColor(rgbValue);
    return {colour.GetRed(), colour.GetGreen(), colour.GetBlue()};
}

ArgbParts ColorGetARGBFromARGBValue(int32_t argbValue) {
    cColor colour;
    colour.SetValue(argbValue);
    return {colour.GetAlpha(), colour.GetRed(), colour.GetGreen(), colour.GetBlue()};
}

int32_t argb(int32_t alpha, int32_t red, int32_t green, int32_t blue) {
    return cColor().MakeARGB(Limit(alpha), Limit(red), Limit(green), Limit(blue));
}

int32_t GetRGB(int32_t red, int32_t green, int32_t blue) {
    for (int32_t component : {red, green, blue})
        if (component < INT16_MIN || component > INT16_MAX) throw std::overflow_error("Overflow");
    // A negative component would borrow from its neighbour's byte: it counts as 0.
    return Limit(red) + 256 * Limit(green) + 65536 * Limit(blue);
}

}  // namespace scanvelt
