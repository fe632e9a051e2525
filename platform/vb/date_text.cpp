#include "platform/vb/date_text.h"

#include "platform/vb/month_names.h"

#include <cctype>
#include <cstdio>

namespace vb {

namespace {

struct Number {
    int value = 0;
    int digits = 0;
};

struct CalendarDate {
    int year = 0, month = 0, day = 0;
};

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};

// A read position in the text; every try* function restores it when it fails,
// so alternatives can be tried one after the other.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    size_t position() const { return pos_; }
    void restore(size_t pos) { pos_ = pos; }

    bool number(Number& out, int maxDigits) {
        size_t end = pos_;
        while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
        const int digits = static_cast<int>(end - pos_);
        if (digits == 0 || digits > maxDigits) return false;
        out = {0, digits};
        for (; pos_ < end; ++pos_) out.value = out.value * 10 + (text_[pos_] - '0');
        return true;
    }
    // A run of letters, lower-cased.
    bool word(std::string& out) {
        out.clear();
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_])))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_++])));
        return !out.empty();
    }
    bool oneOf(std::string_view chars, char& which) {
        if (pos_ < text_.size() && chars.find(text_[pos_]) != std::string_view::npos) {
            which = text_[pos_++];
            return true;
        }
        return false;
    }
    bool literal(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) { ++pos_; return true; }
        return false;
    }
    bool blanks() {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
        return pos_ > start;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// One, two or four digits; below 100 in VB's window (0-29 -> 20xx, 30-99 -> 19xx).
bool yearOf(const Number& n, int& year) {
    if (n.digits == 3) return false;
    year = n.digits == 4 ? n.value : n.value < 30 ? 2000 + n.value : 1900 + n.value;
    return true;
}

bool tryNumericDate(Reader& r, const Locale& locale, CalendarDate& out) {
    const size_t start = r.position();
    const std::string separators{'/', '-', '.', locale.dateSeparator};
    Number a, b, c;
    char sep = 0, sep2 = 0;
    if (r.number(a, 4) && r.oneOf(separators, sep) && r.number(b, 2) && r.oneOf(separators, sep2) &&
        sep2 == sep && r.number(c, 4)) {
        const bool yearFirst = a.digits == 4 || locale.dateOrder == Locale::DateOrder::YearMonthDay;
        Number year = c, month = b, day = a;
        if (yearFirst) { year = a; day = c; }
        else if (locale.dateOrder == Locale::DateOrder::MonthDayYear) { month = a; day = b; }
        if (day.digits <= 2 && month.digits <= 2 && yearOf(year, out.year)) {
            out.month = month.value;
            out.day = day.value;
            return true;
        }
    }
    r.restore(start);
    return false;
}

bool tryMonthName(Reader& r, int& month) {
    std::string word;
    const size_t start = r.position();
    if (r.word(word) && (month = monthOfName(word)) != 0) return true;
    r.restore(start);
    return false;
}

// A dash, slash or point, or a run of blanks, between the parts of a named date.
bool namedDateSeparator(Reader& r) {
    char ignored;
    return r.oneOf("-/.", ignored) || r.blanks();
}

bool tryNamedDate(Reader& r, CalendarDate& out) {
    const size_t start = r.position();
    Number day, year;
    // "10 Dec 2026", "10-December-2026"
    if (r.number(day, 2) && namedDateSeparator(r) && tryMonthName(r, out.month) && namedDateSeparator(r) &&
        r.number(year, 4) && yearOf(year, out.year)) {
        out.day = day.value;
        return true;
    }
    r.restore(start);
    // "Dec 10, 2026", "December 10 2026"
    if (tryMonthName(r, out.month) && r.blanks() && r.number(day, 2)) {
        const bool comma = r.literal(',');
        if ((r.blanks() || comma) && r.number(year, 4) && yearOf(year, out.year)) {
            out.day = day.value;
            return true;
        }
    }
    r.restore(start);
    return false;
}

bool tryTime(Reader& r, TimeOfDay& out) {
    const size_t start = r.position();
    Number h, m, s;
    if (r.number(h, 2) && r.literal(':') && r.number(m, 2)) {
        out = {h.value, m.value, 0};
        const size_t beforeSeconds = r.position();
        if (r.literal(':') && r.number(s, 2)) out.second = s.value;
        else r.restore(beforeSeconds);
        const size_t beforeMarker = r.position();
        r.blanks();
        std::string marker;
        if (r.word(marker) && (marker == "am" || marker == "pm")) {
            if (out.hour < 1 || out.hour > 12) { r.restore(start); return false; }
            out.hour = out.hour % 12 + (marker == "pm" ? 12 : 0);
        } else {
            r.restore(beforeMarker);
        }
        if (out.hour <= 23 && out.minute <= 59 && out.second <= 59) return true;
    }
    r.restore(start);
    return false;
}

struct DateAndTime {
    std::optional<CalendarDate> date;
    std::optional<TimeOfDay> time;
};

// The whole text as a date, a time, or a date followed by a time.
std::optional<DateAndTime> readDateAndTime(std::string_view text, const Locale& locale) {
    Reader r(trimBlanks(text));
    DateAndTime result;
    CalendarDate date;
    TimeOfDay time;
    if (tryNumericDate(r, locale, date) || tryNamedDate(r, date)) {
        result.date = date;
        if (r.atEnd()) return result;
        if (!r.blanks()) return std::nullopt;
    }
    if (tryTime(r, time)) result.time = time;
    if (!r.atEnd() || (!result.date && !result.time)) return std::nullopt;
    return result;
}

std::optional<DateTime> combine(const std::optional<CalendarDate>& date, const std::optional<TimeOfDay>& time) {
    const DateTime zero;
    const CalendarDate d = date.value_or(CalendarDate{zero.year(), zero.month(), zero.day()});
    const TimeOfDay t = time.value_or(TimeOfDay{});
    return DateTime::fromParts(d.year, d.month, d.day, t.hour, t.minute, t.second);
}

}  // namespace

std::optional<DateTime> parseShortDate(std::string_view text, const Locale& locale) {
    const auto read = readDateAndTime(text, locale);
    if (!read || !read->date) return std::nullopt;
    return combine(read->date, std::nullopt);
}

std::optional<DateTime> parseDateText(std::string_view text, const Locale& locale) {
    const auto read = readDateAndTime(text, locale);
    if (!read) return std::nullopt;
    return combine(read->date, read->time);
}

bool isDate(std::string_view text, const Locale& locale) { return parseDateText(text, locale).has_value(); }

std::optional<DateTime> parseTimeText(std::string_view text, const Locale& locale) {
    const auto read = readDateAndTime(text, locale);
    // The date must still be a real one even though it is dropped.
    if (!read || (read->date && !combine(read->date, std::nullopt))) return std::nullopt;
    return combine(std::nullopt, read->time);
}

std::string formatShortDate(const DateTime& value, const Locale& locale) {
    char buf[32];
    const char s = locale.dateSeparator;
    switch (locale.dateOrder) {
        case Locale::DateOrder::DayMonthYear:
            std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", value.day(), s, value.month(), s, value.year());
            break;
        case Locale::DateOrder::MonthDayYear:
            std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", value.month(), s, value.day(), s, value.year());
            break;
        case Locale::DateOrder::YearMonthDay:
            std::snprintf(buf, sizeof buf, "%04d%c%02d%c%02d", value.year(), s, value.month(), s, value.day());
            break;
    }
    return buf;
}

std::string formatLongTime(const DateTime& value) { return value.toHms(); }

}  // namespace vb
