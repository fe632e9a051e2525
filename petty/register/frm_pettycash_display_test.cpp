#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "petty/register/frm_pettycash.h"
#include "petty/register/register_rows_test_support.h"

namespace petty {
namespace {

namespace user = forms::user;
using testing::kClosedTerm;
using testing::RegisterRow;

constexpr const char* kZeroAmountsTip =
    "Information: You are allowed to delete this voucher since the amount columns are zero";

std::string onOff(const forms::Control& c) { return c.enabled() ? "+" : "-"; }

// The voucher buttons and frames in one line: "+" enabled, "-" disabled.
std::string buttons(const frmpettycash& w) {
    return "add" + onOff(w.cmdadd) + " edit" + onOff(w.cmdEdit) + (w.cmdEdit.visible() ? "" : "(hidden)") + " save" +
           onOff(w.cmdupdate) + " delete" + onOff(w.cmddelete) + " scan" + onOff(w.cmdScanDoc) + " view" +
           onOff(w.cmdViewBill) + " print" + onOff(w.Printvoucher[0]) + onOff(w.Printvoucher[1]) + " frames" +
           onOff(w.Frame1) + onOff(w.Frame2) + onOff(w.Frame3) + onOff(w.Frame4);
}

class RecordDisplayTest : public testing::RegisterRowsTest {
protected:
    // 1 and 2 of the open period (2 an advance with a scanned bill), 3 and 4 of
    // a closed one (4 without amounts).
    void addFourRows() {
        add({.credit = money("50")});
        add({.type = "Advance Issued from PC", .credit = money("1000"), .matchRequired = "Yes",
             .document = "V2_0900.tif"});
        add({.date = "2026-02-01", .credit = money("30"), .closed = "Yes", .termId = kClosedTerm});
        add({.date = "2026-02-01", .credit = money("0"), .closed = "Yes", .termId = kClosedTerm});
    }
};

enum class Target { Row1, Row2, Row3, Row4, NewRow, NoRows };

struct StateCase {
    const char* name;
    bool approvalUser;
    Target target;
    std::string buttons;
    std::string counter;
    std::string voucherLabel;
    std::string entryCaption;
    std::string employeeCaption;                // "" where the type rules decide it
    std::optional<std::string> deleteCaption;   // where the display sets it
};

TEST_F(RecordDisplayTest, EachRowStateAndRoleSetsButtonsFramesAndCaptions) {
    addFourRows();
    const std::string row1 = "Petty cash record: 1 of 4  Period ID: 2026-March-02 09:00";
    const std::string row3 = "Petty cash record: 3 of 4  Period ID: 2026-February-01 08:00";
    const std::string row4 = "Petty cash record: 4 of 4  Period ID: 2026-February-01 08:00";
    const std::string newRow = "New pettycash transaction";
    const std::vector<StateCase> cases = {
        {"open row, normal user", false, Target::Row1,
         "add+ edit+(hidden) save- delete- scan+ view- print++ frames--+-", row1, "Voucher: 1",
         "Voucher details of voucher no: 1", "", std::nullopt},
        {"open row, approval user", true, Target::Row1, "add- edit+ save- delete- scan+ view- print++ frames--++",
         row1, "Voucher: 1", "Voucher details of voucher no: 1", "", std::nullopt},
        {"open row with a scanned bill, normal user", false, Target::Row2,
         "add+ edit+(hidden) save- delete- scan- view+ print++ frames--+-",
         "Petty cash record: 2 of 4  Period ID: 2026-March-02 09:00", "Voucher: 2",
         "Voucher details of voucher no: 2", "", std::nullopt},
        {"open row with a scanned bill, approval user", true, Target::Row2,
         "add- edit+ save- delete- scan+ view+ print++ frames--++",
         "Petty cash record: 2 of 4  Period ID: 2026-March-02 09:00", "Voucher: 2",
         "Voucher details of voucher no: 2", "", std::nullopt},
        {"closed row, normal user", false, Target::Row3,
         "add+ edit-(hidden) save- delete- scan- view- print-- frames----", row3, "Voucher: 3",
         "Voucher details of voucher no: 3", "", "Delete voucher"},
        {"closed row, approval user", true, Target::Row3, "add- edit- save- delete- scan- view- print-- frames---+",
         row3, "Voucher: 3", "Voucher details of voucher no: 3", "", "Delete voucher"},
        {"closed row without amounts, normal user", false, Target::Row4,
         "add+ edit-(hidden) save- delete+ scan- view- print-- frames----", row4, "Voucher: 4",
         "Voucher details of voucher no: 4", "", "Delete voucher"},
        {"closed row without amounts, approval user", true, Target::Row4,
         "add- edit- save- delete+ scan- view- print-- frames---+", row4, "Voucher: 4",
         "Voucher details of voucher no: 4", "", "Delete voucher"},
        {"new row, normal user", false, Target::NewRow,
         "add- edit-(hidden) save+ delete+ scan+ view- print-- frames++++", newRow, "New voucher", "Voucher details",
         "employee/receiver", "Cancel voucher"},
        {"new row, approval user", true, Target::NewRow, "add- edit- save+ delete+ scan+ view- print-- frames++++",
         newRow, "New voucher", "Voucher details", "employee/receiver", "Cancel voucher"},
        {"no rows, normal user", false, Target::NoRows,
         "add+ edit-(hidden) save- delete- scan- view- print-- frames----", newRow, "", "Voucher details",
         "Employee/receiver", std::nullopt},
        // The approval user's add button keeps the state it had.
        {"no rows, approval user", true, Target::NoRows, "add- edit- save- delete- scan- view- print-- frames---+",
         newRow, "", "Voucher details", "Employee/receiver", std::nullopt},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        appState().superUserLogin = c.approvalUser;
        frmpettycash w;
        w.show();
        showAllRows(w);
        ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 1));  // every case comes from the advance's display
        switch (c.target) {
            case Target::Row1: ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 0)); break;
            case Target::Row2: ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 1)); break;
            case Target::Row3: ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 2)); break;
            case Target::Row4: ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 3)); break;
            case Target::NewRow: w.datPrimaryRS.recordset().addNew(); break;
            case Target::NoRows:
                w.datPrimaryRS.setRecordSource("select * from pettycash where VoucherID = 0");
                w.datPrimaryRS.refresh();
                break;
        }
        EXPECT_EQ(buttons(w), c.buttons);
        EXPECT_EQ(w.LabelRecCount[0].caption(), c.counter);
        EXPECT_EQ(w.LabelRecCount[1].caption(), c.counter);
        EXPECT_EQ(w.TDBGrid1.caption(), c.counter);
        EXPECT_EQ(w.LabelVoucherno.caption(), c.voucherLabel);
        EXPECT_EQ(w.Frame1.caption(), c.entryCaption);
        if (!c.employeeCaption.empty()) { EXPECT_EQ(w.Label1[12].caption(), c.employeeCaption); }
        if (c.deleteCaption) { EXPECT_EQ(w.cmddelete.caption(), *c.deleteCaption); }
        EXPECT_TRUE(w.cmddelete.visible());
        if (c.target == Target::Row4) { EXPECT_EQ(w.cmddelete.toolTip(), kZeroAmountsTip); }
        if (c.target == Target::NewRow) {
            EXPECT_EQ(w.cmddelete.toolTip(), "Cancel the new voucher currently being entered");
            w.datPrimaryRS.recordset().cancelUpdate();
        }
    }
}

