// An advance's whole life in the register, as the user works it: the advance
// is given, an expense is declared against it through the advance picker,
// cash brought back beyond what is open is refused, the right amount settles
// the advance, and the advance with all its rows is marked settled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/register_save_test_support.h"
#include "petty/shell/frm_select_voucher.h"

namespace petty {
namespace {

namespace user = forms::user;

class AdvanceCycleTest : public testing::RegisterSaveTest {
protected:
    // The match button, with the advance picked in the picker.
    void matchWith(frmpettycash& w, int64_t advance) {
        host.expectModal<frmselectvoucher>("frmselectvoucher", [advance](frmselectvoucher& f) {
            for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
                if (f.DBGrid1.cellText(row, 0) == std::to_string(advance)) user::doubleClickGridRow(f.DBGrid1, row);
        });
        ASSERT_TRUE(user::click(w.ButtonMatchwith));
    }

    // The settled flags of the advance and the rows matched against it.
    std::vector<std::string> settledFlags(int64_t advance) {
        std::vector<std::string> flags;
        for (jet::Recordset r = db.openRecordset(
                 "SELECT Matched FROM pettycash WHERE VoucherID = ? OR Matchwith = ? ORDER BY VoucherID",
                 {jet::Value(advance), jet::Value(advance)});
             !r.eof(); r.moveNext())
            flags.push_back(r.field("Matched").asText());
        return flags;
    }
};

TEST_F(AdvanceCycleTest, AnAdvanceIsGivenSpentPartlyReturnedAndSettled) {
    fund("5000");
    frmpettycash& w = shownRegister();

    enter(w, Entry().ofType("Advance Issued from PC").cashOut("1000").narrated("trip to the coast"));
    ASSERT_TRUE(user::click(w.cmdupdate));
    const int64_t advance = lastVoucherId();
    const std::string a = std::to_string(advance);
    EXPECT_EQ(stored(advance, "Matchrequired").asText(), "Yes");
    EXPECT_EQ(stored(advance, "Matched").asText(), "No");

    // The expense of 700 is declared against the advance picked in the picker.
    enter(w, Entry().ofType("Spent from Advance issued").spent("700").narrated("hotel"));
    matchWith(w, advance);
    EXPECT_EQ(w.Textpcash[kMatchwithBox].text(), a);
    ui.expectMessage("Advance Voucher No: " + a +
                     "    Amount given : 1000  Expense declared/Amount received : 700   Balance still to be settled by "
                     "Asha : 300");
    ASSERT_TRUE(user::click(w.cmdupdate));
    const int64_t expense = lastVoucherId();
    EXPECT_EQ(stored(expense, "Matchwith").asLong(), advance);

    // Cash brought back: 400 is more than the 300 Asha still holds.
    const std::string tooMuch = "Advance is 1000 Total balance = 300 !  You are taking more cash (400) than Asha owes! "
                                "Please give cash to Asha if you want to settle balance!\"";
    enter(w, Entry().ofType("Cash received for settlement").cashIn("400").narrated("cash back"));
    ui.expectMessage(tooMuch);
    matchWith(w, advance);
    EXPECT_EQ(w.Textpcash[kMatchwithBox].text(), "");

    ASSERT_TRUE(user::editText(w.Textpcash[kDebitBox], "300"));
    matchWith(w, advance);
    EXPECT_EQ(w.Textpcash[kMatchwithBox].text(), a);
    // The save holds the amount against the advance again.
    ASSERT_TRUE(user::editText(w.Textpcash[kDebitBox], "400"));
    ui.expectMessage(tooMuch);
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 3);

    ASSERT_TRUE(user::editText(w.Textpcash[kDebitBox], "300"));
    ui.clearJournal();
    ui.expectMessage("Advance Voucher No: " + a +
                     "    Amount given : 1000  Expense declared/Amount received : 1000   Balance to be settled: 0 (Asha "
                     "has settled the advance voucher fully).");
    ui.expectMessage("Advance issued is 1000 (voucher No: " + a +
                     ") Total settlements matched against this advance is =1000. Credits and debits tally and will be "
                     "marked as settled.");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(ui.messages().size(), 2u);

    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 4);
    EXPECT_EQ(settledFlags(advance), (std::vector<std::string>{"Yes", "Yes", "Yes"}));
    EXPECT_EQ(stored(lastVoucherId(), "Debit").asCurrency(), vb::Currency::fromWhole(300));
    EXPECT_TRUE(appState().registerSaved);
    EXPECT_EQ(w.Label2.caption(),
              "Pettycash ( Cash fill: 5000    Total expenses: 700    Amount not settled: 0    Cash-in-hand: 4300 )");
}

}  // namespace
}  // namespace petty
