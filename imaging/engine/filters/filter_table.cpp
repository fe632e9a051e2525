// The codes of the filter dispatcher and the filter behind each.
#include <array>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/filter_negative.h"
#include "imaging/engine/filters/channel_rows.h"
#include "imaging/engine/filters/neighbourhood_filters.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt {

namespace {

using namespace filters;

constexpr std::array kFilters{
    FilterEntry{kNegativeCode, &NegativeFilter, &NegatePalette, false},
    FilterEntry{kSmoothCode, &SmoothFilter, nullptr, false},
    FilterEntry{kBrightnessCode, &BrightnessFilter, &BrightenPalette, false, &PrepareBrightnessRows,
                &ApplyByteMapRows},
    FilterEntry{kContrastCode, &ContrastFilter, nullptr, false, &PrepareContrastRows, &ApplyContrastRows},
    FilterEntry{kStretchContrastCode, &StretchContrastFilter, nullptr, false},
    FilterEntry{kSaturationCode, &SaturationFilter, nullptr, false},
    FilterEntry{kGammaCode, &GammaFilter, nullptr, false, &PrepareGammaRows, &ApplyByteMapRows},
    FilterEntry{kSoftenCode, &SoftenFilter, nullptr, false},
    FilterEntry{kSepiaCode, &SepiaFilter, nullptr, true},
    FilterEntry{kColourToAlphaCode, &ColorToAlphaFilter, nullptr, false},
    FilterEntry{kBlankTestCode, &BlankPageTest, nullptr, false},
    FilterEntry{kDespeckleCode, &DespeckleFilter, nullptr, true},
};

}  // namespace

const FilterEntry* FindFilter(int32_t code) {
    for (const FilterEntry& entry : kFilters) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

}  // namespace scanvelt
