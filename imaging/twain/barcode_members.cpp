#include "imaging/twain/barcode_members.h"

namespace scanvelt {
namespace {

MorvalenStatus doScan(TwainControl& control, BarcodeReader& reader, int32_t scanMode) {
    control.ResetRoiToImage();
    RoiRect& roi = control.roiForUpdate();
    return reader.ReadBarcodes(control.currentImage(), roi.Left, roi.Top, roi.Width, roi.Height, scanMode, false);
}

}  // namespace

MorvalenStatus Barcode1DReaderDoScan(TwainControl& control, int32_t scanMode) {
    return doScan(control, control.linearReader(), scanMode);
}

MorvalenStatus BarcodeDataMatrixReaderDoScan(TwainControl& control, int32_t scanMode) {
    return doScan(control, control.dataMatrixReader(), scanMode);
}

}  // namespace scanvelt
