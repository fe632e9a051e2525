#include <cmath>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/neighbourhood_filters.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::filters {

namespace {

bool IsDark(uint32_t p) {
    const auto luminance = static_cast<float>(0.587 * GreenOf(p) + 0.299 * RedOf(p) + 0.114 * BlueOf(p));
    return luminance < 140.0f;
}

bool IsDarkOneBit(uint32_t p) { return BlueOf(p) == 0; }

// x brought to one decimal, halves to even.
double ToOneDecimal(double x) { return std::nearbyint(x * 10.0) / 10.0; }

}  // namespace

bool BlankPageTest(FilterPixels& pixels, const FilterArguments& arguments) {
    const bool oneBit = pixels.PixelFormat == gdiplus::PixelFormat1bppIndexed;
    int64_t dark = 0;
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        const uint32_t p = pixels.Pixels[pixels.Position];
        dark += (oneBit ? IsDarkOneBit(p) : IsDark(p)) ? 1 : 0;
    }
    const double total = static_cast<double>(pixels.Width) * pixels.Height;
    const double light = ToOneDecimal(100.0 - static_cast<double>(dark) / total * 100.0);
    const auto confidence = static_cast<float>(arguments.option1);
    return light > static_cast<double>(confidence);
}

}  // namespace scanvelt::filters
