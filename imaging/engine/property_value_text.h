#pragma once
// Property item and IPTC values as the texts the viewer shows.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace scanvelt {

// Tags whose values are always read as text.
inline constexpr int32_t kTagXmlPackets = 700;
inline constexpr int32_t kTagExifUserComment = 37510;
inline constexpr int32_t kTagPrintImData = 50341;

// The value of an item with this tag, type, length in bytes and value count.
// nullopt when a value cannot be written as a number: a rational whose
// denominator is 0.
std::optional<std::string> PropertyValueText(int32_t tagId, int32_t type, int32_t length, int32_t count,
                                             std::span<const uint8_t> bytes);

// A number with a blank before it when it is not negative and "-" otherwise;
// at most 15 significant digits, no 0 before the decimal point, no trailing
// zeros, exponent form ("1E+15", "1.5E-05") for very large and small magnitudes.
std::string SignedNumberText(double value);

}  // namespace scanvelt
