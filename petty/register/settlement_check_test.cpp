#include "petty/register/settlement_check.h"

#include <gtest/gtest.h>

#include "petty/shell/advance_test_support.h"

namespace petty {
namespace {

using testing::amount;

struct CheckCase {
    const char* name;
    const char* type;
    const char* cashIn;
    const char* cashOut;
    const char* settledBefore;  // against an advance of 1000
    bool accepted;
    std::string message;
};

TEST(SettlementCheck, CashIsHeldAgainstWhatIsOpenOnTheAdvanceAndExpensesAreNot) {
    const CheckCase cases[] = {
        {"an expense above the open amount", kSpentFromAdvance, "", "", "900", true, ""},
        {"cash back of all that is open", kCashReceivedForSettlement, "300", "", "700", true, ""},
        {"cash back of part of it", kCashReceivedForSettlement, "200", "", "700", true, ""},
        {"cash back above the open amount", kCashReceivedForSettlement, "400", "", "700", false,
         "Advance is 1000 Total balance = 300 !  You are taking more cash (400) than Asha owes! Please give cash to "
         "Asha if you want to settle balance!\""},
        {"cash given of all the fund owes", kCashGivenForSettlement, "", "200", "1200", true, ""},
        {"cash given short of what the fund owes", kCashGivenForSettlement, "", "150", "1200", true,
         "Note: Advance is 1000. Total balance is -200.  You are giving him 150  for settlement. You need to still "
         "give 50 to Asha."},
        {"cash given above what the fund owes", kCashGivenForSettlement, "", "300", "1200", false,
         "Advance is 1000. Total balance is -200.  You are giving him 300  for settlement. You are overpaying 100 to "
         "Asha! Please take back 100 from Asha if you want to settle balance!"},
        {"cash given while the employee still holds some", kCashGivenForSettlement, "", "0.5", "999.75", false,
         "Advance is 1000. Total balance is 0.25.  You are giving him 0.5  for settlement. You are overpaying 0.75 to "
         "Asha! Please take back 0.75 from Asha if you want to settle balance!"},
        {"another type", "Reimbursed from pettycash", "", "5000", "0", true, ""},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SettlementVoucher voucher{c.type, amount(*c.cashIn ? c.cashIn : "0"), c.cashIn,
                                        amount(*c.cashOut ? c.cashOut : "0"), c.cashOut, "Asha"};
        const SettlementVerdict verdict = checkSettlement(voucher, amount("1000"), amount(c.settledBefore));
        EXPECT_EQ(verdict.accepted, c.accepted);
        EXPECT_EQ(verdict.message, c.message);
    }
}

TEST(SettlementCheck, TheAccountOfTheAdvanceGivesWhatWasSettledBefore) {
    EXPECT_EQ(advanceAccountText(17, amount("1000"), amount("1200.5")),
              "(vouch. no 17) Advance : 1000   total settled before this : 1200.5   balance before this: -200.5");
}

}  // namespace
}  // namespace petty
