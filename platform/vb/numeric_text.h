#pragma once
// Numbers typed into boxes: VB's IsNumeric, CCur of a text, and the rule that
// reads the number at the start of a box's text.
//
// What counts as numeric: blanks around the text, an optional leading sign,
// digits, and at most one decimal separator followed by digits; the separator
// may be the locale's or a point ("12.5" is numeric in every locale, as is
// "12,5" where the comma is the decimal separator). At least one digit.
// Unlike VB, thousands separators, exponents, currency signs, parentheses and
// "&H" numbers are refused: the box-number rule below stops at them, so a typed
// "1,000" would pass the test but read as 1 when held against the balance.
#include <optional>
#include <string_view>

#include "platform/vb/currency.h"
#include "platform/vb/locale.h"

namespace vb {

bool isNumeric(std::string_view text, const Locale& = currentLocale());
// CCur of a text that isNumeric accepts: the exact amount, halves of the fifth
// decimal to even. nullopt when the text is not numeric or outside the range of
// Currency.
std::optional<Currency> currencyFromText(std::string_view text, const Locale& = currentLocale());
// The number at the start of a box's text: blanks, tabs and line feeds are
// skipped wherever they stand, as VB's Val does ("1 000" reads 1000); then an
// optional sign, digits, one decimal separator (a point, or the locale's own) and digits;
// the rest is ignored, and a text without a leading number (an empty box
// included) reads 0. Exact; halves of the fifth decimal go to even. nullopt only
// when the number is outside the range of Currency (VB's overflow).
std::optional<Currency> boxNumber(std::string_view text, const Locale& = currentLocale());

}  // namespace vb
