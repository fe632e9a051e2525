#pragma once
// Linear codes from the decoder's results to the records the reader hands out.
#include <string_view>
#include <vector>

#define ZX_USE_UTF8 1
#include <ZXing/Result.h>

#include "plugins/barcode_scanner/barcode_record.h"
#include "plugins/barcode_scanner/grey_image.h"

namespace mvbarcode1d {

// The record of one decoded code: its type value, its text in Windows-1252
// (characters that code page lacks become "?"), its corners, its direction
// of reading counter-clockwise in [0, 360), and whether it carries a check
// digit.
barcode::BarcodeRecord BuildLinearRecord(ZXing::BarcodeFormat format, std::string_view symbologyIdentifier,
                                         std::string_view utf8Text, const ZXing::Position& position);

// The codes of a picture: performance 0 reads codes whose bars stand across
// the rows (upright or upside down), any other value also codes turned a
// quarter either way. The direction of reading is measured from the bars. At most
// `maxCodes` codes, in the decoder's order.
std::vector<barcode::BarcodeRecord> ReadLinearCodes(const barcode::GreyImage& picture, uint8_t performance,
                                                    size_t maxCodes);

}  // namespace mvbarcode1d
