#include "petty/reports/whole_number.h"

#include <charconv>

#include "platform/vb/text_functions.h"

namespace petty {

std::optional<int64_t> positiveWholeNumber(std::string_view text) {
    const std::string digits = vb::trim(text);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (value < 1 || value > INT32_MAX) return std::nullopt;
    return value;
}

}  // namespace petty
