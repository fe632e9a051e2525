#include "platform/vb/date_time.h"

#include <cstdio>

namespace vb {

using namespace std::chrono;

namespace {

struct Parts {
    year_month_day ymd;
    hh_mm_ss<seconds> hms;
};

Parts split(sys_seconds t) {
    const sys_days day = floor<days>(t);
    return {year_month_day{day}, hh_mm_ss<seconds>{t - day}};
}

bool readNumber(std::string_view text, size_t& pos, size_t width, int& out) {
    if (pos + width > text.size()) return false;
    int value = 0;
    for (size_t i = 0; i < width; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    pos += width;
    out = value;
    return true;
}

bool expect(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) { ++pos; return true; }
    return false;
}

}  // namespace

std::optional<DateTime> DateTime::fromParts(int y, int m, int d, int hh, int mm, int ss) {
    const year_month_day ymd{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                             std::chrono::day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || y < 100 || y > 9999) return std::nullopt;
    if (hh < 0 || hh > 23 || mm < 0 || mm > 59 || ss < 0 || ss > 59) return std::nullopt;
    return DateTime(sys_days{ymd} + hours{hh} + minutes{mm} + seconds{ss});
}

std::optional<DateTime> DateTime::fromIso(std::string_view text) {
    size_t pos = 0;
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
    if (!readNumber(text, pos, 4, y) || !expect(text, pos, '-') || !readNumber(text, pos, 2, m) ||
        !expect(text, pos, '-') || !readNumber(text, pos, 2, d))
        return std::nullopt;
    if (pos < text.size()) {
        if (!expect(text, pos, ' ') && !expect(text, pos, 'T')) return std::nullopt;
        if (!readNumber(text, pos, 2, hh) || !expect(text, pos, ':') || !readNumber(text, pos, 2, mm) ||
            !expect(text, pos, ':') || !readNumber(text, pos, 2, ss) || pos != text.size())
            return std::nullopt;
    }
    return fromParts(y, m, d, hh, mm, ss);
}

int DateTime::year() const { return static_cast<int>(split(t_).ymd.year()); }
int DateTime::month() const { return static_cast<int>(static_cast<unsigned>(split(t_).ymd.month())); }
int DateTime::day() const { return static_cast<int>(static_cast<unsigned>(split(t_).ymd.day())); }
int DateTime::hour() const { return static_cast<int>(split(t_).hms.hours().count()); }
int DateTime::minute() const { return static_cast<int>(split(t_).hms.minutes().count()); }
int DateTime::second() const { return static_cast<int>(split(t_).hms.seconds().count()); }
int DateTime::weekday() const {
    return static_cast<int>(std::chrono::weekday{floor<std::chrono::days>(t_)}.c_encoding()) + 1;
}

DateTime DateTime::dateOnly() const { return DateTime(floor<std::chrono::days>(t_)); }
DateTime DateTime::timeOnly() const { return DateTime().addSeconds((t_ - floor<std::chrono::days>(t_)).count()); }
bool DateTime::hasTime() const { return t_ != floor<std::chrono::days>(t_); }
DateTime DateTime::addDays(int n) const { return DateTime(t_ + std::chrono::days{n}); }
DateTime DateTime::addSeconds(long long n) const { return DateTime(t_ + seconds{n}); }
long long DateTime::daysUntil(const DateTime& other) const {
    return (floor<std::chrono::days>(other.t_) - floor<std::chrono::days>(t_)).count();
}

std::string DateTime::toIsoDate() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year(), month(), day());
    return buf;
}

std::string DateTime::toHms() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hour(), minute(), second());
    return buf;
}

std::string DateTime::toIsoDateTime() const { return toIsoDate() + " " + toHms(); }

}  // namespace vb
