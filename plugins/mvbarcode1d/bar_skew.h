#pragma once
// The direction a linear code reads in, measured from its bars. The decoder
// reads along pixel rows (or columns): the line it reports follows the
// picture, not a code whose bars lean a few degrees.
#include <array>

#include "plugins/barcode_scanner/barcode_record.h"
#include "plugins/barcode_scanner/grey_image.h"

namespace mvbarcode1d {

// Degrees counter-clockwise in [0, 360): the bars are compared on two lines
// beside the reading line the corners give, and their lean turns that line.
// `decoderDegrees` (the reading line's own direction) when the bars cannot
// be followed: a line too short, or no bars on either side.
double MeasuredReadingDegrees(const barcode::GreyImage& picture, const std::array<barcode::CornerPoint, 4>& corners,
                              double decoderDegrees);

}  // namespace mvbarcode1d
