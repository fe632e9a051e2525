#pragma once
// The control's barcode scans: its readers on its current image and region.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {

// Brings the region up to date (whole-image mode: the current image's size)
// and scans it with the reader; the reader may fill in the region's width
// and height. Returns the reader's status without storing it as the last
// status (the region's update stores the size queries' statuses).
MorvalenStatus Barcode1DReaderDoScan(TwainControl& control, int32_t scanMode);
MorvalenStatus BarcodeDataMatrixReaderDoScan(TwainControl& control, int32_t scanMode);

}  // namespace scanvelt
