// Fuzz target: any bytes as the packed DIB a caller hands a reader plug-in;
// what reads as a small picture is searched by both decoders.
#include <cstdint>
#include <span>

#include "plugins/barcode_scanner/packed_dib.h"
#include "plugins/mvbarcode1d/linear_records.h"
#include "plugins/mvbarcodedm/datamatrix_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto picture = barcode::GreyFromPackedDib(std::span(data, size));
    // Large pictures only make the decoders slow, not different.
    if (!picture || int64_t(picture->width) * picture->height > 300 * 300) return 0;
    mvbarcode1d::ReadLinearCodes(*picture, 1, 255);
    mvbarcodedm::ReadDataMatrixCodes(*picture, 255);
    return 0;
}
