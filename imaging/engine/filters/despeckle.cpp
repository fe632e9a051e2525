#include <utility>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/neighbourhood_filters.h"

namespace scanvelt::filters {

void SortNine(std::array<int32_t, 9>& values) {
    // Bubble passes, each ending where the previous one last swapped.
    size_t end = values.size() - 1;
    while (end > 0) {
        size_t lastSwap = 0;
        for (size_t k = 0; k < end; ++k) {
            if (values[k] > values[k + 1]) {
                std::swap(values[k], values[k + 1]);
                lastSwap = k;
            }
        }
        end = lastSwap;
    }
}

bool DespeckleFilter(FilterPixels& pixels, const FilterArguments&) {
    const int32_t w = pixels.Width;
    const ArgbPixels& s = pixels.Source;
    std::array<int32_t, 9> red{}, green{}, blue{};
    for (int32_t y = 1; y < pixels.Height - 1; ++y) {
        for (int32_t x = 1; x < w - 1; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            pixels.Position = i;
            const size_t block[9] = {i - w - 1, i - w, i - w + 1, i - 1, i, i + 1, i + w - 1, i + w, i + w + 1};
            for (size_t k = 0; k < 9; ++k) {
                red[k] = RedOf(s[block[k]]);
                green[k] = GreenOf(s[block[k]]);
                blue[k] = BlueOf(s[block[k]]);
            }
            SortNine(red);
            SortNine(green);
            SortNine(blue);
            pixels.Pixels[i] = WithColour(pixels.Pixels[i], red[4], green[4], blue[4]);
        }
    }
    return false;
}

}  // namespace scanvelt::filters
