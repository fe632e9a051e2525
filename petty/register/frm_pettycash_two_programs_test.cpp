// Two programs writing one book (the folder lock keeps a second program out;
// these are the cases it could not stop, or a copy that ran before the lock):
// a row changed elsewhere since the register read it is not overwritten, and
// a voucher started in a period that was closed meanwhile is not stored.
#include <gtest/gtest.h>

#include <string>

#include "petty/register/book_invariants_test_support.h"
#include "petty/register/period_close.h"
#include "petty/register/period_ids.h"
#include "petty/register/register_save_test_support.h"
#include "platform/jet/testing/own_connection.h"

namespace petty {
namespace {

namespace user = forms::user;

class TwoProgramsTest : public testing::RegisterSaveTest {
protected:
    // The other program's own connection to the same book file.
    jet::Database otherProgram() {
        const jet::testing::OwnConnection anotherProgram;
        return openBook(bookPath(folder.path()));
    }
};

TEST_F(TwoProgramsTest, AnEditOfARowAnotherProgramChangedMeanwhileIsRefusedAndTheRowReadAgain) {
    fund("5000");
    testing::Voucher v;
    v.credit = money("100");
    const int64_t id = insert(v);
    for (const auto& [column, value] : {std::pair<const char*, jet::Value>{"Employee", "Asha"},
                                        {"Head", "Travel"},
                                        {"Narration", "taxi"},
                                        {"Enteredby", testing::kUser}})
        setColumn(id, column, value);
    appState().superUserLogin = true;
    appState().currentUserName = testing::kApprovalUser;
    frmpettycash& w = shownRegister();
    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    ASSERT_TRUE(user::editText(w.Textpcash[kCreditBox], "120"));

    otherProgram().execute("UPDATE pettycash SET Credit = 150 WHERE VoucherID = ?", {id});
    ui.expectMessage(
        "Error 3197 - The database engine stopped the process because you and another user are attempting to change "
        "the same data at the same time.\r\nThe voucher is shown as it is stored now; make your change again.");
    ASSERT_TRUE(user::click(w.cmdupdate));

    EXPECT_EQ(stored(id, "Credit").asCurrency(), vb::Currency::fromWhole(150)) << "the other program's change stays";
    EXPECT_EQ(count("SELECT count(*) FROM changelog"), 0) << "no log row of a change that was not made";
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "150") << "the row is read again";
    EXPECT_FALSE(w.Textpcash[kCreditBox].dataChanged());
    EXPECT_NO_THROW(ui.verifyDone());
}

TEST_F(TwoProgramsTest, AVoucherStartedInAPeriodClosedMeanwhileIsNotStoredAndStaysPending) {
    fund("5000");
    frmpettycash& w = shownRegister();
    enter(w, Entry().cashOut("100"));
    const std::string started = w.Textpcash[kTermIdBox].text();
    ASSERT_FALSE(started.empty());

    {
        jet::Database other = otherProgram();
        closePeriod(other, std::stoll(started), vb::Currency::fromWhole(5000), "Boss");
    }
    const PeriodId running = getOpenPeriodId(db);
    ui.expectMessage("Pettycash period ID " + started + " has been closed meanwhile! The running period is now " +
                     std::to_string(running) + ". This voucher is not saved: cancel it and add it again.");
    ASSERT_TRUE(user::click(w.cmdupdate));

    EXPECT_EQ(testing::openPeriodFault(db), "");
    EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE Credit = 100"), 0);
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "100") << "the user's entry is kept";
    EXPECT_NO_THROW(ui.verifyDone());
}

}  // namespace
}  // namespace petty
