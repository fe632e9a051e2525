#include "platform/vb/date_text.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

Locale localeOf(Locale::DateOrder order, char separator = '/') {
    Locale l;
    l.dateOrder = order;
    l.dateSeparator = separator;
    return l;
}

const Locale kDmy = localeOf(Locale::DateOrder::DayMonthYear);
const Locale kMdy = localeOf(Locale::DateOrder::MonthDayYear);
const Locale kYmd = localeOf(Locale::DateOrder::YearMonthDay, '-');

TEST(DateText, ParseShortDateFollowsTheLocaleOrder) {
    struct Case { const char* text; const Locale* locale; const char* iso; } cases[] = {
        {"10/12/2026", &kDmy, "2026-12-10"},
        {"10/12/2026", &kMdy, "2026-10-12"},
        {"26-12-10", &kYmd, "2026-12-10"},
        {"1/2/2026", &kDmy, "2026-02-01"},
        {"10-12-26", &kDmy, "2026-12-10"},
        {"10.12.2026", &kDmy, "2026-12-10"},
        {" 10/12/2026 ", &kDmy, "2026-12-10"},
        {"2026-12-10", &kDmy, "2026-12-10"},  // a four-digit first number is always year first
        {"2026/12/10", &kMdy, "2026-12-10"},
        {"29/02/2024", &kDmy, "2024-02-29"},
        // two-digit years: 00-29 in this century, 30-99 in the last
        {"1/1/00", &kDmy, "2000-01-01"},
        {"1/1/29", &kDmy, "2029-01-01"},
        {"1/1/30", &kDmy, "1930-01-01"},
        {"1/1/99", &kDmy, "1999-01-01"},
        {"1/1/5", &kDmy, "2005-01-01"},
        // month names, English, any case
        {"10 Dec 2026", &kMdy, "2026-12-10"},
        {"10-dec-26", &kDmy, "2026-12-10"},
        {"10 DECEMBER 2026", &kDmy, "2026-12-10"},
        {"Dec 10, 2026", &kDmy, "2026-12-10"},
        {"December 10 2026", &kDmy, "2026-12-10"},
        // a time after the date is dropped
        {"10/12/2026 09:05:30", &kDmy, "2026-12-10"},
        {"10/12/2026 9:05 PM", &kDmy, "2026-12-10"},
    };
    for (const auto& c : cases) {
        const auto got = parseShortDate(c.text, *c.locale);
        ASSERT_TRUE(got) << c.text;
        EXPECT_EQ(got->toIsoDateTime(), std::string(c.iso) + " 00:00:00") << c.text;
    }
}

TEST(DateText, ParseShortDateRefusesWhatIsNoDate) {
    struct Case { const char* text; const Locale* locale; } cases[] = {
        {"31/04/2026", &kDmy}, {"29/02/2026", &kDmy}, {"00/12/2026", &kDmy}, {"10/13/2026", &kDmy},
        {"13/25/2026", &kMdy},  // not retried day-first
        {"10/12/226", &kDmy}, {"10/12/20266", &kDmy}, {"100/12/2026", &kDmy},
        {"10/12", &kDmy}, {"10/12-2026", &kDmy}, {"10/12/2026x", &kDmy}, {"10/12/2026 25:00", &kDmy},
        {"10 Dez 2026", &kDmy}, {"10 De 2026", &kDmy}, {"", &kDmy}, {"abc", &kDmy}, {"12.5", &kDmy},
        {"09:05", &kDmy},  // a time alone names no date
        {"2026-12-10T09:05", &kDmy},
    };
    for (const auto& c : cases) EXPECT_FALSE(parseShortDate(c.text, *c.locale)) << c.text;
}

TEST(DateText, DateTextTakesDatesTimesAndBoth) {
    struct Case { const char* text; std::optional<const char*> iso; } cases[] = {
        {"10/12/2026", "2026-12-10 00:00:00"},
        {"10/12/2026 09:05", "2026-12-10 09:05:00"},
        {"10/12/2026   23:59:59", "2026-12-10 23:59:59"},
        {"09:05:07", "1899-12-30 09:05:07"},
        {"9:05", "1899-12-30 09:05:00"},
        {"12:00 am", "1899-12-30 00:00:00"},
        {"12:30 PM", "1899-12-30 12:30:00"},
        {"1:15pm", "1899-12-30 13:15:00"},
        {"24:00", std::nullopt},
        {"10:60", std::nullopt},
        {"13:00 pm", std::nullopt},
        {"9", std::nullopt},
        {"9:", std::nullopt},
        {"10/12/202609:05", std::nullopt},
        {"09:05 10/12/2026", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = parseDateText(c.text, kDmy);
        EXPECT_EQ(isDate(c.text, kDmy), c.iso.has_value()) << c.text;
        ASSERT_EQ(got.has_value(), c.iso.has_value()) << c.text;
        if (got) { EXPECT_EQ(got->toIsoDateTime(), *c.iso) << c.text; }
    }
}

TEST(DateText, TimeTextKeepsOnlyTheTime) {
    EXPECT_EQ(parseTimeText("10/12/2026 14:30:05", kDmy)->toIsoDateTime(), "1899-12-30 14:30:05");
    EXPECT_EQ(parseTimeText("14:30", kDmy)->toHms(), "14:30:00");
    EXPECT_EQ(parseTimeText("10/12/2026", kDmy)->toIsoDateTime(), "1899-12-30 00:00:00");
    EXPECT_FALSE(parseTimeText("31/02/2026 14:30", kDmy));
    EXPECT_FALSE(parseTimeText("14.30", kDmy));
}

TEST(DateText, FormatShortDateWritesTheLocaleFormWithFourDigitYear) {
    const DateTime d = *DateTime::fromParts(2026, 3, 5, 9, 7, 1);
    EXPECT_EQ(formatShortDate(d, kDmy), "05/03/2026");
    EXPECT_EQ(formatShortDate(d, kMdy), "03/05/2026");
    EXPECT_EQ(formatShortDate(d, kYmd), "2026-03-05");
    EXPECT_EQ(formatShortDate(d, localeOf(Locale::DateOrder::DayMonthYear, '.')), "05.03.2026");
    EXPECT_EQ(formatLongTime(d), "09:07:01");
}

TEST(DateText, ShortDateRoundTripsInEveryOrder) {
    for (const Locale* l : {&kDmy, &kMdy, &kYmd}) {
        for (DateTime d = *DateTime::fromParts(2023, 12, 25); d < *DateTime::fromParts(2024, 3, 5); d = d.addDays(1))
            EXPECT_EQ(parseShortDate(formatShortDate(d, *l), *l), d) << formatShortDate(d, *l);
    }
}

}  // namespace
}  // namespace vb
