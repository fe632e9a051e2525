#pragma once
// DataMatrix symbols from the decoder's regions to the records the reader
// hands out.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "plugins/barcode_scanner/barcode_record.h"
#include "plugins/barcode_scanner/grey_image.h"

namespace mvbarcodedm {

// A point of the decoder's raw picture, whose y axis points up from the
// bottom row.
struct RawPoint {
    double x = 0;
    double y = 0;
};

// The record of one decoded symbol: the decoded bytes (up to the first NUL),
// the corners (top-left, top-right, bottom-right, bottom-left of the upright
// symbol, given in the decoder's raw coordinates) turned into pixels of a
// picture `pictureHeight` rows high and rounded half to even, and the
// symbol's rows and columns.
barcode::BarcodeRecord BuildDataMatrixRecord(std::span<const uint8_t> decoded, const std::array<RawPoint, 4>& corners,
                                             int32_t pictureHeight, int32_t rows, int32_t columns);

// The symbols of a picture, at most `maxCodes`, in the order found.
std::vector<barcode::BarcodeRecord> ReadDataMatrixCodes(const barcode::GreyImage& picture, size_t maxCodes);

}  // namespace mvbarcodedm
