#include "platform/forms/controls/grid.h"

#include <gmock/gmock.h>

#include "platform/forms/test_support.h"

namespace forms {
namespace {

using ::testing::ElementsAre;

class RegisterForm : public Form {
public:
    RegisterForm() : Form("frmpettycash") {
        grid.setDataSource(data);
        grid.setCaption("Pettycash records");
        grid.addColumn("VoucherID", "VoucherID");
        grid.addColumn("Date", "Date");
        grid.addColumn("Transaction Type", "TransType");
        grid.addColumn("Cash-out", "Credit");
        grid.addColumn("Settled", "Matched");
        grid.addColumn("", "");
        CellStyle salmon{rgb(255, 128, 128), vbBlack};
        CellStyle green{rgb(0, 255, 0), vbWhite};
        grid.column("matched").addRegexCellStyle("No", salmon);
        grid.column("matched").addRegexCellStyle("Yes", green);
        grid.column("matched").addValueItem("Yes", "tick");
        grid.column("matched").addValueItem("No", "cross");
        grid.column("TransType").addRegexCellStyle("Cash transfer to PC", {rgb(0, 128, 0), vbWhite});
        grid.column("TransType").addRegexCellStyle("Advance Issued from PC", salmon);
        grid.column("credit").addRegexCellStyle("[1-9]", {rgb(128, 255, 255), vbBlack});
    }
    DataControl data{*this, "datPrimaryRS"};
    Grid grid{*this, "TDBGrid1"};
};

using GridTest = testing::OpenFormTest<RegisterForm>;

TEST_F(GridTest, ColumnsByIndexAndByField) {
    Grid& grid = form.grid;
    EXPECT_EQ(grid.columnCount(), 6);
    EXPECT_EQ(&grid.column("transtype"), &grid.column(2));
    EXPECT_EQ(grid.column(3).caption(), "Cash-out");
    grid.column(4).setVisible(false);
    grid.column("TransType").setWidth(grid.column(2).width() * 3 / 2);
    EXPECT_FALSE(grid.column("Matched").visible());
    EXPECT_EQ(grid.column(2).width(), 1822);
    EXPECT_THROW(grid.column(6), Error);
    EXPECT_THROW(grid.column("Narration"), Error);
}

TEST_F(GridTest, CellsShowTheirRowsTextStyleAndPicture) {
    const Grid& grid = form.grid;
    ASSERT_EQ(grid.rowCount(), 3);
    struct Cell {
        int row;
        int col;
        std::string text;
        std::optional<CellStyle> style;
        std::string picture;
    };
    const CellStyle salmon{rgb(255, 128, 128), vbBlack};
    const CellStyle cyan{rgb(128, 255, 255), vbBlack};
    const Cell cells[] = {
        {0, 0, "1", std::nullopt, ""},
        {0, 3, "10", cyan, ""},                          // holds a digit 1-9
        {1, 3, "0", std::nullopt, ""},                   // zero is not coloured
        {2, 3, "250.5", cyan, ""},
        {0, 4, "No", salmon, "cross"},
        {1, 4, "Yes", CellStyle{rgb(0, 255, 0), vbWhite}, "tick"},
        {1, 2, "Cash transfer to PC", CellStyle{rgb(0, 128, 0), vbWhite}, ""},
        {2, 2, "Advance Issued from PC", salmon, ""},
        {0, 2, "Reimbursed from pettycash", std::nullopt, ""},
        {0, 5, "", std::nullopt, ""},                    // a column without a field
    };
    for (const Cell& c : cells) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " col " + std::to_string(c.col));
        EXPECT_EQ(grid.cellText(c.row, c.col), c.text);
        EXPECT_EQ(grid.cellStyle(c.row, c.col), c.style);
        EXPECT_EQ(grid.cellPicture(c.row, c.col), c.picture);
    }
}

TEST_F(GridTest, ANumberFormatShowsBooleansAsItsWords) {
    GridColumn& column = form.grid.column(5);
    struct Case {
        const char* format;
        jet::Value value;
        std::string text;
    };
    const Case cases[] = {
        {"Yes/No", jet::Value(true), "Yes"},       {"Yes/No", jet::Value(false), "No"},
        {"yes/no", jet::Value(true), "yes"},       {"True/False", jet::Value(false), "False"},
        {"On/Off", jet::Value(true), "On"},        {"Yes/No", jet::Value(int64_t{1}), "1"},
        {"Yes/No", jet::Value(), ""},              {"", jet::Value(true), jet::Value(true).asText()},
        {"Up/Down", jet::Value(true), jet::Value(true).asText()},
    };
    for (const Case& c : cases) {
        column.setNumberFormat(c.format);
        EXPECT_EQ(column.textOf(c.value), c.text) << c.format;
    }
}

TEST_F(GridTest, TheCurrentRowIsTheDataControlsRow) {
    std::vector<std::pair<int, int>> changes;
    form.grid.onRowColChange = [&](int lastRow, int lastCol) { changes.emplace_back(lastRow, lastCol); };
    EXPECT_EQ(form.grid.row(), 0);
    form.data.recordset().moveLast();
    EXPECT_EQ(form.grid.row(), 2);
    form.grid.setCol(3);
    EXPECT_THAT(changes, ElementsAre(std::pair(0, 0), std::pair(2, 0)));
}

TEST_F(GridTest, ClickingARowMovesTheDataControlByBookmarkWhichMayRefuse) {
    std::vector<int> actions;
    bool refuse = false;
    form.data.onValidate = [&](int& action, bool&) {
        actions.push_back(action);
        if (refuse) action = vbDataActionCancel;
    };
    int doubleClicks = 0;
    form.grid.onDblClick = [&] { ++doubleClicks; };
    EXPECT_TRUE(user::selectGridRow(form.grid, 2));
    EXPECT_EQ(form.data.recordset().absolutePosition(), 2);
    EXPECT_THAT(actions, ElementsAre(vbDataActionBookmark));

    refuse = true;
    user::selectGridRow(form.grid, 0);
    EXPECT_EQ(form.grid.row(), 2);
    EXPECT_TRUE(user::doubleClickGridRow(form.grid, 2));
    EXPECT_EQ(doubleClicks, 1);

    form.grid.setEnabled(false);
    EXPECT_FALSE(user::selectGridRow(form.grid, 1));
}

TEST_F(GridTest, AGridWithoutColumnsTakesTheFieldsOfItsSource) {
    Grid plain{form, "DBGrid1"};
    plain.setDataSource(form.data);
    ASSERT_EQ(plain.columnCount(), 7);
    EXPECT_EQ(plain.column(3).caption(), "Narration");
    EXPECT_EQ(plain.cellText(2, 3), "taxi");
    form.data.releaseRecordset();
    EXPECT_EQ(plain.rowCount(), 0);
    EXPECT_EQ(plain.row(), -1);
}

}  // namespace
}  // namespace forms
