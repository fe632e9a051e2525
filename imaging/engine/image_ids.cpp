#include "imaging/engine/image_ids.h"

#include <cmath>

#include "imaging/engine/image_table.h"
#include "imaging/engine/random_numbers.h"

namespace scanvelt {

namespace {

thread_local std::function<int32_t()> tInjectedSource;

int32_t DrawCandidate() {
    if (tInjectedSource) return tInjectedSource();
    // Uniform over 1 to 99,999,999: scaling [0, 1) by the count of IDs can never
    // reach 100,000,000, which rounding the unit to the nearest whole number could.
    return kLowestImageId + static_cast<int32_t>(std::floor(RandomUnit() * kHighestImageId));
}

}  // namespace

int32_t NewImageId() {
    for (;;) {
        const int32_t candidate = DrawCandidate();
        if (candidate >= kLowestImageId && candidate <= kHighestImageId && FindImageIndex(candidate) < 0) {
            return candidate;
        }
    }
}

void SetImageIdSource(std::function<int32_t()> source) { tInjectedSource = std::move(source); }

}  // namespace scanvelt
