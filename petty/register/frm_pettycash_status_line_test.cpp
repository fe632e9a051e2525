// The register's status line as the user sees it: refreshed after the save
// has re-tallied the advance, and on a double-click.
#include <gtest/gtest.h>

#include <string>

#include "petty/register/register_save_test_support.h"
#include "petty/register/status_line.h"

namespace petty {
namespace {

namespace user = forms::user;

class StatusLineOfTheRegisterTest : public testing::RegisterSaveTest {
protected:
    // What the status line shows when drawn afresh from the book.
    std::string freshCaption() {
        forms::Form other{"other"};
        forms::Label label{other, "Label2"};
        showBalanceStatus(label, db, false);
        return label.caption();
    }
};

TEST_F(StatusLineOfTheRegisterTest, AnEditThatUntalliesAnAdvanceShowsTheNewAmountNotSettled) {
    fund("5000");
    const int64_t a = advanceToAsha("1000", "Yes");
    expenseAgainst(a, "1000", "Yes");
    appState().superUserLogin = true;
    appState().currentUserName = testing::kApprovalUser;
    frmpettycash& w = shownRegister();
    const std::string before = w.Label2.caption();
    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    ASSERT_TRUE(user::editText(w.Textpcash[kExpenseFromAdvanceBox], "800"));
    const std::string number = std::to_string(a);
    ui.expectMessage("Advance Voucher No: " + number +
                     "    Amount given : 1000  Expense declared/Amount received : 800   Balance still to be settled by "
                     "Asha : 200");
    ui.expectMessage("Some of the pettycash record(s) matched against " + number +
                     "is/are marked as settled ! They will be marked as unsettled!");
    ASSERT_TRUE(user::click(w.cmdupdate));

    EXPECT_EQ(stored(a, "Matched").asText(), "No");
    EXPECT_EQ(w.Label2.caption(), freshCaption());
    EXPECT_NE(w.Label2.caption(), before);
    EXPECT_NO_THROW(ui.verifyDone());
}

TEST_F(StatusLineOfTheRegisterTest, ADoubleClickShowsTheBookAsItIsNow) {
    fund("5000");
    frmpettycash& w = shownRegister();
    db.execute("UPDATE pettycash SET Debit = 7000");  // written elsewhere meanwhile
    ASSERT_NE(w.Label2.caption(), freshCaption());
    ASSERT_TRUE(user::doubleClick(w.Label2));
    EXPECT_EQ(w.Label2.caption(), freshCaption());
    EXPECT_NE(w.Label2.caption().find("Cash fill: 7000"), std::string::npos) << w.Label2.caption();
}

}  // namespace
}  // namespace petty