struct DeleteCase {
    const char* name;
    RegisterRow row;
    bool offered;
    const char* toolTip;
};

TEST_F(RecordDisplayTest, DeleteIsOfferedOnlyWhereNothingDependsOnTheRow) {
    const std::vector<DeleteCase> cases = {
        {"empty amounts", {}, true, kZeroAmountsTip},
        {"amounts written as zero", {.debit = money("0"), .credit = money("0"), .spent = money("0")}, true,
         kZeroAmountsTip},
        {"a reimbursement", {.credit = money("12.5")}, false, ""},
        {"a settlement naming no advance", {.type = "Spent from Advance issued", .spent = money("20")}, true,
         "Information: You are allowed to delete this voucher since the voucher No is not entered for settlement!"},
        {"a settlement naming its advance",
         {.type = "Spent from Advance issued", .spent = money("20"), .matchwith = 7},
         false, ""},
        {"cash given for settlement naming no advance", {.type = "Cash given for settlement", .credit = money("5")},
         true,
         "Information: You are allowed to delete this voucher since the voucher No is not entered for settlement!"},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        openBook(bookPath(folder.path())).execute("DELETE FROM pettycash");
        add(c.row);
        frmpettycash w;
        w.cmddelete.setToolTip("");
        w.show();
        EXPECT_EQ(w.cmddelete.enabled(), c.offered);
        EXPECT_TRUE(w.cmddelete.visible());
        EXPECT_EQ(w.cmddelete.toolTip(), c.toolTip);
        if (c.offered) { EXPECT_EQ(w.cmddelete.caption(), "Delete voucher"); }
    }
}

struct MarkCase {
    const char* matchRequired;
    const char* matched;
    bool settledShown;
    bool notSettledShown;
    forms::Color colour;
};

