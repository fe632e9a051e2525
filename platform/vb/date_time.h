#pragma once
// VB's Date value: a calendar date with a time of day, to the second, in local time.
// Stored in the book as ISO text ("2026-12-10" or "2026-12-10 09:05:00") so that
// text order is time order.
#include <chrono>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

class DateTime {
public:
    DateTime() = default;  // 1899-12-30 00:00:00, VB's zero date
    static std::optional<DateTime> fromParts(int year, int month, int day,
                                             int hour = 0, int minute = 0, int second = 0);
    // "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (a "T" separator is accepted too).
    static std::optional<DateTime> fromIso(std::string_view text);

    int year() const;
    int month() const;
    int day() const;
    int hour() const;
    int minute() const;
    int second() const;
    int weekday() const;  // 1 = Sunday .. 7 = Saturday, as VB counts

    DateTime dateOnly() const;
    DateTime timeOnly() const;  // the time of day on the zero date
    bool hasTime() const;       // a time of day other than midnight
    DateTime addDays(int days) const;
    DateTime addSeconds(long long seconds) const;
    // Whole days from this date to the other (dates only, times ignored).
    long long daysUntil(const DateTime& other) const;

    std::string toIsoDate() const;      // "YYYY-MM-DD"
    std::string toIsoDateTime() const;  // "YYYY-MM-DD HH:MM:SS"
    std::string toHms() const;          // "HH:MM:SS"

    auto operator<=>(const DateTime&) const = default;

private:
    explicit DateTime(std::chrono::sys_seconds t) : t_(t) {}
    std::chrono::sys_seconds t_{std::chrono::sys_days{std::chrono::year{1899} / 12 / 30}.time_since_epoch()};
};

}  // namespace vb
