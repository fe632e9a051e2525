#pragma once
// The symbology values of linear codes (as the control's type library names
// them) and the decoder's formats behind them.
#include <cstdint>
#include <string_view>

#include <ZXing/BarcodeFormat.h>

namespace mvbarcode1d {

inline constexpr int32_t kTypeInterleaved2of5 = 4;
inline constexpr int32_t kTypeCode39 = 32;
inline constexpr int32_t kTypeCodabar = 64;
inline constexpr int32_t kTypeCode128 = 4096;
inline constexpr int32_t kTypeEan128 = 8192;
inline constexpr int32_t kTypeCode93 = 16384;
inline constexpr int32_t kTypeEan13 = -32768;  // bit 15 of a 16-bit field, as the type library spells it
inline constexpr int32_t kTypeUpcA = 65536;
inline constexpr int32_t kTypeEan8 = 131072;
inline constexpr int32_t kTypeUpcE = 262144;

// The type value of a decoded code; a Code 128 symbol that starts with FNC1
// (symbology identifier "]C1") is the GS1 form. 0 for a format not read here.
int32_t TypeOf(ZXing::BarcodeFormat format, std::string_view symbologyIdentifier);

// The decoder's formats of every type above.
ZXing::BarcodeFormats LinearFormats();

// True for symbologies whose check digit is part of every symbol and which
// the decoder refuses when it does not match.
bool CarriesCheckSum(int32_t type);

}  // namespace mvbarcode1d
