#include "platform/vb/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vb {
namespace {

using Order = Locale::DateOrder;

TEST(Locale, ReadsOrderAndSeparatorsFromLanginfo) {
    struct Case { const char* dateFormat; const char* radix; Order order; char dateSep; char decimal; } cases[] = {
        {"%d/%m/%y", ".", Order::DayMonthYear, '/', '.'},   // en_GB
        {"%m/%d/%Y", ".", Order::MonthDayYear, '/', '.'},   // en_US
        {"%d.%m.%Y", ",", Order::DayMonthYear, '.', ','},   // de_DE
        {"%d-%m-%y", ",", Order::DayMonthYear, '-', ','},   // nl_NL
        {"%Y-%m-%d", ",", Order::YearMonthDay, '-', ','},   // sv_SE
        {"%F", ".", Order::YearMonthDay, '-', '.'},
        {"%D", ".", Order::MonthDayYear, '/', '.'},
        {"%Y年%m月%d日", ".", Order::YearMonthDay, '/', '.'},  // no usable separator: the default
        {"", "", Order::DayMonthYear, '/', '.'},
        {"%e %B %Y", "\xd9\xab", Order::DayMonthYear, '/', '.'},  // multi-byte radix: the default
    };
    for (const auto& c : cases) {
        const Locale got = Locale::fromLanginfo(c.dateFormat, c.radix);
        EXPECT_EQ(got.dateOrder, c.order) << c.dateFormat;
        EXPECT_EQ(got.dateSeparator, c.dateSep) << c.dateFormat;
        EXPECT_EQ(got.decimalSeparator, c.decimal) << c.dateFormat;
    }
}

TEST(Locale, PlainCEnvironmentGivesTheDefaults) {
    const char* saved = std::getenv("LC_ALL");
    const std::string restore = saved ? saved : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(Locale::fromEnvironment(), Locale{});
    setenv("LC_ALL", "xx_NOT_INSTALLED.UTF-8", 1);
    EXPECT_EQ(Locale::fromEnvironment(), Locale{});
    if (saved) setenv("LC_ALL", restore.c_str(), 1); else unsetenv("LC_ALL");
}

TEST(Locale, CurrentLocaleCanBePinned) {
    const Locale saved = currentLocale();
    Locale us;
    us.dateOrder = Order::MonthDayYear;
    us.decimalSeparator = ',';
    setCurrentLocale(us);
    EXPECT_EQ(currentLocale(), us);
    setCurrentLocale(saved);
    EXPECT_EQ(currentLocale(), saved);
}

}  // namespace
}  // namespace vb
