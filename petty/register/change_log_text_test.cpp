#include "petty/register/change_log_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace petty {
namespace {

VoucherSnapshot cashOut100() {
    return {vb::Currency(), vb::Currency::fromWhole(100), vb::Currency(), "Asha", "Reimbursed from pettycash"};
}

VoucherEntryTexts unchangedEntry() { return {"", "100", "", "Asha", "Reimbursed from pettycash"}; }

struct Case {
    std::string name;
    VoucherEntryTexts now;
    std::string logged;
};

TEST(ChangeLogText, RecordsTheLastAmountChangedAndAppendsEmployeeAndType) {
    const std::vector<Case> cases = {
        {"nothing changed", unchangedEntry(), ""},
        {"same amount with decimals", {"", "100.00", "", "Asha", "Reimbursed from pettycash"}, ""},
        {"cash out changed", {"", "150", "", "Asha", "Reimbursed from pettycash"}, "Credit changed from 100 to 150"},
        {"cash out typed with decimals", {"", "150.50", "", "Asha", "Reimbursed from pettycash"},
         "Credit changed from 100 to 150.50"},
        {"cash out emptied", {"", "", "", "Asha", "Reimbursed from pettycash"}, "Credit changed from 100 to "},
        {"cash in and cash out changed: the cash-out change replaces the other",
         {"20", "150", "", "Asha", "Reimbursed from pettycash"}, "Credit changed from 100 to 150"},
        {"cash in only", {"20", "100", "", "Asha", "Reimbursed from pettycash"}, "Debit changed from 0 to 20"},
        {"spent from advance last", {"", "150", "30", "Asha", "Reimbursed from pettycash"},
         "Expense changed from 0 to 30"},
        {"amount and employee", {"", "150", "", "Ben", "Reimbursed from pettycash"},
         "Credit changed from 100 to 150 Asha -> Ben"},
        {"employee only", {"", "100", "", "Ben", "Reimbursed from pettycash"}, " Asha -> Ben"},
        {"employee and type",
         {"", "100", "", "Ben", "Cash transfer to PC"},
         " Asha -> Ben Reimbursed from pettycash -> Cash transfer to PC"},
        {"employee in other letter case", {"", "100", "", "asha", "Reimbursed from pettycash"}, " Asha -> asha"},
    };
    for (const Case& c : cases) EXPECT_EQ(changeLogText(cashOut100(), c.now), c.logged) << c.name;
}

TEST(ChangeLogText, OldAmountsAreWrittenPlainly) {
    VoucherSnapshot before = cashOut100();
    before.credit = vb::Currency::fromUnits(1234500);  // 123.45
    EXPECT_EQ(changeLogText(before, {"", "-5", "", "Asha", "Reimbursed from pettycash"}),
              "Credit changed from 123.45 to -5");
}

}  // namespace
}  // namespace petty
