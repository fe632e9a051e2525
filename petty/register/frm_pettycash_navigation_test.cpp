#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/register_rows_test_support.h"

namespace petty {
namespace {

namespace user = forms::user;

constexpr const char* kNotUpdated = "Record is not updated. You cannot move to the another record!";

class NavigationTest : public testing::RegisterRowsTest {
protected:
    // Three vouchers of the open period; the register shows the last one, in the detail view.
    frmpettycash& threeRows() {
        for (const char* amount : {"10", "20", "30"}) add({.credit = money(amount)});
        frmpettycash& w = shown();
        w.SSTab2.setTab(1);
        ui.clearJournal();
        return w;
    }
    static std::string current(frmpettycash& w) { return w.Textpcash[kVoucherIdBox].text(); }
    static std::string arrows(const frmpettycash& w) {
        return std::string(w.Moove[0].enabled() ? "prev+" : "prev-") + (w.Moove[1].enabled() ? " next+" : " next-");
    }
};

TEST_F(NavigationTest, PreviousAndNextWalkTheRowsAndStopAtTheEnds) {
    frmpettycash& w = threeRows();
    EXPECT_EQ(current(w), "3");
    EXPECT_EQ(arrows(w), "prev+ next-");
    EXPECT_EQ(w.LabelRecCount[1].caption(), "Petty cash record: 3 of 3  Period ID: 2026-March-02 09:00");

    ASSERT_TRUE(user::click(w.Moove[0]));
    EXPECT_EQ(current(w), "2");
    EXPECT_EQ(arrows(w), "prev+ next+");
    ASSERT_TRUE(user::click(w.Moove[0]));
    EXPECT_EQ(current(w), "1");
    EXPECT_EQ(arrows(w), "prev- next+");
    EXPECT_EQ(w.LabelRecCount[1].caption(), "Petty cash record: 1 of 3  Period ID: 2026-March-02 09:00");

    // Past either end the move comes back to the row at that end.
    w.Moove_Click(0);
    EXPECT_EQ(current(w), "1");
    ASSERT_TRUE(user::click(w.Moove[1]));
    ASSERT_TRUE(user::click(w.Moove[1]));
    EXPECT_EQ(current(w), "3");
    w.Moove_Click(1);
    EXPECT_EQ(current(w), "3");
    EXPECT_EQ(arrows(w), "prev+ next-");
    EXPECT_EQ(w.LabelRecCount[1].caption(), "Petty cash record: 3 of 3  Period ID: 2026-March-02 09:00");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(NavigationTest, ASingleRowOrNoneOffersNeitherArrow) {
    add({.credit = money("10")});
    frmpettycash& w = shown();
    EXPECT_EQ(arrows(w), "prev- next-");
    w.datPrimaryRS.setRecordSource("select * from pettycash where VoucherID = 0");
    w.datPrimaryRS.refresh();
    EXPECT_EQ(arrows(w), "prev- next-");
    w.Moove_Click(1);  // nothing to move: no message, no error
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(NavigationTest, ANewRowCannotBeLeftByTheArrows) {
    frmpettycash& w = threeRows();
    ASSERT_TRUE(user::click(w.cmdadd));
    ui.clearJournal();
    ui.expectMessage("Record is not fully updated. You cannot move to the another record!");
    ASSERT_TRUE(user::click(w.Moove[0]));
    EXPECT_EQ(ui.journalLines(),
              std::vector<std::string>{"msgbox: Record is not fully updated. You cannot move to the another record!"});
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
}

TEST_F(NavigationTest, AChangedRowIsNotLeftByArrowsOrAGridClick) {
    frmpettycash& w = threeRows();
    w.Textpcash[kNarrationBox].setText("typed, not saved");
    ui.expectMessage(kNotUpdated);
    ASSERT_TRUE(user::click(w.Moove[0]));
    EXPECT_EQ(current(w), "3");
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kNotUpdated}));

