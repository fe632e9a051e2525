#include "imaging/engine/auto_deskew.h"

#include <algorithm>
#include <cmath>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "platform/gdiplus/argb.h"

namespace scanvelt {

namespace {

constexpr int32_t kSmallestSide = 50;
constexpr double kStepDegrees = 0.2;
constexpr double kPi = 3.141592657;
constexpr double kMaxSpread = 4.0;

// Nearest integer, halves to even, for values well inside +-2^51: adding and
// taking away 1.5 x 2^52 leaves the rounding to the floating-point unit.
inline double RoundHalfEven(double value) {
    constexpr double kShifter = 6755399441055744.0;
    return (value + kShifter) - kShifter;
}

}  // namespace

double cAutoDeskew::AngleOfStep(int32_t step) const { return step * kStepDegrees - MaxAngleOfResearch; }

bool cAutoDeskew::IsDarkPixel(int32_t x, int32_t y) const {
    const uint32_t p = WorkPixels[static_cast<size_t>(y - FirstRow) * SourceWidth + x];
    const double luminance =
        0.587 * gdiplus::GreenOf(p) + 0.299 * gdiplus::RedOf(p) + 0.114 * gdiplus::BlueOf(p);
    return luminance < 140.0;
}

bool cAutoDeskew::IsVoting(int32_t x, int32_t y) const {
    if (IsOneBit) {
        const uint32_t* row = WorkPixels.data() + static_cast<size_t>(y - FirstRow) * SourceWidth;
        return gdiplus::RedOf(row[x]) == 0 && gdiplus::RedOf(row[x + SourceWidth]) != 0;
    }
    return IsDarkPixel(x, y) && !IsDarkPixel(x, y + 1);
}

void cAutoDeskew::CollectVotes() {
    const int32_t rowsPerStep = DistanceRange + 1;
    const double width = SourceWidth;
    std::vector<int32_t> voters;
    voters.reserve(static_cast<size_t>(SourceWidth));
    for (int32_t y = FirstRow; y <= LastRow; ++y) {
        voters.clear();
        for (int32_t x = 1; x <= SourceWidth - 2; ++x) {
            if (IsVoting(x, y)) voters.push_back(x);
        }
        if (voters.empty()) continue;
        for (int32_t i = 0; i < kStepCount; ++i) {
            const double yCos = y * CosTable[static_cast<size_t>(i)];
            const double sine = SinTable[static_cast<size_t>(i)];
            int32_t* column = Accumulator.data() + static_cast<size_t>(i) * rowsPerStep;
            for (const int32_t x : voters) {
                const double d = yCos - x * sine;
                const double r = RoundHalfEven(width + d);
                // The cell index i + r x 200 must lie from 0 to 200 x DistanceRange.
                if (r >= 0 && (r < DistanceRange || (r == DistanceRange && i == 0))) ++column[static_cast<int32_t>(r)];
            }
        }
    }
}

std::vector<cAutoDeskew::SkewCell> cAutoDeskew::GetTopCells(int32_t n) const {
    // Ranked by votes, then by the lower cell index; walked step by step,
    // which gives the same ten as a walk in cell order.
    std::vector<SkewCell> top;
    const auto ranksBefore = [](const SkewCell& a, const SkewCell& b) {
        return a.Votes > b.Votes || (a.Votes == b.Votes && a.Cell < b.Cell);
    };
    const int32_t rowsPerStep = DistanceRange + 1;
    for (int32_t step = 0; step < kStepCount; ++step) {
        const int32_t* column = Accumulator.data() + static_cast<size_t>(step) * rowsPerStep;
        for (int32_t row = 0; row < rowsPerStep; ++row) {
            const int32_t votes = column[row];
            if (votes == 0) continue;
            if (static_cast<int32_t>(top.size()) == n && votes < top.back().Votes) continue;
            const SkewCell cell{votes, step + row * kStepCount, AngleOfStep(step)};
            if (static_cast<int32_t>(top.size()) == n) {
                if (!ranksBefore(cell, top.back())) continue;
                top.pop_back();
            }
            top.insert(std::upper_bound(top.begin(), top.end(), cell, ranksBefore), cell);
        }
    }
    return top;
}

MorvalenStatus cAutoDeskew::Measure(int32_t imageId) {
    for (int32_t i = 0; i < kStepCount; ++i) {
        const double radians = AngleOfStep(i) * kPi / 180.0;
        SinTable[static_cast<size_t>(i)] = std::sin(radians);
        CosTable[static_cast<size_t>(i)] = std::cos(radians);
    }
    IsOneBit = BitDepthOf(imageId) == 1;

    FirstRow = RoundToInt32(SourceHeight / 4.0);
    LastRow = RoundToInt32(CheckedMultiply(3, SourceHeight) / 4.0);
    // Only the scanned rows and the row below the last are read.
    const int32_t rows = LastRow + 2 - FirstRow;
    WorkPixels.assign(static_cast<size_t>(CheckedMultiply(SourceWidth, rows)), 0);
    gdiplus::BitmapData data;
    data.Width = static_cast<uint32_t>(SourceWidth);
    data.Height = static_cast<uint32_t>(rows);
    data.Stride = StrideForDepth(SourceWidth, 32);
    data.PixelFormat = gdiplus::PixelFormat32bppARGB;
    data.Scan0 = WorkPixels.data();
    const gdiplus::Rect rect{0, FirstRow, SourceWidth, rows};
    if (const MorvalenStatus locked = LockImageBits(imageId, rect, kLockReadIntoCallerBuffer, data.PixelFormat, data);
        locked != OK) {
        return locked;
    }
    if (const MorvalenStatus unlocked = UnlockImageBits(imageId, data); unlocked != OK) return unlocked;

    DistanceRange = CheckedMultiply(2, CheckedAdd(SourceWidth, SourceHeight));
    Accumulator.assign(static_cast<size_t>(CheckedMultiply(kStepCount, DistanceRange + 1)), 0);
    CollectVotes();

    const std::vector<SkewCell> top = GetTopCells(kTopCells);
    // Too few cells with votes: no angle can be told from them.
    if (static_cast<int32_t>(top.size()) < kTopCells) return Aborted;
    double high = top.front().Angle, low = top.front().Angle, sum = 0;
    for (const SkewCell& cell : top) {
        sum += cell.Angle;
        high = MaxDouble(high, cell.Angle);
        low = MinDouble(low, cell.Angle);
    }
    const double spread = std::fabs(high - low);
    if (spread < kMaxSpread) {
        const double mean = sum / kTopCells;
        SkewAngle = spread > std::fabs(mean) ? 0.0 : mean;
    }
    return OK;
}

MorvalenStatus cAutoDeskew::GetSkewAngle(int32_t imageId) {
    SourceWidth = 0;
    SourceHeight = 0;
    GetImageWidth(imageId, SourceWidth);
    GetImageHeight(imageId, SourceHeight);
    SkewAngle = 0;
    MorvalenStatus status = Aborted;
    if (SourceWidth > kSmallestSide && SourceHeight > kSmallestSide) {
        status = StatusOfRun([&] { return Measure(imageId); });
        if (status != OK) SkewAngle = 0;
    }
    WorkPixels = {};
    Accumulator = {};
    return status;
}

}  // namespace scanvelt
