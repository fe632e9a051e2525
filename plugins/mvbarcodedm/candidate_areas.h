#pragma once
// Where a DataMatrix symbol may lie. The decoder's region search follows
// every edge it meets, so a picture full of long straight edges (the bars of
// a linear code) keeps it busy for seconds. A symbol is a field of modules,
// with light-dark changes along both axes; bars change along one only. The
// search is run on a copy of the picture that keeps only the areas whose
// cells change along both.
#include <cstdint>
#include <vector>

#include "plugins/barcode_scanner/grey_image.h"

namespace mvbarcodedm {

struct Area {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Side of the square cells the picture is measured in.
inline constexpr int32_t kCandidateCell = 32;

// Disjoint rectangles inside the picture that hold every cell changing from
// light to dark often along both axes, widened by two cells on each side
// for the symbol's edge and quiet zone.
std::vector<Area> CandidateAreas(const barcode::GreyImage& picture);

// A copy of the picture, white outside the areas.
barcode::GreyImage KeepAreas(const barcode::GreyImage& picture, const std::vector<Area>& areas);

}  // namespace mvbarcodedm
