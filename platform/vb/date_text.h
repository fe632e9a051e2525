#pragma once
// Dates as text the way VB reads and writes them for the user's regional
// settings: the short date form, the 24-hour long time form, and the date and
// time texts that IsDate / CDate / DateValue / TimeValue accept.
//
// Accepted (blanks around the text are ignored, letter case too):
//   numeric date   three numbers joined by one separator used twice: "/", "-",
//                  "." or the locale's own; read in the locale's order, except
//                  that a four-digit first number always starts year-month-day
//                  ("2026-12-10"). Day and month take one or two digits, the
//                  year one, two or four; years below 100 are windowed as VB
//                  does: 0-29 -> 2000-2029, 30-99 -> 1930-1999.
//   named month    "10 Dec 2026", "10-December-2026", "Dec 10, 2026",
//                  "December 10 2026" (English names, full or three letters).
//   time           "9:05", "09:05:00", "9:05 pm" (with AM/PM the hour is 1-12).
//   date and time  a date, blanks, then a time.
// Everything else is refused: impossible days ("31/04/2026"), two-part dates,
// mixed separators, trailing text. Unlike VB, a date that is impossible in the
// locale's order is not retried in another order, so "13/25/2026" is refused
// rather than silently read month-first.
#include <optional>
#include <string>
#include <string_view>

#include "platform/vb/date_time.h"
#include "platform/vb/locale.h"

namespace vb {

// DateValue of a date text: the calendar date it names; a time after the date
// is allowed and dropped. A text without a date is refused.
std::optional<DateTime> parseShortDate(std::string_view text, const Locale& = currentLocale());
// CDate of a text: a date, a time (on VB's zero date, 1899-12-30) or both.
std::optional<DateTime> parseDateText(std::string_view text, const Locale& = currentLocale());
// IsDate: whether parseDateText accepts the text.
bool isDate(std::string_view text, const Locale& = currentLocale());
// TimeValue: the time of day a text names (a date in it is allowed and dropped),
// on VB's zero date. A text without a time reads as midnight when it is a date.
std::optional<DateTime> parseTimeText(std::string_view text, const Locale& = currentLocale());

// The short date form: two-digit day and month, four-digit year, in the
// locale's order and separator ("10/12/2026" day-month-year).
std::string formatShortDate(const DateTime&, const Locale& = currentLocale());
// The long time form: 24-hour "HH:MM:SS".
std::string formatLongTime(const DateTime&);

}  // namespace vb
