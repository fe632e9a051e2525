#include "platform/vb/numeric_text.h"

#include <string>

#include "platform/vb/leading_number.h"

namespace vb {

namespace {

std::string decimalSeparators(const Locale& locale) { return {'.', locale.decimalSeparator}; }

// The number when the whole text is one, else nothing.
std::optional<detail::LeadingNumber> wholeNumber(std::string_view text, const Locale& locale) {
    const std::string separators = decimalSeparators(locale);
    const auto n = detail::scanLeadingNumber(text, detail::skipBlanks(text, 0), {.decimalSeparators = separators});
    if (!n.anyDigit || detail::skipBlanks(text, n.end) != text.size()) return std::nullopt;
    return n;
}

}  // namespace

bool isNumeric(std::string_view text, const Locale& locale) { return wholeNumber(text, locale).has_value(); }

std::optional<Currency> currencyFromText(std::string_view text, const Locale& locale) {
    const auto n = wholeNumber(text, locale);
    if (!n) return std::nullopt;
    return detail::currencyOf(*n);
}

std::optional<Currency> boxNumber(std::string_view text, const Locale& locale) {
    const std::string separators = decimalSeparators(locale);
    return detail::currencyOf(
        detail::scanLeadingNumber(text, 0, {.decimalSeparators = separators, .skipBlanksInside = true}));
}

}  // namespace vb
