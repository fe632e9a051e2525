#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

RgbBytes HslToRgb(float hue, float saturation, float lightness) {
    float r = lightness, g = lightness, b = lightness;
    if (saturation != 0.0f) {
        const float low = lightness <= 0.5f ? lightness * (1.0f - saturation)
                                            : lightness - saturation * (1.0f - lightness);
        const float high = 2.0f * lightness - low;
        const float d = high - low;
        if (hue < 1.0f) {
            r = high;
            if (hue < 0.0f) {
                g = low;
                b = low - hue * d;
            } else {
                b = low;
                g = low + hue * d;
            }
        } else if (hue < 3.0f) {
            g = high;
            if (hue < 2.0f) {
                b = low;
                r = low - (hue - 2.0f) * d;
            } else {
                r = low;
                b = low + (hue - 2.0f) * d;
            }
        } else {
            b = high;
            if (hue < 4.0f) {
                r = low;
                g = low - (hue - 4.0f) * d;
            } else {
                g = low;
                r = low + (hue - 4.0f) * d;
            }
        }
    }
    const auto byte = [](float v) { return ToChannel(static_cast<double>(v * 255.0f)); };
    return RgbBytes{byte(r), byte(g), byte(b)};
}

bool SepiaFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        const uint32_t source = pixels.Source[pixels.Position];
        const float l0 = static_cast<float>((RedOf(source) + GreenOf(source) + BlueOf(source)) / 765.0);
        const float l1 = l0 * arguments.lightness;
        const RgbBytes colour = HslToRgb(arguments.hue, arguments.saturation, l1);
        uint32_t& p = pixels.Pixels[pixels.Position];
        p = WithColour(p, colour.red, colour.green, colour.blue);
    }
    return false;
}

}  // namespace scanvelt::filters
