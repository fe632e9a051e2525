#include "platform/vb/month_names.h"

#include <array>

#include "platform/vb/text_compare.h"

namespace vb {

namespace {

constexpr std::array<std::string_view, 12> kNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string_view monthName(int month) {
    return month >= 1 && month <= 12 ? kNames[static_cast<size_t>(month - 1)] : std::string_view{};
}

std::string_view abbreviatedMonthName(int month) { return monthName(month).substr(0, 3); }

int monthOfName(std::string_view name) {
    for (int m = 1; m <= 12; ++m) {
        if (equalIgnoringCase(name, monthName(m)) || equalIgnoringCase(name, abbreviatedMonthName(m))) return m;
    }
    return 0;
}

}  // namespace vb
