#pragma once
// The filters of the dispatcher that look at a pixel's neighbours, and the
// blank-page test. Smooth and soften work in place: when they reach a pixel,
// its left and upper neighbours already hold their new values and its right
// and lower ones their old values; that order defines their results.
// Despeckle reads the unchanged Source. None of them touches the outermost
// rows and columns of the rectangle, nor alpha.
#include <array>
#include <cstdint>

#include "imaging/engine/filter_dispatch.h"

namespace scanvelt::filters {

inline constexpr int32_t kSmoothCode = 5;
inline constexpr int32_t kSoftenCode = 33;
inline constexpr int32_t kDespeckleCode = 61;

// Each channel of an interior pixel becomes the sum of itself and its four
// edge neighbours, div 5.
bool SmoothFilter(FilterPixels& pixels, const FilterArguments& arguments);
// Each channel becomes (w x centre + the four edge neighbours) div (w + 4)
// with w = 101 - p (p is `amount` as integer); a result outside 0..255 or a
// division by zero is a run-time failure.
bool SoftenFilter(FilterPixels& pixels, const FilterArguments& arguments);
// Each channel of an interior pixel becomes the median of its 3 x 3 block in Source.
bool DespeckleFilter(FilterPixels& pixels, const FilterArguments& arguments);
// Sorts nine values ascending in place.
void SortNine(std::array<int32_t, 9>& values);

// True when the share of light pixels over the whole rectangle, in percent
// brought to one decimal (halves to even), is strictly above the confidence
// (option1 as single precision). Dark is luminance 0.299 R + 0.587 G +
// 0.114 B below 140 or, when the image is 1 bit deep, a blue byte of 0.
bool BlankPageTest(FilterPixels& pixels, const FilterArguments& arguments);

}  // namespace scanvelt::filters
