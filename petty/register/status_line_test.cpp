#include "petty/register/status_line.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "petty/register/period_test_support.h"
#include "platform/vb/locale.h"

namespace petty {
namespace {

using testing::Voucher;

vb::Currency cash(const char* text) { return *vb::Currency::fromDecimalText(text); }

TEST(BalanceStatusCaption, FourOrFiveFiguresInTheirPlainText) {
    struct Case {
        BalanceFigures figures;
        const char* caption;
    };
    const Case cases[] = {
        {{cash("5000"), cash("1234.5"), std::nullopt, cash("3765.5")},
         "Pettycash ( Cash fill: 5000    Total expenses: 1234.5    Cash-in-hand: 3765.5 )"},
        {{cash("0"), cash("0.0001"), cash("700"), cash("-40.25")},
         "Pettycash ( Cash fill: 0    Total expenses: 0.0001    Amount not settled: 700    Cash-in-hand: -40.25 )"},
    };
    for (const Case& c : cases) EXPECT_EQ(balanceStatusCaption(c.figures), c.caption);
}

class StatusLineTest : public testing::RegisterBookTest {
protected:
    StatusLineTest() {
        insert({.transType = "Cash transfer to PC", .debit = money("5000")});
        insert({.transType = "Reimbursed from pettycash", .credit = money("1234.5")});
        insert({.transType = "Advance issued", .credit = money("1000"), .matchRequired = "Yes"});
        insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("300"), .matchRequired = "Yes"});
    }
    forms::Form window{"frmpettycash"};
    forms::Label Label2{window, "Label2"};
};

TEST_F(StatusLineTest, WithoutAdvancesFourFiguresAndTheToolTipKept) {
    Label2.setToolTip("kept");
    showBalanceStatus(Label2, db, true);
    EXPECT_EQ(Label2.caption(), "Pettycash ( Cash fill: 5000    Total expenses: 1534.5    Cash-in-hand: 2765.5 )");
    EXPECT_EQ(Label2.toolTip(), "kept");
}

TEST_F(StatusLineTest, WithAdvancesTheAmountNotSettledAndTheCountInTheToolTip) {
    showBalanceStatus(Label2, db, false);
    EXPECT_EQ(Label2.caption(),
              "Pettycash ( Cash fill: 5000    Total expenses: 1534.5    Amount not settled: 700    "
              "Cash-in-hand: 2765.5 )");
    EXPECT_EQ(Label2.toolTip(), "Unsettled transactions : 2");
}

TEST_F(StatusLineTest, FiguresThatCannotBeReadSaySoWithoutFailingNeverAPlausibleZero) {
    Label2.setToolTip("kept");
    db.execute("DROP TABLE pettycash");
    EXPECT_NO_THROW(showBalanceStatus(Label2, db, false));
    EXPECT_EQ(Label2.caption(),
              "Pettycash ( Cash fill: cannot be read    Total expenses: cannot be read    Amount not settled: cannot "
              "be read    Cash-in-hand: cannot be read )");
    EXPECT_EQ(Label2.toolTip(), "kept");
}

}  // namespace
}  // namespace petty
