#include "plugins/mvbarcode1d/linear_types.h"

#include <array>
#include <utility>

namespace mvbarcode1d {
namespace {

using ZXing::BarcodeFormat;

constexpr std::array<std::pair<int32_t, BarcodeFormat>, 10> kTypes{{
    {kTypeInterleaved2of5, BarcodeFormat::ITF},
    {kTypeCode39, BarcodeFormat::Code39},
    {kTypeCodabar, BarcodeFormat::Codabar},
    {kTypeCode128, BarcodeFormat::Code128},
    {kTypeEan128, BarcodeFormat::Code128},
    {kTypeCode93, BarcodeFormat::Code93},
    {kTypeEan13, BarcodeFormat::EAN13},
    {kTypeUpcA, BarcodeFormat::UPCA},
    {kTypeEan8, BarcodeFormat::EAN8},
    {kTypeUpcE, BarcodeFormat::UPCE},
}};

}  // namespace

int32_t TypeOf(BarcodeFormat format, std::string_view symbologyIdentifier) {
    if (format == BarcodeFormat::Code128) return symbologyIdentifier == "]C1" ? kTypeEan128 : kTypeCode128;
    for (const auto& [type, known] : kTypes)
        if (known == format) return type;
    return 0;
}

ZXing::BarcodeFormats LinearFormats() {
    ZXing::BarcodeFormats formats;
    for (const auto& [type, format] : kTypes) formats |= format;
    return formats;
}

bool CarriesCheckSum(int32_t type) {
    switch (type) {
        case kTypeCode128:
        case kTypeEan128:
        case kTypeCode93:
        case kTypeEan13:
        case kTypeUpcA:
        case kTypeEan8:
        case kTypeUpcE:
            return true;
        default:
            return false;
    }
}

}  // namespace mvbarcode1d
