#include "petty/shell/frm_select_project.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

namespace user = forms::user;

class ProjectPickerTest : public testing::BookWindowTest {
protected:
    // The cost-centre table holds exactly these rows (code, description, active).
    void codes(std::initializer_list<std::tuple<const char*, const char*, bool>> rows) const {
        jet::Database db = book();
        db.execute("DELETE FROM projectcodes");
        for (const auto& [code, description, active] : rows)
            db.execute("INSERT INTO projectcodes ([projectcode], [Description], [Active]) VALUES (?, ?, ?)",
                       {code, description, active});
    }
    // Opens the picker; the script works it as the user does.
    std::string pick(std::function<void(frmselectProject&)> script) {
        host.expectModal<frmselectProject>("frmselectProject", std::move(script));
        return pickProjectCode();
    }
    // The grid row that shows this code.
    static int rowOf(frmselectProject& f, const std::string& code) {
        for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
            if (f.DBGrid1.cellText(row, 0) == code) return row;
        ADD_FAILURE() << code << " not listed";
        return 0;
    }
};

TEST_F(ProjectPickerTest, ListsTheActiveCodesOnlyAndSelectReturnsTheOneUnderTheCursorTrimmed) {
    codes({{"Site 4", "Warehouse extension", true}, {"Expo 24", "Trade fair stall", false}, {"  Dock 7 ", "Pier", true}});
    const std::string picked = pick([](frmselectProject& f) {
        EXPECT_EQ(f.caption(), "select ...");
        EXPECT_EQ(f.Label1.caption(), "Select Cost-centre / project-code for Pettycash");
        EXPECT_EQ(f.cmdclose.toolTip(), "Cancel and exit from the selection screen");
        ASSERT_EQ(f.DBGrid1.rowCount(), 2);
        ASSERT_EQ(f.DBGrid1.columnCount(), 2);
        EXPECT_EQ(f.DBGrid1.column(0).caption(), "Project / cost-centre");
        EXPECT_EQ(f.DBGrid1.column(1).caption(), "Description");
        EXPECT_EQ(f.DBGrid1.caption(), "Record 1  of  2 records");
        EXPECT_TRUE(f.trfr.isDefault());
        const int dock = rowOf(f, "  Dock 7 ");
        EXPECT_EQ(f.DBGrid1.cellText(dock, 1), "Pier");
        user::selectGridRow(f.DBGrid1, dock);
        EXPECT_EQ(f.DBGrid1.caption(), "Record " + std::to_string(dock + 1) + "  of  2 records");
        user::click(f.trfr);
        EXPECT_FALSE(f.isLoaded());
    });
    EXPECT_EQ(picked, "Dock 7");
    EXPECT_EQ(appState().selectedProjectCode, "Dock 7");
}

TEST_F(ProjectPickerTest, DoubleClickAndEnterSelectLikeTheSelectButton) {
    codes({{"Site 4", "", true}, {"Dock 7", "", true}});
    EXPECT_EQ(pick([](frmselectProject& f) { user::doubleClickGridRow(f.DBGrid1, rowOf(f, "Dock 7")); }), "Dock 7");
    EXPECT_EQ(pick([](frmselectProject& f) {
                  user::selectGridRow(f.DBGrid1, rowOf(f, "Site 4"));
                  user::pressKey(f.DBGrid1, forms::vbKeyReturn);
              }),
              "Site 4");
}

TEST_F(ProjectPickerTest, CancelAndTheCloseBoxReturnNothingEvenAfterMovingTheCursor) {
    codes({{"Site 4", "", true}, {"Dock 7", "", true}});
    appState().selectedProjectCode = "Site 4";  // a pick of an earlier opening
    EXPECT_EQ(pick([](frmselectProject& f) {
                  EXPECT_EQ(appState().selectedProjectCode, "");  // the load empties it
                  user::selectGridRow(f.DBGrid1, 1);
                  user::click(f.cmdclose);
              }),
              "");
    appState().selectedProjectCode = "Site 4";
    EXPECT_EQ(pick([](frmselectProject& f) { user::closeForm(f); }), "");
}

TEST_F(ProjectPickerTest, NoActiveCodeDisablesSelectAndADoubleClickReturnsNothing) {
    codes({{"Expo 24", "Trade fair stall", false}});
    EXPECT_EQ(pick([](frmselectProject& f) {
                  EXPECT_EQ(f.DBGrid1.rowCount(), 0);
                  EXPECT_EQ(f.DBGrid1.caption(), "Record 0  of  0 records");
                  EXPECT_FALSE(f.trfr.enabled());
                  EXPECT_FALSE(f.trfr.isDefault());
                  EXPECT_TRUE(user::doubleClick(f.DBGrid1));
                  EXPECT_FALSE(f.isLoaded());
              }),
              "");
}

TEST_F(ProjectPickerTest, AnUnreadableListStillOpensAndSelectReturnsNothing) {
    book().execute("DROP TABLE projectcodes");
    EXPECT_EQ(pick([](frmselectProject& f) {
                  EXPECT_EQ(f.DBGrid1.rowCount(), 0);
                  user::click(f.trfr);
                  EXPECT_FALSE(f.isLoaded());
              }),
              "");
}

}  // namespace
}  // namespace petty
