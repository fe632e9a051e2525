// A grid over a Data control: cells, colours and pictures come from the
// runtime's grid; the runtime holds the current row and takes the user's
// row choices.
#include "platform/forms_qt/grid_model.h"

#include <gmock/gmock.h>

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/jet/database.h"
#include "platform/jet/test_support.h"

namespace forms_qt {
namespace {

using ::testing::ElementsAre;
using testing::settle;

class RegisterForm : public forms::Form {
public:
    RegisterForm() : Form("frmpettycash") {
        move(0, 0, 9000, 4000);
        grid.move(120, 120, 8000, 3000);
        grid.setDataSource(data);
        grid.setCaption("Pettycash records");
        grid.addColumn("VoucherID", "VoucherID");
        grid.addColumn("Narration", "Narration");
        grid.addColumn("Cash-out", "Credit");
        grid.addColumn("Settled", "Matched");
        const forms::CellStyle salmon{forms::rgb(255, 128, 128), forms::vbBlack};
        grid.column("matched").addRegexCellStyle("No", salmon);
        grid.column("matched").addValueItem("Yes", "tick");
        grid.column("matched").addValueItem("No", "cross");
        grid.column("credit").addRegexCellStyle("[1-9]", {forms::rgb(128, 255, 255), forms::vbBlue});
        grid.column(0).setWidth(600);
    }
    forms::DataControl data{*this, "datPrimaryRS"};
    forms::Grid grid{*this, "TDBGrid1"};
};

class GridModelTest : public testing::QtHostTest {
protected:
    void SetUp() override {
        db.execute("CREATE TABLE pettycash (VoucherID INTEGER PRIMARY KEY AUTOINCREMENT, Credit CURRENCY, "
                   "Narration TEXT, Matched TEXT)");
        db.execute("INSERT INTO pettycash (Credit, Narration, Matched) VALUES (10, 'tea', 'No'), "
                   "(0, NULL, 'Yes'), (250.5, 'taxi', 'No')");
        form.data.setDatabaseName((folder.path() / "business.mdb").string());
        form.data.setConnect(";pwd=wobrelt");
        form.data.setRecordSource("select * from pettycash order by VoucherID");
        form.show();
        form.data.refresh();
        settle();
        table = host.widgetOf(form.grid)->findChild<QTableView*>();
        ASSERT_NE(table, nullptr);
    }
    void TearDown() override {
        form.data.releaseRecordset();
        form.unload();
        QtHostTest::TearDown();
    }
    QModelIndex cell(int row, int col) const { return table->model()->index(row, col); }
    QPoint centreOf(int row, int col) const { return table->visualRect(cell(row, col)).center(); }

    jet::testing::TestFolder folder;
    jet::Database db = jet::Database::create(folder.path() / "business.mdb", "wobrelt");
    RegisterForm form;
    QTableView* table = nullptr;
};

TEST_F(GridModelTest, CellsShowTheGridsTextColoursAndPictures) {
    const QAbstractItemModel& model = *table->model();
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Cash-out");
    EXPECT_EQ(cell(2, 1).data().toString(), "taxi");
    EXPECT_EQ(cell(1, 1).data().toString(), "");
    EXPECT_EQ(cell(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(128, 255, 255));
    EXPECT_EQ(cell(0, 2).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 255));
    EXPECT_FALSE(cell(1, 2).data(Qt::BackgroundRole).isValid());  // "0" holds no digit 1-9
    // A value item shows its picture instead of the text.
    EXPECT_FALSE(cell(0, 3).data().isValid());
    EXPECT_FALSE(cell(0, 3).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(cell(0, 3).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 128, 128));
    EXPECT_EQ(table->columnWidth(0), 40);
}

TEST_F(GridModelTest, TheTableFollowsTheColumnsAndTheCurrentRow) {
    EXPECT_EQ(table->currentIndex().row(), 0);
    form.data.recordset().moveLast();
    settle();
    EXPECT_EQ(table->currentIndex().row(), 2);
    form.grid.column(1).setVisible(false);
    form.grid.column(2).setCaption("Cash out");
    settle();
    EXPECT_TRUE(table->isColumnHidden(1));
    EXPECT_EQ(table->model()->headerData(2, Qt::Horizontal).toString(), "Cash out");
    form.data.releaseRecordset();
    settle();
    EXPECT_EQ(table->model()->rowCount(), 0);
}

TEST_F(GridModelTest, AClickedRowIsTheRuntimesRowChoiceWhichValidateMayRefuse) {
    std::vector<int> actions;
    bool refuse = false;
    form.data.onValidate = [&](int& action, bool&) {
        actions.push_back(action);
        if (refuse) action = forms::vbDataActionCancel;
    };
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centreOf(2, 1));
    settle();
    EXPECT_EQ(form.grid.row(), 2);
    EXPECT_EQ(form.grid.col(), 1);
    EXPECT_EQ(table->currentIndex().row(), 2);
    EXPECT_THAT(actions, ElementsAre(forms::vbDataActionBookmark));

    refuse = true;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centreOf(0, 1));
    settle();
    EXPECT_EQ(form.grid.row(), 2);
    EXPECT_EQ(table->currentIndex().row(), 2);

    refuse = false;
    QTest::keyClick(table, Qt::Key_Up);
    settle();
    EXPECT_EQ(form.grid.row(), 1);
    EXPECT_EQ(table->currentIndex().row(), 1);
}

TEST_F(GridModelTest, ADoubleClickedRowRaisesClickThenDblClick) {
    std::vector<std::string> events;
    form.grid.onClick = [&] { events.push_back("Click " + std::to_string(form.grid.row())); };
    form.grid.onDblClick = [&] { events.push_back("DblClick " + std::to_string(form.grid.row())); };
    testing::doubleClick(table->viewport(), centreOf(1, 0));
    settle();
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_THAT(events, ElementsAre("Click 1", "DblClick 1"));
}

}  // namespace
}  // namespace forms_qt
