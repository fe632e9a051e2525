#pragma once
// VB's Format of a Date value and its default text form (CStr).
#include <string>
#include <string_view>

#include "platform/vb/date_time.h"
#include "platform/vb/locale.h"

namespace vb {

// Patterns, letters in any case:
//   named   "Short Date", "Long Time" (24-hour "HH:MM:SS"), "Short Time"
//           ("HH:MM"), "General Date" (as generalDateText)
//   d dd    day; m mm month, or minute right after an hour (as in "hh:mm" and
//           "HHMM"); mmm mmmm English month name ("Dec", "December");
//   yy yyyy year; h hh hour (24-hour); n nn minute; s ss second;
//   "/"     the locale's date separator; ":" the time separator.
// Any other character is copied as it stands. Pattern letters VB has but the
// program does not use (weekdays, quarters, AM/PM, ...) throw
// std::invalid_argument: a pattern is the program's own text, never the user's.
std::string formatDate(const DateTime& value, std::string_view pattern, const Locale& = currentLocale());

// The default text of a Date value: the short date, a blank and the long time;
// a value at midnight as the date alone, one on the zero date (1899-12-30) as
// the time alone.
std::string generalDateText(const DateTime& value, const Locale& = currentLocale());

}  // namespace vb
