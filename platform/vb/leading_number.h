#pragma once
// The scanner behind Val, IsNumeric and the box-number rule: reads the decimal
// number at the start of a text and says where it ended. Internal to platform_vb.
#include <optional>
#include <string>
#include <string_view>

#include "platform/vb/currency.h"

namespace vb::detail {

struct LeadingNumberRules {
    std::string_view decimalSeparators = ".";  // any one of them, once
    bool skipBlanksInside = false;             // Val drops blanks, tabs and line feeds anywhere
    bool exponent = false;                     // "E"/"D" with an optional sign and digits
};

struct LeadingNumber {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    std::string exponentDigits;  // with a leading '-' when negative
    bool anyDigit = false;       // a mantissa digit was read
    size_t end = 0;              // index just past the last character that belongs to the number
};

bool isVbBlank(char c);
size_t skipBlanks(std::string_view text, size_t pos);
LeadingNumber scanLeadingNumber(std::string_view text, size_t pos, const LeadingNumberRules& rules);
// The mantissa as an exact currency; nullopt outside the currency range.
std::optional<Currency> currencyOf(const LeadingNumber& number);

}  // namespace vb::detail
