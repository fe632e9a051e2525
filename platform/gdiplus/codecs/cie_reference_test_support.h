#pragma once
// The colour a reader should show for CIE L*a*b* and for CMYK inks, worked out
// in the tests straight from the definitions: CIE 1976 L*a*b* with the CIE's
// own constants (epsilon 216/24389, kappa 24389/27) against the D65 white,
// the sRGB matrix derived from the sRGB primaries and that white, and the sRGB
// transfer curve. The decoders' conversions are checked against this.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace gdiplus::codecs::testing_support {

namespace cie_detail {

using Matrix = std::array<std::array<double, 3>, 3>;

inline Matrix Inverse(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (j + 1) % 3, i2 = (j + 2) % 3, j1 = (i + 1) % 3, j2 = (i + 2) % 3;
            r[i][j] = (m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1]) / det;
        }
    }
    return r;
}

// XYZ of a chromaticity (x, y) at luminance 1.
inline std::array<double, 3> Xyz(double x, double y) { return {x / y, 1.0, (1 - x - y) / y}; }

// XYZ (white Y = 1) to linear sRGB: the primaries' XYZ columns scaled so that
// RGB (1, 1, 1) is the white, inverted.
inline const Matrix& XyzToLinearSrgb() {
    static const Matrix matrix = [] {
        const std::array<double, 3> r = Xyz(0.64, 0.33), g = Xyz(0.30, 0.60), b = Xyz(0.15, 0.06);
        const std::array<double, 3> w = Xyz(0.3127, 0.3290);
        const Matrix primaries = {{{r[0], g[0], b[0]}, {r[1], g[1], b[1]}, {r[2], g[2], b[2]}}};
        const Matrix inverse = Inverse(primaries);
        Matrix toXyz{};
        for (int c = 0; c < 3; ++c) {
            const double scale = inverse[c][0] * w[0] + inverse[c][1] * w[1] + inverse[c][2] * w[2];
            for (int row = 0; row < 3; ++row) toXyz[row][c] = primaries[row][c] * scale;
        }
        return Inverse(toXyz);
    }();
    return matrix;
}

inline double Encoded(double linear) {
    linear = std::clamp(linear, 0.0, 1.0);
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

}  // namespace cie_detail

// sRGB of L*a*b*, each channel 0..255.
inline std::array<int, 3> ReferenceSrgbOfLab(double l, double a, double b) {
    using namespace cie_detail;
    constexpr double epsilon = 216.0 / 24389, kappa = 24389.0 / 27;
    const double fy = (l + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
    const double xr = fx * fx * fx > epsilon ? fx * fx * fx : (116 * fx - 16) / kappa;
    const double yr = l > kappa * epsilon ? fy * fy * fy : l / kappa;
    const double zr = fz * fz * fz > epsilon ? fz * fz * fz : (116 * fz - 16) / kappa;
    const std::array<double, 3> white = Xyz(0.3127, 0.3290);
    const double xyz[3] = {xr * white[0], yr * white[1], zr * white[2]};
    std::array<int, 3> rgb{};
    for (int c = 0; c < 3; ++c) {
        const auto& m = XyzToLinearSrgb()[c];
        rgb[c] = static_cast<int>(std::lround(255 * Encoded(m[0] * xyz[0] + m[1] * xyz[1] + m[2] * xyz[2])));
    }
    return rgb;
}

// RGB 0..255 of inks given as fractions of full coverage: (1 - ink)(1 - black).
inline std::array<int, 3> ReferenceRgbOfInks(double c, double m, double y, double k) {
    auto channel = [k](double ink) { return static_cast<int>(std::lround(255 * (1 - ink) * (1 - k))); };
    return {channel(c), channel(m), channel(y)};
}

}  // namespace gdiplus::codecs::testing_support
