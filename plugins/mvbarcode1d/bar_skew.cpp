#include "plugins/mvbarcode1d/bar_skew.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace mvbarcode1d {
namespace {

struct Vector {
    double x, y;
};

// Distances of the two compared lines from the reading line, tried in turn:
// the farther, the finer the measure, as long as both still cross the bars.
constexpr double kOffsets[] = {24, 16, 10, 6};
// A line crossing the bars changes from light to dark at least this often.
constexpr int kMinBarEdges = 10;
// The steepest lean measured: tan 35 degrees.
constexpr double kMaxLean = 0.7;

double sample(const barcode::GreyImage& picture, double x, double y) {
    const long ix = std::lround(x), iy = std::lround(y);
    if (ix < 0 || iy < 0 || ix >= picture.width || iy >= picture.height) return 255;
    return picture.pixels[size_t(iy) * picture.width + size_t(ix)];
}

int barEdges(const std::vector<double>& line) {
    int edges = 0;
    for (size_t i = 1; i < line.size(); ++i) edges += (line[i - 1] < 128) != (line[i] < 128);
    return edges;
}

// Mean absolute difference of a[t] and b[t + shift] where both exist.
double mismatch(const std::vector<double>& a, const std::vector<double>& b, int shift) {
    double sum = 0;
    int n = 0;
    for (int t = 0; t < int(a.size()); ++t) {
        const int u = t + shift;
        if (u < 0 || u >= int(b.size())) continue;
        sum += std::fabs(a[size_t(t)] - b[size_t(u)]);
        ++n;
    }
    return n ? sum / n : 1e9;
}

}  // namespace

double MeasuredReadingDegrees(const barcode::GreyImage& picture, const std::array<barcode::CornerPoint, 4>& corners,
                              double decoderDegrees) {
    const Vector start{(corners[0].x + corners[3].x) / 2.0, (corners[0].y + corners[3].y) / 2.0};
    const Vector end{(corners[1].x + corners[2].x) / 2.0, (corners[1].y + corners[2].y) / 2.0};
    const double length = std::hypot(end.x - start.x, end.y - start.y);
    if (length < 4 * kMinBarEdges) return decoderDegrees;
    const Vector u{(end.x - start.x) / length, (end.y - start.y) / length}, v{-u.y, u.x};
    for (double offset : kOffsets) {
        std::vector<double> before, after;
        for (double t = 0; t <= length; t += 1) {
            before.push_back(sample(picture, start.x + t * u.x - offset * v.x, start.y + t * u.y - offset * v.y));
            after.push_back(sample(picture, start.x + t * u.x + offset * v.x, start.y + t * u.y + offset * v.y));
        }
        if (barEdges(before) < kMinBarEdges || barEdges(after) < kMinBarEdges) continue;
        // The shift along the line that lays the bars of one line on the other's.
        const int most = int(std::ceil(2 * offset * kMaxLean));
        int best = 0;
        double bestMismatch = mismatch(before, after, 0);
        for (int s = -most; s <= most; ++s) {
            const double m = mismatch(before, after, s);
            if (m < bestMismatch) bestMismatch = m, best = s;
        }
        // A parabola through the best shift and its neighbours places it between pixels.
        double shift = best;
        if (best > -most && best < most) {
            const double l = mismatch(before, after, best - 1), r = mismatch(before, after, best + 1);
            const double curve = l - 2 * bestMismatch + r;
            if (curve > 0) shift += 0.5 * (l - r) / curve;
        }
        // The bars run along (2 offset) v + shift u; the code reads across them.
        const Vector bars{2 * offset * v.x + shift * u.x, 2 * offset * v.y + shift * u.y};
        const Vector reading{bars.y, -bars.x};
        double degrees = -std::atan2(reading.y, reading.x) * 180.0 / std::numbers::pi;
        degrees = std::fmod(degrees, 360.0);
        if (degrees < 0) degrees += 360.0;
        return degrees >= 360.0 ? 0.0 : degrees;
    }
    return decoderDegrees;
}

}  // namespace mvbarcode1d
