#pragma once
// Skew detection: by how many degrees the text lines of a scanned page are
// tilted. A line-voting search over a fixed band of 200 candidate angles 0.2
// degree apart: every pixel on the lower edge of a dark stroke (in the middle
// half of the rows) votes, for each candidate angle, for the straight line
// through it at that angle; the ten best-supported (angle, line) cells are
// combined into one angle, which stands only when the ten agree closely.
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class cAutoDeskew {
public:
    // The candidate angles start at minus this value, in degrees.
    double MaxAngleOfResearch = 20;
    // The result of the last measurement, in degrees: positive when the text
    // lines run downwards to the right (y grows along a line), negative when
    // they rise; 0 after a failure or when the best cells disagree.
    double SkewAngle = 0;

    // Measures the image (its current page, unchanged) and sets SkewAngle.
    // OK; Aborted when the width or height is 50 pixels or less (so also for
    // an unregistered ID) or when fewer than ten cells got any vote (a blank
    // or nearly blank page: there is nothing to measure); the status of the
    // pixel lock; OutOfMemory; GenericError for another run-time failure.
    MorvalenStatus GetSkewAngle(int32_t imageId);

private:
    static constexpr int32_t kStepCount = 200;
    static constexpr int32_t kTopCells = 10;

    struct SkewCell {
        int32_t Votes = 0;
        // Index in the accumulator as its rows are numbered: step + row x 200.
        int32_t Cell = 0;
        double Angle = 0;
    };

    double AngleOfStep(int32_t step) const;
    bool IsDarkPixel(int32_t x, int32_t y) const;
    bool IsVoting(int32_t x, int32_t y) const;
    void CollectVotes();
    // The cells with the most votes, most first (the lower cell index first
    // among equals); only cells that got votes, so possibly fewer than n.
    std::vector<SkewCell> GetTopCells(int32_t n) const;
    MorvalenStatus Measure(int32_t imageId);

    int32_t DistanceRange = 0;
    std::array<double, kStepCount> SinTable{};
    std::array<double, kStepCount> CosTable{};
    // Votes, step by step: the distance rows of one step lie together, so
    // that the votes of neighbouring pixels fall into neighbouring cells.
    std::vector<int32_t> Accumulator;
    int32_t SourceHeight = 0;
    int32_t SourceWidth = 0;
    // A 32-bit ARGB copy of the rows that are looked at (from FirstRow to
    // LastRow + 1), each row contiguous.
    std::vector<uint32_t> WorkPixels;
    int32_t FirstRow = 0;
    int32_t LastRow = 0;
    bool IsOneBit = false;
};

}  // namespace scanvelt