TEST_F(RecordDisplayTest, SettlementMarksFollowTheExactFlags) {
    const std::vector<MarkCase> cases = {
        {"Yes", "No", false, true, forms::rgb(255, 128, 128)},
        {"Yes", "Yes", true, false, forms::rgb(128, 255, 128)},
        {"yes", "Yes", false, false, forms::vbButtonFace},  // letter case counts
        {"Yes", "NO", false, false, forms::vbButtonFace},
        {"No", "No", false, false, forms::vbButtonFace},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(std::string(c.matchRequired) + "/" + c.matched);
        openBook(bookPath(folder.path())).execute("DELETE FROM pettycash");
        add({.type = "Advance Issued from PC", .credit = money("10"), .matchRequired = c.matchRequired,
             .matched = c.matched});
        frmpettycash w;
        w.show();
        w.SSTab2.setTab(1);
        EXPECT_EQ(w.Image1[0].effectiveVisible(), c.settledShown);
        EXPECT_EQ(w.Image1[1].effectiveVisible(), c.notSettledShown);
        EXPECT_EQ(w.Textpcash[11].backColor(), c.colour);
    }
}

TEST_F(RecordDisplayTest, AnAdvanceShowsItsSettlementRowsAndSums) {
    const int64_t advance = add({.type = "Advance Issued from PC", .credit = money("1000"), .matchRequired = "Yes"});
    const int64_t spent = add({.employee = "Asha", .type = "Spent from Advance issued", .spent = money("300"),
                               .matchwith = advance, .matchRequired = "Yes"});
    const int64_t returned = add({.type = "Cash received for settlement", .debit = money("200.5"),
                                  .matchwith = advance, .matchRequired = "Yes"});
    const int64_t closedSettlement = add({.type = "Spent from Advance issued", .spent = money("80"),
                                          .matchwith = advance, .matchRequired = "Yes", .closed = "Yes"});
    const int64_t other = add({.credit = money("40")});
    frmpettycash& w = shown();
    showAllRows(w);

    ASSERT_EQ(w.Textpcash[8].text(), std::to_string(advance));
    // The closed settlement row is listed but does not count as settled.
    EXPECT_EQ(settlementRows(w), (std::vector<int64_t>{advance, spent, returned, closedSettlement}));
    EXPECT_EQ(w.TDBGrid2.caption(), "Pettycash records matched against voucher no: " + std::to_string(advance) +
                                        " as below (Advance: 1000   Settled: 500.5 Balance amount: 499.5)");
    EXPECT_EQ(w.Label9[2].caption(),
              "Asha   Advance Issued from PC (Settled: 500.5   Balance amount to be settled: 499.5)");

    ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 1));
    EXPECT_EQ(settlementRows(w), (std::vector<int64_t>{advance, spent, returned, closedSettlement}));
    EXPECT_EQ(w.TDBGrid2.caption(),
              "Voucher No " + std::to_string(spent) + " is settled against the Advance amount voucher as below");
    EXPECT_EQ(w.Label9[2].caption(), "Asha   Spent from Advance issued ");

    ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 4));
    ASSERT_EQ(w.Textpcash[8].text(), std::to_string(other));
    EXPECT_EQ(settlementRows(w), std::vector<int64_t>{});
    EXPECT_EQ(w.TDBGrid2.caption(), "No settlement required for this record!");

    w.datPrimaryRS.recordset().addNew();
    EXPECT_EQ(w.TDBGrid2.caption(), "Settlement records");
    EXPECT_EQ(w.Label9[2].caption(), "");
    w.datPrimaryRS.recordset().cancelUpdate();
}

TEST_F(RecordDisplayTest, AnAdvanceWithoutOpenSettlementsIsWhollyOutstanding) {
    const int64_t advance = add({.employee = "", .type = "Advance Issued from PC", .credit = money("250"),
                                 .matchRequired = "Yes"});
    add({.type = "Spent from Advance issued", .spent = money("80"), .matchwith = advance, .closed = "Yes"});
    frmpettycash& w = shown();
    showAllRows(w);
    EXPECT_EQ(w.TDBGrid2.caption(), "Pettycash records matched against voucher no: " + std::to_string(advance) +
                                        " as below (Advance: 250   Settled: 0 Balance amount: 250)");
    // Without an employee the leading blanks go.
    EXPECT_EQ(w.Label9[2].caption(), "Advance Issued from PC (Settled: 0   Balance amount to be settled: 250)");
}

