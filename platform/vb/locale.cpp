#include "platform/vb/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>

namespace vb {

namespace {

// The locale name the environment selects for one category, as setlocale(cat, "") would.
std::string environmentLocaleName(const char* categoryVariable) {
    for (const char* name : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return "C";
}

bool isPlainCLocale(const std::string& name) {
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Reads one nl_langinfo item of the named locale; empty when the locale is not installed.
std::string langinfoOf(const std::string& localeName, int categoryMask, nl_item item) {
    locale_t loc = newlocale(categoryMask, localeName.c_str(), static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return {};
    std::string value = nl_langinfo_l(item, loc);
    freelocale(loc);
    return value;
}

Locale& processLocale() {
    static Locale locale = Locale::fromEnvironment();
    return locale;
}

}  // namespace

Locale Locale::fromLanginfo(std::string_view dateFormat, std::string_view radix) {
    Locale result;
    // Shorthand conversions stand for their expansion.
    std::string format(dateFormat);
    if (format == "%D") format = "%m/%d/%y";
    if (format == "%F") format = "%Y-%m-%d";

    std::string order;  // the letters d, m, y in the order the format gives them
    char separator = 0;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%') continue;
        size_t k = i + 1;
        while (k < format.size() && (format[k] == 'E' || format[k] == 'O' || format[k] == '-' ||
                                     format[k] == '_' || format[k] == '0'))
            ++k;  // modifiers and glibc flags
        if (k >= format.size()) break;
        const char c = format[k];
        const char field = (c == 'd' || c == 'e') ? 'd' : (c == 'm' || c == 'b' || c == 'h') ? 'm'
                         : (c == 'y' || c == 'Y' || c == 'C') ? 'y' : 0;
        if (field && order.find(field) == std::string::npos) {
            order += field;
            // The separator is the first punctuation after the first field.
            if (order.size() == 1 && k + 1 < format.size() && format[k + 1] != '%' &&
                format[k + 1] != ' ')
                separator = format[k + 1];
        }
        i = k;
    }
    if (order == "dmy") result.dateOrder = DateOrder::DayMonthYear;
    else if (order == "mdy") result.dateOrder = DateOrder::MonthDayYear;
    else if (order == "ymd") result.dateOrder = DateOrder::YearMonthDay;
    if (order.size() == 3 && (separator == '/' || separator == '-' || separator == '.'))
        result.dateSeparator = separator;
    if (radix.size() == 1) result.decimalSeparator = radix[0];
    return result;
}

Locale Locale::fromEnvironment() {
    const std::string timeName = environmentLocaleName("LC_TIME");
    const std::string numericName = environmentLocaleName("LC_NUMERIC");
    const std::string dateFormat =
        isPlainCLocale(timeName) ? std::string() : langinfoOf(timeName, LC_TIME_MASK, D_FMT);
    const std::string radix =
        isPlainCLocale(numericName) ? std::string() : langinfoOf(numericName, LC_NUMERIC_MASK, RADIXCHAR);
    return fromLanginfo(dateFormat, radix);
}

const Locale& currentLocale() { return processLocale(); }

void setCurrentLocale(const Locale& locale) { processLocale() = locale; }

}  // namespace vb
