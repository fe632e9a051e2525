#include "petty/shell/change_log_viewer.h"

#include <gtest/gtest.h>

#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

class ChangeLogTest : public testing::BookWindowFormTest<frmChangelog> {
protected:
    void log(const std::string& moment, const std::string& user, const std::string& text, int64_t voucher) const {
        book().execute("INSERT INTO changelog ([Date], [user], [changelog], [voucherID]) VALUES (?, ?, ?, ?)",
                       {jet::Value(moment), jet::Value(user), jet::Value(text), jet::Value(voucher)});
    }
    std::vector<std::string> column(int index) {
        std::vector<std::string> out;
        for (int row = 0; row < window.DBGrid1.rowCount(); ++row) out.push_back(window.DBGrid1.cellText(row, index));
        return out;
    }
};

TEST_F(ChangeLogTest, NewestFirstWithThePositionInTheGridsCaption) {
    log("2024-05-02 09:15:00", "Ravi", "Edited: amount 10 -> 12", 7);
    log("2024-05-03 16:40:00", "Boss", "Deleted voucher", 9);  // a voucher that no longer exists still shows
    log("2024-05-01 11:00:00", "Ravi", "Edited: employee Anil -> Bina", 3);
    window.show();
    EXPECT_EQ(window.caption(), "Changes/Edits");
    EXPECT_EQ(window.Label1.caption(), "Changes / edits made to petty-cash transactions");
    EXPECT_EQ(column(1), (std::vector<std::string>{"Deleted voucher", "Edited: amount 10 -> 12",
                                                   "Edited: employee Anil -> Bina"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"Boss", "Ravi", "Ravi"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"9", "7", "3"}));
    EXPECT_EQ(window.DBGrid1.caption(), "Log: 1 of 3");
    forms::user::selectGridRow(window.DBGrid1, 2);
    EXPECT_EQ(window.DBGrid1.caption(), "Log: 3 of 3");

    std::vector<std::string> headings;
    for (int i = 0; i < window.DBGrid1.columnCount(); ++i) headings.push_back(window.DBGrid1.column(i).caption());
    EXPECT_EQ(headings, (std::vector<std::string>{"Date", "Log", "User", "voucher No"}));

    forms::user::click(window.cmdclose);
    EXPECT_FALSE(window.isLoaded());
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(ChangeLogTest, AnEmptyLogShowsAnEmptyGrid) {
    window.show();
    EXPECT_EQ(window.DBGrid1.rowCount(), 0);
    EXPECT_EQ(window.DBGrid1.row(), -1);
    EXPECT_TRUE(ui.journal().empty());
}

}  // namespace
}  // namespace petty
