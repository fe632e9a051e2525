#include "petty/shell/frm_select_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

namespace user = forms::user;

class PeriodPickerTest : public testing::BookWindowTest {
protected:
    struct Voucher {
        std::string closed = "No";
        jet::Value termId = int64_t{2405150900};
    };
    // A voucher of this period in this state: all the picker lists.
    void insert(const Voucher& v) const {
        book().execute("INSERT INTO pettycash ([Closed], [TermID]) VALUES (?, ?)", {v.closed, v.termId});
    }
    // Opens the picker; the script works it as the user does.
    int64_t pick(std::function<void(frmselectSession&)> script) {
        host.expectModal<frmselectSession>("frmselectSession", std::move(script));
        return pickPeriod();
    }
    // The grid row that shows this period in this state.
    static int rowOf(frmselectSession& f, int64_t id, const char* closed) {
        for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
            if (f.DBGrid1.cellText(row, 0) == std::to_string(id) && f.DBGrid1.cellText(row, 1) == closed) return row;
        ADD_FAILURE() << "period " << id << " " << closed << " not listed";
        return 0;
    }
};

TEST_F(PeriodPickerTest, ListsEachPeriodWithItsStateAndSelectReturnsTheOneUnderTheCursor) {
    insert({.closed = "Yes", .termId = int64_t{2312010900}});
    insert({.closed = "Yes", .termId = int64_t{2312010900}});
    insert({.closed = "No", .termId = int64_t{2405151430}});
    const int64_t picked = pick([](frmselectSession& f) {
        EXPECT_EQ(f.caption(), "select ...");
        EXPECT_EQ(f.Label1.caption(), "Select Pettycash period ID");
        ASSERT_EQ(f.DBGrid1.rowCount(), 2);
        EXPECT_EQ(f.DBGrid1.column(0).caption(), "TermID");
        EXPECT_EQ(f.DBGrid1.column(1).caption(), "Closed");
        EXPECT_EQ(f.DBGrid1.caption(), "Record 1  of  2 records");
        EXPECT_TRUE(f.trfr.isDefault());
        user::selectGridRow(f.DBGrid1, rowOf(f, 2405151430, "No"));
        EXPECT_EQ(f.DBGrid1.caption(), "Record " + std::to_string(f.DBGrid1.row() + 1) + "  of  2 records");
        user::click(f.trfr);
    });
    EXPECT_EQ(picked, 2405151430);
    EXPECT_EQ(appState().selectedPeriodId, 2405151430);
}

TEST_F(PeriodPickerTest, DoubleClickAndEnterSelectAnIdAboveTheRangeOf32Bits) {
    insert({.closed = "Yes", .termId = int64_t{2201010000}});
    insert({.closed = "No", .termId = int64_t{9912312359}});
    EXPECT_EQ(pick([](frmselectSession& f) { user::doubleClickGridRow(f.DBGrid1, rowOf(f, 9912312359, "No")); }),
              9912312359);
    EXPECT_EQ(pick([](frmselectSession& f) {
                  user::selectGridRow(f.DBGrid1, rowOf(f, 2201010000, "Yes"));
                  user::pressKey(f.DBGrid1, forms::vbKeyReturn);
              }),
              2201010000);
}

TEST_F(PeriodPickerTest, CancelAndTheCloseBoxReturnNothingEvenAfterMovingTheCursor) {
    insert({.closed = "No", .termId = int64_t{2405151430}});
    insert({.closed = "Yes", .termId = int64_t{2401010900}});
    appState().selectedPeriodId = 2401010900;  // a pick of an earlier opening
    EXPECT_EQ(pick([](frmselectSession& f) {
                  user::selectGridRow(f.DBGrid1, 1);
                  user::click(f.cmdclose);
              }),
              0);
    EXPECT_EQ(pick([](frmselectSession& f) { user::closeForm(f); }), 0);
}

TEST_F(PeriodPickerTest, EmptyBookDisablesSelectAndADoubleClickReturnsNothing) {
    EXPECT_EQ(pick([](frmselectSession& f) {
                  EXPECT_EQ(f.DBGrid1.rowCount(), 0);
                  EXPECT_EQ(f.DBGrid1.caption(), "Record 0  of  0 records");
                  EXPECT_FALSE(f.trfr.enabled());
                  user::doubleClick(f.DBGrid1);
              }),
              0);
}

TEST_F(PeriodPickerTest, ThePeriodWithoutIdReturnsNothing) {
    insert({.closed = "No", .termId = jet::Value()});
    EXPECT_EQ(pick([](frmselectSession& f) { user::click(f.trfr); }), 0);
}

TEST_F(PeriodPickerTest, TheExportLabelShowsForOneOpeningOnly) {
    insert({.closed = "No"});
    appState().periodPickForExport = true;
    pick([](frmselectSession& f) {
        EXPECT_EQ(f.Label1.caption(), "Select pettycash period ID for data export");
        user::click(f.cmdclose);
    });
    EXPECT_FALSE(appState().periodPickForExport);
    pick([](frmselectSession& f) {
        EXPECT_EQ(f.Label1.caption(), "Select Pettycash period ID");
        user::click(f.cmdclose);
    });
}

TEST_F(PeriodPickerTest, ADataErrorOfTheListBeepsTwiceInsteadOfItsMessage) {
    frmselectSession picker;
    int response = forms::vbDataErrDisplay;
    picker.datPrimaryRS.onError(3021, response);
    EXPECT_EQ(response, forms::vbDataErrContinue);
    EXPECT_EQ(ui.beepCount(), 2);
}

}  // namespace
}  // namespace petty
