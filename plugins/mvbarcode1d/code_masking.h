#pragma once
// Wiping a found linear code off the picture, so that the next search finds
// the next code. The decoder reads one code per search: its own search for
// several linear codes at once fails an internal assertion (zxing-cpp 1.4).
#include <array>

#include "plugins/barcode_scanner/barcode_record.h"
#include "plugins/barcode_scanner/grey_image.h"

namespace mvbarcode1d {

// Paints white the code whose reading line the corners give (top-left,
// top-right, bottom-right, bottom-left; the decoder may give as little as a
// single line): along the reading direction the corners' extent, across it
// as far as its bars go. False when no pixel changed.
bool MaskLinearCode(barcode::GreyImage& picture, const std::array<barcode::CornerPoint, 4>& corners);

}  // namespace mvbarcode1d
