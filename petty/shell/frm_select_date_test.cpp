#include "petty/shell/frm_select_date.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "petty/shell/shell_test_support.h"
#include "platform/vb/clock.h"
#include "platform/vb/locale.h"

namespace petty {
namespace {

namespace user = forms::user;

vb::DateTime day(int year, int month, int d) { return *vb::DateTime::fromParts(year, month, d); }

class DatePickerTest : public testing::ShellTest {
protected:
    DatePickerTest() : ShellTest(false) { vb::setCurrentLocale(vb::Locale{}); }  // day/month/year with "/"
    ~DatePickerTest() override { vb::setCurrentLocale(savedLocale); }

    // Opens the picker; the script works it as the user does.
    std::string pick(std::function<void(Frmselectdate&)> script) {
        host.expectModal<Frmselectdate>("Frmselectdate", std::move(script));
        return pickDate();
    }

    const vb::Locale savedLocale = vb::currentLocale();
    vb::FixedClock clock{*vb::DateTime::fromParts(2026, 3, 14, 16, 20, 5)};
    vb::ScopedClock useClock{clock};
};

TEST_F(DatePickerTest, OpensOnTodayAndAClickOnADayReturnsThatDayInTheShortDateForm) {
    const std::string picked = pick([](Frmselectdate& f) {
        EXPECT_EQ(f.caption(), "select date");
        EXPECT_EQ(f.Calendar1.value(), day(2026, 3, 14));
        EXPECT_EQ(f.cancelButton(), &f.CANCEL);
        // The cancel button lies outside the window: the user sees only the calendar.
        EXPECT_LT(f.CANCEL.left() + f.CANCEL.width(), 0);
        EXPECT_LT(f.CANCEL.top() + f.CANCEL.height(), 0);
        ASSERT_TRUE(user::pickCalendarDate(f.Calendar1, day(2025, 12, 1)));
        EXPECT_FALSE(f.isLoaded());
    });
    EXPECT_EQ(picked, "01/12/2025");
    EXPECT_EQ(appState().selectedDate, "01/12/2025");
}

TEST_F(DatePickerTest, AClickOnTodayReturnsTodayAndEachOpeningStartsOnItsOwnToday) {
    EXPECT_EQ(pick([](Frmselectdate& f) { user::pickCalendarDate(f.Calendar1, f.Calendar1.value()); }), "14/03/2026");
    clock.set(*vb::DateTime::fromParts(2026, 4, 2, 8, 0, 0));
    pick([](Frmselectdate& f) {
        EXPECT_EQ(f.Calendar1.value(), day(2026, 4, 2));
        user::pickCalendarDate(f.Calendar1, day(2026, 4, 30));
    });
    EXPECT_EQ(appState().selectedDate, "30/04/2026");
}

TEST_F(DatePickerTest, EscapeAndTheCloseBoxLeaveTheSelectedDateAsItWas) {
    const std::function<void(Frmselectdate&)> closings[] = {
        [](Frmselectdate& f) { EXPECT_TRUE(user::pressKey(f.Calendar1, forms::vbKeyEscape)); },
        [](Frmselectdate& f) { EXPECT_TRUE(user::closeForm(f)); },
    };
    for (const std::string before : {"", "02/01/2026"}) {
        for (const auto& close : closings) {
            SCOPED_TRACE("selectedDate before: '" + before + "'");
            appState().selectedDate = before;  // a pick that no box took over yet
            EXPECT_EQ(pick([&](Frmselectdate& f) {
                          close(f);
                          EXPECT_FALSE(f.isLoaded());
                      }),
                      before);
        }
    }
}

TEST_F(DatePickerTest, TheShortDateFollowsTheUsersDateOrder) {
    vb::setCurrentLocale({vb::Locale::DateOrder::MonthDayYear, '-', '.'});
    EXPECT_EQ(pick([](Frmselectdate& f) { user::pickCalendarDate(f.Calendar1, day(2026, 7, 4)); }), "07-04-2026");
}

}  // namespace
}  // namespace petty
