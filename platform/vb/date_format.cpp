#include "platform/vb/date_format.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "platform/vb/date_text.h"
#include "platform/vb/month_names.h"
#include "platform/vb/text_compare.h"

namespace vb {

namespace {

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

[[noreturn]] void unsupported(std::string_view pattern) {
    throw std::invalid_argument("date format pattern not supported: " + std::string(pattern));
}

// One run of the same pattern letter ("yyyy", "mm", ...).
std::string formatField(const DateTime& v, char letter, size_t length, bool minuteContext,
                        std::string_view pattern) {
    switch (letter) {
        case 'd':
            if (length == 1) return std::to_string(v.day());
            if (length == 2) return twoDigits(v.day());
            break;
        case 'm':
            if (length <= 2 && minuteContext) return length == 1 ? std::to_string(v.minute()) : twoDigits(v.minute());
            if (length == 1) return std::to_string(v.month());
            if (length == 2) return twoDigits(v.month());
            if (length == 3) return std::string(abbreviatedMonthName(v.month()));
            if (length == 4) return std::string(monthName(v.month()));
            break;
        case 'y':
            if (length == 2) return twoDigits(v.year() % 100);
            if (length == 4) return std::to_string(v.year());
            break;
        case 'h':
            if (length <= 2) return length == 1 ? std::to_string(v.hour()) : twoDigits(v.hour());
            break;
        case 'n':
            if (length <= 2) return length == 1 ? std::to_string(v.minute()) : twoDigits(v.minute());
            break;
        case 's':
            if (length <= 2) return length == 1 ? std::to_string(v.second()) : twoDigits(v.second());
            break;
    }
    unsupported(pattern);
}

}  // namespace

std::string formatDate(const DateTime& value, std::string_view pattern, const Locale& locale) {
    if (equalIgnoringCase(pattern, "short date")) return formatShortDate(value, locale);
    if (equalIgnoringCase(pattern, "long time")) return formatLongTime(value);
    if (equalIgnoringCase(pattern, "short time")) return formatDate(value, "hh:nn", locale);
    if (equalIgnoringCase(pattern, "general date")) return generalDateText(value, locale);

    std::string out;
    bool afterHour = false;  // "m" right after an hour field means minutes
    for (size_t i = 0; i < pattern.size();) {
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        if (std::string_view("dmyhns").find(letter) != std::string_view::npos) {
            size_t length = 1;
            while (i + length < pattern.size() &&
                   std::tolower(static_cast<unsigned char>(pattern[i + length])) == letter)
                ++length;
            out += formatField(value, letter, length, afterHour, pattern);
            afterHour = letter == 'h';
            i += length;
        } else if (std::string_view("wqatc").find(letter) != std::string_view::npos) {
            unsupported(pattern);
        } else {
            out += pattern[i] == '/' ? locale.dateSeparator : pattern[i];
            ++i;
        }
    }
    return out;
}

std::string generalDateText(const DateTime& value, const Locale& locale) {
    if (value.dateOnly() == DateTime()) return formatLongTime(value);
    if (!value.hasTime()) return formatShortDate(value, locale);
    return formatShortDate(value, locale) + " " + formatLongTime(value);
}

}  // namespace vb
