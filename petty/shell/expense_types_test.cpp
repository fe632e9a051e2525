#include "petty/shell/expense_types.h"

#include <gtest/gtest.h>

#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

class ExpenseHeadsTest : public testing::BookWindowFormTest<frmExpensetypes> {
protected:
    ExpenseHeadsTest() { fillTable("Expense types", "Expense type", {"Fuel", "Postage"}); }
    std::vector<std::string> heads() {
        return texts("select [Expense type] from [Expense types] order by [Expense type]");
    }
};

TEST_F(ExpenseHeadsTest, TheHeadIsStoredAsTyped) {
    window.show();
    EXPECT_EQ(window.Label3.caption(), "Fuel");
    forms::user::click(window.cmdadd);
    forms::user::typeText(window.txtFields[0], " Travel ");
    forms::user::typeText(window.txtFields[1], "Staff");
    forms::user::click(window.cmdupdate);
    EXPECT_EQ(heads(), (std::vector<std::string>{" Travel ", "Fuel", "Postage"}));
    EXPECT_EQ(texts("select [Group] from [Expense types] where [Expense type] = ' Travel '"),
              std::vector<std::string>{"Staff"});
    EXPECT_EQ(window.Label3.caption(), " Travel ");
}

TEST_F(ExpenseHeadsTest, AddStartsANewRowWhateverIsPending) {
    window.show();
    forms::user::typeText(window.txtFields[1], "Vehicles");  // an edit of the current row, written on the way
    forms::user::click(window.cmdadd);
    EXPECT_EQ(window.rowState(), MasterDataForm::RowState::Adding);
    EXPECT_TRUE(window.txtFields[0].hasFocus());
    EXPECT_TRUE(ui.journal().empty());
    EXPECT_EQ(texts("select [Group] from [Expense types] where [Expense type] = 'Fuel'"),
              std::vector<std::string>{"Vehicles"});
}

TEST_F(ExpenseHeadsTest, TheDataControlsArrowsStopAtTheEnds) {
    window.show();
    forms::user::clickDataArrow(window.datPrimaryRS, forms::DataControl::Arrow::Previous);
    EXPECT_EQ(window.txtFields[0].text(), "Fuel");
    forms::user::clickDataArrow(window.datPrimaryRS, forms::DataControl::Arrow::Next);
    forms::user::clickDataArrow(window.datPrimaryRS, forms::DataControl::Arrow::Next);
    EXPECT_EQ(window.txtFields[0].text(), "Postage");
    EXPECT_EQ(window.datPrimaryRS.caption(), "Record: 2");
}

}  // namespace
}  // namespace petty
