#include "petty/app/master_windows.h"

#include <gtest/gtest.h>

#include "petty/shell/pettycash_main.h"
#include "petty/shell/shell_test_support.h"

namespace petty {
namespace {

class MasterWindowsTest : public testing::ShellTest {};

TEST_F(MasterWindowsTest, TheMainWindowsButtonsAndMenuOpenThem) {
    registerMasterAndChangeLogWindows();
    appState().costCentreEnabled = true;
    Pettycashmain& main = formInstances().get<Pettycashmain>();
    main.show();
    struct Case {
        int16_t command;
        const char* menuItem;
        const char* form;
        const char* caption;
    };
    const Case cases[] = {
        {command::kEmployeeMaster, "mnuEmployeeMaster", "frmemployeemaster", "Employees and other Pettycash receivers"},
        {command::kExpenseHeads, "mnuExpenseHeads", "frmExpensetypes", "Expense head"},
        {command::kCostCentres, "mnuCostCentres", "frmprojectcodes", "Projects / Cost-centres"},
        {command::kChangeLog, "mnuChangeLog", "frmChangelog", "Changes/Edits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        const auto closeFromItsButton = [&c](forms::Form& window) {
            EXPECT_EQ(window.caption(), c.caption);
            forms::Control* close = window.findControl("cmdclose");
            ASSERT_NE(close, nullptr);
            EXPECT_TRUE(forms::user::click(*close));
        };
        host.expectModal(c.form, closeFromItsButton);
        host.expectModal(c.form, closeFromItsButton);
        EXPECT_TRUE(forms::user::click(main.MyButton1[c.command]));
        EXPECT_TRUE(forms::user::click(main.menu(c.menuItem)));
    }
    EXPECT_EQ(host.modalsShown().size(), 8u);
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(MasterWindowsTest, TheMainWindowOpensThePeriodsAndPendingSettlementsViews) {
    registerViewWindows();
    Pettycashmain& main = formInstances().get<Pettycashmain>();
    main.show();
    const auto closeWith = [](const char* caption, const char* button) {
        return [caption, button](forms::Form& window) {
            EXPECT_EQ(window.caption(), caption);
            forms::Control* close = window.findControl(button);
            ASSERT_NE(close, nullptr);
            EXPECT_TRUE(forms::user::click(*close));
        };
    };
    host.expectModal("frmSessions", closeWith("Pettycash periods", "cmdclose"));
    host.expectModal("frmSessions", closeWith("Pettycash periods", "cmdclose"));
    host.expectModal("frmEmpbalance", closeWith("Pending settlements", "cmdclose"));
    host.expectModal("frmEmpbalance", closeWith("Pending settlements", "cmdclose"));
    EXPECT_TRUE(forms::user::click(main.MyButton1[command::kPeriods]));
    EXPECT_TRUE(forms::user::click(main.menu("mnuPeriods")));
    EXPECT_TRUE(forms::user::click(main.MyButton1[command::kPendingSettlements]));
    EXPECT_TRUE(forms::user::click(main.menu("mnuPendingSettlements")));
    EXPECT_EQ(host.modalsShown().size(), 4u);
    EXPECT_TRUE(ui.journal().empty());
}

}  // namespace
}  // namespace petty