    w.SSTab2.setTab(0);
    ui.expectMessage(kNotUpdated);
    ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 0));
    EXPECT_EQ(current(w), "3");
    EXPECT_EQ(w.Textpcash[kNarrationBox].text(), "typed, not saved");
}

TEST_F(NavigationTest, ARowOpenForChangeIsNotLeft) {
    frmpettycash& w = threeRows();
    w.datPrimaryRS.recordset().edit();
    ui.expectMessage(kNotUpdated);
    ASSERT_TRUE(user::click(w.Moove[0]));
    EXPECT_EQ(current(w), "3");
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Edit);
    w.datPrimaryRS.recordset().cancelUpdate();
}

TEST_F(NavigationTest, MovingToTheFirstOrLastRowIsNotTested) {
    frmpettycash& w = threeRows();
    w.Textpcash[kNarrationBox].setText("typed");
    w.datPrimaryRS.recordset().moveFirst();
    EXPECT_EQ(current(w), "1");
    w.Textpcash[kNarrationBox].setText("typed");
    w.datPrimaryRS.recordset().moveLast();
    EXPECT_EQ(current(w), "3");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(NavigationTest, ViewButtonsAndTheGridDoubleClickSwitchTabsAndFocus) {
    frmpettycash& w = threeRows();
    w.SSTab2.setTab(0);
    ASSERT_TRUE(user::click(w.detailview));
    EXPECT_EQ(w.SSTab2.tab(), 1);
    EXPECT_TRUE(w.gridview.hasFocus());
    ASSERT_TRUE(user::click(w.gridview));
    EXPECT_EQ(w.SSTab2.tab(), 0);
    EXPECT_TRUE(w.detailview.hasFocus());
    ASSERT_TRUE(user::doubleClickGridRow(w.TDBGrid1, 1));
    EXPECT_EQ(w.SSTab2.tab(), 1);
    EXPECT_TRUE(w.gridview.hasFocus());
    EXPECT_EQ(current(w), "2");
}

TEST_F(NavigationTest, TheGridViewButtonWorksWhileThePeriodCloseTabHidesTheDetailButton) {
    frmpettycash& w = threeRows();
    w.SSTab1.setTab(1);
    ASSERT_TRUE(user::click(w.gridview));
    EXPECT_EQ(w.SSTab2.tab(), 0);
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(NavigationTest, ExpandTradesTheSettlementGridAndTwiceRestoresIt) {
    frmpettycash& w = threeRows();
    const int registerHeight = w.TDBGrid1.height();
    const int settlementHeight = w.TDBGrid2.height();
    EXPECT_EQ(w.registerGridHeight, registerHeight);
    EXPECT_EQ(w.settlementGridHeight, settlementHeight);
    w.SSTab2.setTab(0);

    ASSERT_TRUE(user::click(w.MyButtonExpand));
    EXPECT_TRUE(w.settlementGridExpanded);
    EXPECT_EQ(w.TDBGrid1.height(), registerHeight + settlementHeight);
    EXPECT_FALSE(w.TDBGrid2.visible());
    ASSERT_TRUE(user::click(w.MyButtonExpand));
    EXPECT_FALSE(w.settlementGridExpanded);
    EXPECT_EQ(w.TDBGrid1.height(), registerHeight);
    EXPECT_TRUE(w.TDBGrid2.visible());
}

TEST_F(NavigationTest, AnActivationWhileExpandedKeepsTheHeightToRestore) {
    frmpettycash& w = threeRows();
    const int registerHeight = w.TDBGrid1.height();
    w.SSTab2.setTab(0);
    ASSERT_TRUE(user::click(w.MyButtonExpand));
    forms::Form other("other");
    other.show();
    ASSERT_TRUE(user::activateForm(w));
    ASSERT_TRUE(user::click(w.MyButtonExpand));
    EXPECT_EQ(w.TDBGrid1.height(), registerHeight);
    EXPECT_TRUE(w.TDBGrid2.visible());
    other.unload();
}

}  // namespace
}  // namespace petty
