#include "plugins/mvbarcode1d/code_masking.h"

#include <algorithm>
#include <cmath>

namespace mvbarcode1d {
namespace {

constexpr uint8_t kDark = 128;
// A line across which fewer than this share of pixels is dark is past the bars.
constexpr double kBarShare = 0.04;
// Lines past the bars that end the search (a printed gap inside a bar).
constexpr int kClearLinesToStop = 3;

struct Vector {
    double x, y;
};

}  // namespace

bool MaskLinearCode(barcode::GreyImage& picture, const std::array<barcode::CornerPoint, 4>& corners) {
    if (picture.width < 1 || picture.height < 1) return false;
    const Vector along{double(corners[1].x - corners[0].x + corners[2].x - corners[3].x),
                       double(corners[1].y - corners[0].y + corners[2].y - corners[3].y)};
    const double length = std::hypot(along.x, along.y);
    if (length < 1) return false;
    const Vector u{along.x / length, along.y / length}, v{-u.y, u.x};
    Vector centre{0, 0};
    for (const auto& p : corners) centre = {centre.x + p.x / 4.0, centre.y + p.y / 4.0};
    double uMin = 1e18, uMax = -1e18, vMin = 1e18, vMax = -1e18;
    for (const auto& p : corners) {
        const double du = (p.x - centre.x) * u.x + (p.y - centre.y) * u.y;
        const double dv = (p.x - centre.x) * v.x + (p.y - centre.y) * v.y;
        uMin = std::min(uMin, du), uMax = std::max(uMax, du);
        vMin = std::min(vMin, dv), vMax = std::max(vMax, dv);
    }
    const double margin = 2 + (uMax - uMin) * 0.02;
    uMin -= margin, uMax += margin;

    auto pixelAt = [&](double du, double dv) -> uint8_t* {
        const long x = std::lround(centre.x + du * u.x + dv * v.x);
        const long y = std::lround(centre.y + du * u.y + dv * v.y);
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return nullptr;
        return &picture.pixels[size_t(y) * picture.width + size_t(x)];
    };
    auto darkShare = [&](double dv) {
        int dark = 0, all = 0;
        for (double du = uMin; du <= uMax; du += 1) {
            if (const uint8_t* p = pixelAt(du, dv)) {
                ++all;
                dark += *p < kDark;
            }
        }
        return all ? double(dark) / all : 0.0;
    };
    // Across the reading line, out to where the bars end on either side.
    const double reach = picture.width + double(picture.height);
    auto edge = [&](double from, double step) {
        double last = from;
        int clear = 0;
        for (double dv = from; std::fabs(dv) <= reach && clear < kClearLinesToStop; dv += step) {
            if (darkShare(dv) < kBarShare) {
                ++clear;
            } else {
                clear = 0;
                last = dv;
            }
        }
        return last;
    };
    const double top = edge(vMin, -1) - 1, bottom = edge(vMax, 1) + 1;

    bool changed = false;
    // Half steps so that no pixel of a turned band is skipped.
    for (double dv = top; dv <= bottom; dv += 0.5) {
        for (double du = uMin; du <= uMax; du += 0.5) {
            if (uint8_t* p = pixelAt(du, dv); p && *p != 255) {
                *p = 255;
                changed = true;
            }
        }
    }
    return changed;
}

}  // namespace mvbarcode1d
