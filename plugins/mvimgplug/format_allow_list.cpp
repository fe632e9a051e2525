#include "plugins/mvimgplug/format_allow_list.h"

#include <FreeImage.h>

#include <algorithm>
#include <array>

namespace mvimgplug {

namespace {

constexpr std::array<int32_t, 15> kAllowed = {
    FIF_ICO, FIF_JPEG, FIF_PBM, FIF_PBMRAW, FIF_PGM, FIF_PGMRAW, FIF_PPM, FIF_PPMRAW,
    FIF_TARGA, FIF_TIFF, FIF_WBMP, FIF_XPM, FIF_EXR, FIF_J2K, FIF_JP2,
};

}  // namespace

std::span<const int32_t> AllowedFormats() { return kAllowed; }

bool IsAllowedFormat(int32_t format) { return std::find(kAllowed.begin(), kAllowed.end(), format) != kAllowed.end(); }

int32_t WithIconTransparency(int32_t format, int32_t flags) {
    return format == FIF_ICO ? flags | ICO_MAKEALPHA : flags;
}

bool IsMultiPageFormat(int32_t format) { return format == FIF_TIFF || format == FIF_ICO; }

void RestrictLibraryToAllowedFormats() {
    const int count = FreeImage_GetFIFCount();
    for (int format = 0; format < count; ++format) {
        FreeImage_SetPluginEnabled(static_cast<FREE_IMAGE_FORMAT>(format), IsAllowedFormat(format) ? TRUE : FALSE);
    }
}

}  // namespace mvimgplug
