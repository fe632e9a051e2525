#include "plugins/mvbarcode1d/linear_records.h"

#include <cmath>
#include <numbers>

#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>

#include "platform/win/text_encoding.h"
#include "plugins/mvbarcode1d/bar_skew.h"
#include "plugins/mvbarcode1d/code_masking.h"
#include "plugins/mvbarcode1d/linear_types.h"

namespace mvbarcode1d {

barcode::BarcodeRecord BuildLinearRecord(ZXing::BarcodeFormat format, std::string_view symbologyIdentifier,
                                         std::string_view utf8Text, const ZXing::Position& position) {
    barcode::BarcodeRecord record;
    record.type = TypeOf(format, symbologyIdentifier);
    record.value = win::Utf8ToAnsi(utf8Text);
    for (size_t i = 0; i < 4; ++i) record.corners[i] = {position[i].x, position[i].y};
    // The decoder measures clockwise, its y axis pointing down.
    double degrees = -position.orientation() * 180.0 / std::numbers::pi;
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0) degrees += 360.0;
    if (degrees >= 360.0) degrees = 0.0;
    record.skewDegrees = degrees;
    record.hasCheckSum = CarriesCheckSum(record.type);
    return record;
}

std::vector<barcode::BarcodeRecord> ReadLinearCodes(const barcode::GreyImage& picture, uint8_t performance,
                                                    size_t maxCodes) {
    std::vector<barcode::BarcodeRecord> records;
    if (picture.width < 1 || picture.height < 1 || maxCodes == 0) return records;
    const bool careful = performance != 0;
    ZXing::DecodeHints hints;
    hints.setFormats(LinearFormats());
    // Every row of the picture is searched in both modes (the decoder's quick
    // search looks only near the middle); the careful one also turns it.
    hints.setTryHarder(true);
    hints.setTryRotate(careful);
    hints.setMaxNumberOfSymbols(1);
    // One code a search; each code found is wiped off a copy of the picture
    // before the next search.
    barcode::GreyImage rest = picture;
    while (records.size() < maxCodes) {
        const ZXing::ImageView view(rest.pixels.data(), rest.width, rest.height, ZXing::ImageFormat::Lum);
        const ZXing::Result result = ZXing::ReadBarcode(view, hints);
        if (!result.isValid()) break;
        barcode::BarcodeRecord record =
            BuildLinearRecord(result.format(), result.symbologyIdentifier(), result.text(), result.position());
        record.skewDegrees = MeasuredReadingDegrees(rest, record.corners, record.skewDegrees);
        if (!MaskLinearCode(rest, record.corners)) break;
        if (record.type != 0) records.push_back(std::move(record));
    }
    return records;
}

}  // namespace mvbarcode1d