TEST_F(RecordDisplayTest, WithoutAdvancesMarksAndSettlementGridAreLeftAlone) {
    appState().noAdvanceMode = true;
    const int64_t advance =
        add({.type = "Advance Issued from PC", .credit = money("100"), .matchRequired = "Yes", .matched = "Yes"});
    frmpettycash& w = shown();
    w.Image1[0].setVisible(false);
    w.TDBGrid2.setCaption("before");
    showAllRows(w);
    EXPECT_FALSE(w.Image1[0].visible());
    EXPECT_EQ(w.Textpcash[11].backColor(), forms::vbButtonFace);
    EXPECT_EQ(w.TDBGrid2.caption(), "before");
    EXPECT_EQ(w.Label9[2].caption(), "Asha   Advance Issued from PC ");
    EXPECT_EQ(w.Textpcash[8].text(), std::to_string(advance));
}

TEST_F(RecordDisplayTest, EveryMoveHidesTheBalanceFlagAndFreesTheTypeCombo) {
    add({.credit = money("5")});
    add({.credit = money("6")});
    frmpettycash& w = shown();
    w.FlagBalance.setVisible(true);
    w.LabelVoucherBalance.setVisible(true);
    w.Combopcashtype.setToolTip("a type's tip");
    w.Combopcashtype.setLocked(true);
    ASSERT_TRUE(user::selectGridRow(w.TDBGrid1, 0));
    EXPECT_FALSE(w.FlagBalance.visible());
    EXPECT_FALSE(w.LabelVoucherBalance.visible());
    EXPECT_EQ(w.Combopcashtype.toolTip(), "");
    EXPECT_FALSE(w.Combopcashtype.locked());
}

struct PeriodRowCase {
    const char* type;
    bool approvalUser;
    const char* document;
};

TEST_F(RecordDisplayTest, PeriodRowsNeverOfferTheScanButtonAndViewFollowsTheirBill) {
    const std::vector<PeriodRowCase> cases = {
        {"Carryover", false, ""},
        {"Carryover", true, ""},
        {"Carryover", false, "C1.tif"},
        {"Carryover", true, "C1.tif"},
        {"Pettycash in hand - tally count", true, ""},
        {"Pettycash in hand - tally count", false, "T1.tif"},
    };
    for (const PeriodRowCase& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.approvalUser ? ", approval user" : ", normal user") + ", bill '" +
                     c.document + "'");
        openBook(bookPath(folder.path())).execute("DELETE FROM pettycash");
        add({.type = c.type, .debit = money("75"),
             .document = *c.document ? jet::Value(c.document) : jet::Value()});
        appState().superUserLogin = c.approvalUser;
        frmpettycash w;
        w.show();
        EXPECT_FALSE(w.cmdScanDoc.enabled());
        EXPECT_EQ(w.cmdViewBill.enabled(), *c.document != '\0');
        EXPECT_EQ(w.Textpcash[3].text(), "75") << "the display empties nothing";
    }
}

TEST_F(RecordDisplayTest, WithoutACurrentRowNothingThatActsOnARowIsOffered) {
    for (bool approvalUser : {false, true}) {
        SCOPED_TRACE(approvalUser ? "approval user" : "normal user");
        openBook(bookPath(folder.path())).execute("DELETE FROM pettycash");
        add({.credit = money("5")});
        appState().superUserLogin = approvalUser;
        frmpettycash w;
        w.show();
        w.datPrimaryRS.recordset().moveNext();  // past the last row
        ASSERT_TRUE(w.datPrimaryRS.recordset().eof());
        EXPECT_EQ(buttons(w), approvalUser ? "add- edit- save- delete- scan- view- print-- frames--++"
                                           : "add+ edit-(hidden) save- delete- scan- view- print-- frames--+-");
        EXPECT_EQ(w.LabelVoucherno.caption(), "");
        EXPECT_EQ(w.LabelRecCount[0].caption(), "New pettycash transaction");
    }
}

TEST_F(RecordDisplayTest, ARowWithoutPeriodIdShowsTheBarePeriodForm) {
    add({.credit = money("5"), .termId = {}});
    frmpettycash& w = shown();
    showAllRows(w);
    EXPECT_EQ(w.LabelRecCount[0].caption(), "Petty cash record: 1 of 1  Period ID: 20-- :");
}

TEST_F(RecordDisplayTest, DataControlErrorsBeepTwiceWithoutAMessage) {
    frmpettycash& w = shown();
    int response = forms::vbDataErrDisplay;
    ui.clearJournal();
    w.datPrimaryRS.onError(3021, response);
    EXPECT_EQ(response, forms::vbDataErrContinue);
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "beep"}));
}

}  // namespace
}  // namespace petty
