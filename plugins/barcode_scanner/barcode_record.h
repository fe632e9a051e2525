#pragma once
// One code a scanner found, as the plug-ins hand it out.
#include <array>
#include <cstdint>
#include <string>

namespace barcode {

struct CornerPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct BarcodeRecord {
    // The decoded text as 8-bit bytes in the system code page, NUL-free.
    std::string value;
    // Linear codes: the symbology value the control's type library names.
    int32_t type = 0;
    // Top-left, top-right, bottom-right, bottom-left of the symbol as it reads
    // upright, in pixels of the scanned picture (origin top-left).
    std::array<CornerPoint, 4> corners{};
    // Linear codes: the direction of reading, degrees counter-clockwise from
    // the picture's x axis, 0 <= angle < 360.
    double skewDegrees = 0.0;
    // Linear codes: the symbology carries a check digit the decoder verified.
    bool hasCheckSum = false;
    // DataMatrix: modules of the symbol in each direction.
    int32_t rows = 0;
    int32_t columns = 0;
};

}  // namespace barcode
