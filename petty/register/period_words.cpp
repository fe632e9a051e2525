#include "petty/register/period_words.h"

#include "platform/vb/month_names.h"

namespace petty {

namespace {

// Two characters from `at`, fewer (or none) where the text ends, as Mid does.
std::string_view part(std::string_view text, size_t at) {
    return at < text.size() ? text.substr(at, 2) : std::string_view();
}

std::string monthInWords(std::string_view digits) {
    const bool twoDigits = digits.size() == 2 && digits[0] >= '0' && digits[0] <= '9' && digits[1] >= '0' &&
                           digits[1] <= '9';
    const std::string_view name = twoDigits ? vb::monthName((digits[0] - '0') * 10 + (digits[1] - '0')) : "";
    return std::string(name.empty() ? digits : name);
}

}  // namespace

std::string periodIdInWords(std::string_view periodIdText) {
    const std::string digits = periodIdText.size() == 9 ? "0" + std::string(periodIdText) : std::string(periodIdText);
    return "20" + std::string(part(digits, 0)) + "-" + monthInWords(part(digits, 2)) + "-" +
           std::string(part(digits, 4)) + " " + std::string(part(digits, 6)) + ":" + std::string(part(digits, 8));
}

}  // namespace petty
