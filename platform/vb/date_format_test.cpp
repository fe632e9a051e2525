#include "platform/vb/date_format.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vb {
namespace {

TEST(DateFormat, PatternsTheProgramUses) {
    Locale dmy;
    Locale mdyDot;
    mdyDot.dateOrder = Locale::DateOrder::MonthDayYear;
    mdyDot.dateSeparator = '.';
    const DateTime t = *DateTime::fromIso("2015-05-07 14:03:05");
    const DateTime early = *DateTime::fromIso("2005-01-02 09:08:07");
    struct Case { const DateTime* value; const char* pattern; const Locale* locale; const char* text; } cases[] = {
        {&t, "YYMMDDHHMM", &dmy, "1505071403"},           // a period ID
        {&early, "YYMMDDHHMM", &dmy, "0501020908"},
        {&t, "mmmDDYYYY", &dmy, "May072015"},             // export file name
        {&early, "mmmDDYYYY", &dmy, "Jan022005"},
        {&t, "HHMMSS", &dmy, "140305"},
        {&t, "HHMM", &dmy, "1403"},                       // bill base name
        {&t, "hh:mm:ss", &dmy, "14:03:05"},
        {&t, "HH:MM:SS", &dmy, "14:03:05"},
        {&t, "hh:mm", &dmy, "14:03"},
        {&t, "h:n:s", &dmy, "14:3:5"},
        {&t, "dd/mm/yyyy", &dmy, "07/05/2015"},
        {&t, "dd/mm/yyyy", &mdyDot, "07.05.2015"},         // "/" is the locale's separator
        {&t, "d mmmm yyyy", &dmy, "7 May 2015"},
        {&early, "mmmm", &dmy, "January"},
        {&t, "m", &dmy, "5"},
        {&t, "short date", &dmy, "07/05/2015"},
        {&t, "SHORT DATE", &mdyDot, "05.07.2015"},
        {&t, "Long Time", &dmy, "14:03:05"},
        {&t, "short time", &dmy, "14:03"},
        {&t, "General Date", &dmy, "07/05/2015 14:03:05"},
        {&t, "yyyy-mm-dd_hh", &dmy, "2015-05-07_14"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDate(*c.value, c.pattern, *c.locale), c.text) << c.pattern;
}

TEST(DateFormat, UnsupportedPatternLettersThrow) {
    const DateTime t = *DateTime::fromIso("2015-05-07 14:03:05");
    for (const char* pattern : {"ddd", "dddd", "yyy", "y", "mmmmm", "hhh", "ww", "q", "hh:mm AM/PM", "ttttt"})
        EXPECT_THROW(formatDate(t, pattern, Locale{}), std::invalid_argument) << pattern;
}

TEST(DateFormat, GeneralDateTextDropsTheEmptyPart) {
    const Locale dmy;
    EXPECT_EQ(generalDateText(*DateTime::fromIso("2026-12-10"), dmy), "10/12/2026");
    EXPECT_EQ(generalDateText(*DateTime::fromIso("2026-12-10 00:00:01"), dmy), "10/12/2026 00:00:01");
    EXPECT_EQ(generalDateText(*DateTime::fromIso("1899-12-30 09:05:00"), dmy), "09:05:00");
    EXPECT_EQ(generalDateText(DateTime(), dmy), "00:00:00");
}

}  // namespace
}  // namespace vb
