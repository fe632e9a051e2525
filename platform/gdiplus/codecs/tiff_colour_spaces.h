#pragma once
// Colour of the TIFF pages whose samples are not RGB: inks (CMYK) and CIE
// L*a*b*. Both TIFF readers of the engine (the built-in decoder and the codec
// plug-in) render such pages through these functions, so that a file looks
// the same whichever route reads it.
#include <cstdint>

namespace gdiplus::codecs {

// CMYK ink coverage, 0..inMax each, into RGB of 0..outMax, the way readers
// without a colour profile render it: each colour is (1 - ink)(1 - black),
// rounded to the nearest step of the output. inMax (the largest sample of
// the page's depth) and outMax are at most 65535.
void InksToRgb(const std::uint32_t cmyk[4], std::uint32_t inMax, std::uint32_t outMax, std::uint32_t rgb[3]);

// How a page stores L*a*b*: CIELab keeps a* and b* signed, ICCLab offset by
// half the range.
enum class LabEncoding { Cie, Icc };

struct CieLab {
    double l = 0, a = 0, b = 0;
};

// Samples of 8 or 16 bits as stored (16-bit CIELab: a* and b* in 1/256).
CieLab LabFromSamples(LabEncoding encoding, std::uint32_t bits, const std::uint32_t samples[3]);

// L*a*b* relative to a D65 white into sRGB of 0..outMax: white maps to white,
// through the sRGB primaries and the sRGB transfer curve.
void LabToSrgb(const CieLab& lab, std::uint32_t outMax, std::uint32_t rgb[3]);

}  // namespace gdiplus::codecs
