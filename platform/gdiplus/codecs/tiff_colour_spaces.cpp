#include "platform/gdiplus/codecs/tiff_colour_spaces.h"

#include <algorithm>
#include <cmath>

namespace gdiplus::codecs {
namespace {

// sRGB's transfer curve from linear light (0..1), to 0..max.
std::uint32_t Companded(double linear, std::uint32_t max) {
    linear = std::clamp(linear, 0.0, 1.0);
    const double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<std::uint32_t>(std::lround(v * max));
}

// (inMax - ink)(inMax - k) outMax / inMax^2, rounded: below 2^48 for 16-bit samples.
inline void Inks(const std::uint32_t cmyk[4], std::uint64_t inMax, std::uint64_t outMax, std::uint32_t rgb[3]) {
    const std::uint64_t white = inMax - std::min<std::uint64_t>(cmyk[3], inMax);
    const std::uint64_t divisor = inMax * inMax;
    for (int c = 0; c < 3; ++c) {
        const std::uint64_t clear = inMax - std::min<std::uint64_t>(cmyk[c], inMax);
        rgb[c] = static_cast<std::uint32_t>((clear * white * outMax + divisor / 2) / divisor);
    }
}

}  // namespace

void InksToRgb(const std::uint32_t cmyk[4], std::uint32_t inMax, std::uint32_t outMax, std::uint32_t rgb[3]) {
    if (inMax == 0) inMax = 1;  // no depth has no steps; kept from dividing by zero
    // The common depths with constant divisors, which the compiler turns into multiplications.
    if (inMax == 0xFF && outMax == 0xFF) return Inks(cmyk, 0xFF, 0xFF, rgb);
    if (inMax == 0xFFFF && outMax == 0xFF) return Inks(cmyk, 0xFFFF, 0xFF, rgb);
    if (inMax == 0xFFFF && outMax == 0xFFFF) return Inks(cmyk, 0xFFFF, 0xFFFF, rgb);
    Inks(cmyk, inMax, outMax, rgb);
}

CieLab LabFromSamples(LabEncoding encoding, std::uint32_t bits, const std::uint32_t samples[3]) {
    const double range = bits == 8 ? 255.0 : 65535.0;
    auto opponent = [&](std::uint32_t v) {
        if (encoding == LabEncoding::Icc) return (v - (range + 1) / 2) * 256.0 / (range + 1);
        // Two's complement of the sample's width.
        const double signedValue = v > range / 2 ? static_cast<double>(v) - (range + 1) : static_cast<double>(v);
        return bits == 8 ? signedValue : signedValue / 256.0;
    };
    return {samples[0] * 100.0 / range, opponent(samples[1]), opponent(samples[2])};
}

void LabToSrgb(const CieLab& lab, std::uint32_t outMax, std::uint32_t rgb[3]) {
    const double fy = (lab.l + 16) / 116, fx = fy + lab.a / 500, fz = fy - lab.b / 200;
    auto inverse = [](double t) { return t > 6.0 / 29 ? t * t * t : 3 * (6.0 / 29) * (6.0 / 29) * (t - 4.0 / 29); };
    const double x = 0.95047 * inverse(fx), y = inverse(fy), z = 1.08883 * inverse(fz);
    rgb[0] = Companded(3.2404542 * x - 1.5371385 * y - 0.4985314 * z, outMax);
    rgb[1] = Companded(-0.9692660 * x + 1.8760108 * y + 0.0415560 * z, outMax);
    rgb[2] = Companded(0.0556434 * x - 0.2040259 * y + 1.0572252 * z, outMax);
}

}  // namespace gdiplus::codecs
