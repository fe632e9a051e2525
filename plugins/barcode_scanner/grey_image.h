#pragma once
// The picture a barcode scanner searches: one byte of luminance per pixel,
// rows from the top down, no padding.
#include <cstdint>
#include <vector>

namespace barcode {

struct GreyImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // width x height bytes
};

}  // namespace barcode
