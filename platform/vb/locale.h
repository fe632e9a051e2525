#pragma once
// The user's regional settings as VB reads them: the order and separator of the
// short date form and the decimal separator. Tests pin one with setCurrentLocale.
#include <string_view>

namespace vb {

struct Locale {
    enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };
    DateOrder dateOrder = DateOrder::DayMonthYear;
    char dateSeparator = '/';
    char decimalSeparator = '.';

    // From the environment's LC_TIME / LC_NUMERIC (LC_ALL and LANG as usual).
    // The C/POSIX locale, an unset or unknown one gives the defaults above: the
    // C locale's "%m/%d/%y" is nobody's regional choice.
    static Locale fromEnvironment();
    // From a locale's date format (nl_langinfo D_FMT, e.g. "%d.%m.%Y") and radix
    // character; what cannot be read keeps the default.
    static Locale fromLanginfo(std::string_view dateFormat, std::string_view radix);

    bool operator==(const Locale&) const = default;
};

// Process-wide; taken from the environment on first use.
const Locale& currentLocale();
void setCurrentLocale(const Locale&);

}  // namespace vb
