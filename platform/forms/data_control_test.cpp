#include "platform/forms/controls/data_control.h"

#include <gmock/gmock.h>

#include "platform/forms/test_support.h"

namespace forms {
namespace {

using ::testing::ElementsAre;

class VoucherForm : public Form {
public:
    VoucherForm() : Form("frmvoucher") {
        date.bind(data, "Date");
        credit.bind(data, "Credit");
        narration.bind(data, "Narration");
        type.bind(data, "TransType");
        voucherId.bind(data, "VoucherID");
        grouping.bind(data, "VoucherIDforGrouping");
        opening.bind(data, "VoucherIDforGrouping");
        opening.setDisplayOnly(true);
        data.onReposition = [this] { repositions.push_back(data.recordset().absolutePosition()); };
    }
    DataControl data{*this, "datPrimaryRS"};
    TextBox date{*this, "date"};
    TextBox credit{*this, "credit"};
    TextBox narration{*this, "narration"};
    ComboBox type{*this, "type"};
    Label voucherId{*this, "voucherId"};
    TextBox grouping{*this, "grouping"};
    TextBox opening{*this, "opening"};
    std::vector<int64_t> repositions;
};

class DataControlTest : public testing::OpenFormTest<VoucherForm> {
protected:
    DataRecordset& rs() { return form.data.recordset(); }
};

TEST_F(DataControlTest, RefreshShowsTheFirstRowAndMovesShowTheNext) {
    EXPECT_EQ(form.narration.text(), "tea");
    EXPECT_EQ(form.voucherId.caption(), "1");
    EXPECT_EQ(form.credit.text(), "10");
    rs().moveNext();
    EXPECT_EQ(form.narration.text(), "");  // Null shows as the empty text
    EXPECT_EQ(form.grouping.text(), "");
    rs().moveLast();
    EXPECT_EQ(form.credit.text(), "250.5");
    EXPECT_THAT(form.repositions, ElementsAre(0, 1, 2));
    EXPECT_FALSE(form.narration.dataChanged());
}

TEST_F(DataControlTest, AControlBoundToAnOpenRecordsetShowsItsColumnAtOnce) {
    TextBox late{form, "late"};
    late.setText("old");
    late.bind(form.data, "transtype");
    EXPECT_EQ(late.text(), "Reimbursed from pettycash");
    EXPECT_FALSE(late.dataChanged());
}

TEST_F(DataControlTest, ChangedFlagIsSetByUserAndProgramAndClearedByEveryFill) {
    int changes = 0;
    form.narration.onChange = [&] { ++changes; };
    rs().moveNext();  // the fill raises Change but sets no flag
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(form.narration.dataChanged());

    user::typeText(form.narration, "x");
    EXPECT_TRUE(form.narration.dataChanged());
    form.data.updateControls();
    EXPECT_FALSE(form.narration.dataChanged());
    EXPECT_EQ(form.narration.text(), "");

    form.credit.setText("5");
    EXPECT_TRUE(form.credit.dataChanged());
    form.credit.setDataChanged(false);  // the program clears it
    EXPECT_FALSE(form.data.anyControlChanged());

    form.type.setText("Carryover");
    rs().requery();
    EXPECT_FALSE(form.type.dataChanged());
    EXPECT_EQ(form.type.text(), "Reimbursed from pettycash");
}

TEST_F(DataControlTest, AMoveWritesOnlyTheFlaggedControls) {
    form.narration.setText("tea and biscuits");
    form.opening.setText("999");  // display only: never written
    // Another writer changes the credit of the row meanwhile; the unflagged credit box must not undo it.
    db.execute("UPDATE pettycash SET Credit = 12 WHERE VoucherID = 1");
    rs().moveNext();
    EXPECT_EQ(stored(1, "Narration"), jet::Value("tea and biscuits"));
    EXPECT_EQ(stored(1, "Credit").asCurrency(), vb::Currency::fromWhole(12));
    EXPECT_TRUE(stored(1, "VoucherIDforGrouping").isNull());
    EXPECT_FALSE(form.narration.dataChanged());
}

TEST_F(DataControlTest, ADisplayOnlyControlAloneNeverWritesTheRow) {
    bool save = true;
    form.data.onValidate = [&](int&, bool& s) { save = s; };
    form.opening.setText("999");
    EXPECT_TRUE(form.opening.dataChanged());
    EXPECT_FALSE(form.data.anyControlChanged());
    rs().moveNext();
    EXPECT_FALSE(save);
    EXPECT_TRUE(stored(1, "VoucherIDforGrouping").isNull());
}

TEST_F(DataControlTest, ValidateSeesEachActionAndCanKeepTheRow) {
    std::vector<int> actions;
    bool cancel = false;
    form.data.onValidate = [&](int& action, bool&) {
        actions.push_back(action);
        if (cancel) action = vbDataActionCancel;
    };
    rs().moveNext();
    rs().movePrevious();
    rs().moveLast();
    rs().moveFirst();
    rs().setBookmark(rs().bookmark());
    EXPECT_FALSE(form.data.addingRow());
    rs().addNew();
    EXPECT_TRUE(form.data.addingRow());
    rs().cancelUpdate();
    EXPECT_FALSE(form.data.addingRow());
    rs().edit();
    EXPECT_FALSE(form.data.addingRow()) << "editing a stored row is not adding one";
    rs().update();
    rs().moveLast();
    rs().deleteRecord();
    EXPECT_THAT(actions, ElementsAre(vbDataActionMoveNext, vbDataActionMovePrevious, vbDataActionMoveLast,
                                     vbDataActionMoveFirst, vbDataActionBookmark, vbDataActionAddNew,
                                     vbDataActionUpdate, vbDataActionMoveLast, vbDataActionDelete));
    rs().moveFirst();

    cancel = true;
    rs().moveFirst();
    form.repositions.clear();
    user::typeText(form.narration, "!");
    rs().moveNext();
    EXPECT_EQ(rs().absolutePosition(), 0);
    EXPECT_EQ(form.narration.text(), "tea!");
    EXPECT_TRUE(form.narration.dataChanged());
    EXPECT_TRUE(form.repositions.empty());
    EXPECT_EQ(stored(1, "Narration"), jet::Value("tea"));
    rs().deleteRecord();  // a cancelled delete deletes nothing
    EXPECT_EQ(rs().recordCount(), 2);
    EXPECT_EQ(form.voucherId.caption(), "1");
}

TEST_F(DataControlTest, ValidateCanDropTheWriteAndStillMove) {
    form.data.onValidate = [](int&, bool& save) { save = false; };
    form.narration.setText("not kept");
    rs().moveNext();
    EXPECT_EQ(stored(1, "Narration"), jet::Value("tea"));
    EXPECT_EQ(rs().absolutePosition(), 1);
}

TEST_F(DataControlTest, AddNewShowsAnEmptyRowAndUpdateStoresIt) {
    rs().addNew();
    EXPECT_EQ(rs().editMode(), jet::EditMode::Add);
    EXPECT_EQ(form.narration.text(), "");
    EXPECT_EQ(form.voucherId.caption(), "");
    form.date.setText("2024-06-01");
    form.credit.setText("");  // empty into a currency column is Null
    form.narration.setText("stamps");
    form.repositions.clear();
    rs().update();
    EXPECT_EQ(rs().editMode(), jet::EditMode::None);
    EXPECT_EQ(form.repositions.size(), 1u);  // back on the row that was current before the addition
    rs().setBookmark(rs().lastModified());
    EXPECT_EQ(form.narration.text(), "stamps");
    EXPECT_EQ(form.voucherId.caption(), "4");
    EXPECT_TRUE(stored(4, "Credit").isNull());
    EXPECT_EQ(stored(4, "Date").asDate(), *vb::DateTime::fromParts(2024, 6, 1));
}

TEST_F(DataControlTest, CancelUpdateDropsTheAdditionAndRefills) {
    rs().moveLast();
    rs().addNew();
    form.narration.setText("dropped");
    form.repositions.clear();
    rs().cancelUpdate();
    EXPECT_EQ(form.narration.text(), "taxi");
    EXPECT_FALSE(form.narration.dataChanged());
    EXPECT_THAT(form.repositions, ElementsAre(2));
    EXPECT_EQ(rs().recordCount(), 3);
}

TEST_F(DataControlTest, UpdateRecordWritesWithoutValidate) {
    bool validated = false;
    form.data.onValidate = [&](int&, bool&) { validated = true; };
    form.credit.setText("12.50");
    form.data.updateRecord();
    EXPECT_FALSE(validated);
    EXPECT_EQ(stored(1, "Credit").asCurrency(), vb::Currency::fromUnits(125000));
    EXPECT_EQ(form.credit.text(), "12.5");  // the stored value shows again
    EXPECT_FALSE(form.credit.dataChanged());
}

TEST_F(DataControlTest, DeleteClearsTheFlagsSoTheNextMoveWritesNothing) {
    form.narration.setText("edited");
    form.repositions.clear();
    rs().deleteRecord();
    EXPECT_FALSE(form.data.anyControlChanged());
    EXPECT_TRUE(form.repositions.empty());
    rs().moveNext();
    EXPECT_EQ(form.narration.text(), "");
    EXPECT_EQ(rs().recordCount(), 2);
}

TEST_F(DataControlTest, ErrorsOfTheProgramsCallsReachItErrorsOfTheUsersGoToTheErrorEvent) {
    form.credit.setText("abc");
    try {
        rs().moveNext();
        FAIL() << "the move wrote an impossible amount";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 3421);
    }
    EXPECT_EQ(rs().absolutePosition(), 0);
    EXPECT_EQ(rs().editMode(), jet::EditMode::None);

    std::vector<int> errors;
    form.data.onError = [&](int dataErr, int& response) {
        errors.push_back(dataErr);
        ui.beep();
        ui.beep();
        response = vbDataErrContinue;
    };
    user::clickDataArrow(form.data, DataControl::Arrow::Next);
    EXPECT_THAT(errors, ElementsAre(3421));
    EXPECT_THAT(ui.journalLines(), ElementsAre("beep", "beep"));

    form.data.onError = nullptr;  // the control's own message
    ui.expectMessage("Data type conversion error.");
    user::clickDataArrow(form.data, DataControl::Arrow::Next);
    EXPECT_EQ(rs().absolutePosition(), 0);
}

TEST_F(DataControlTest, ArrowsStopAtTheEnds) {
    user::clickDataArrow(form.data, DataControl::Arrow::Last);
    user::clickDataArrow(form.data, DataControl::Arrow::Next);
    EXPECT_EQ(rs().absolutePosition(), 2);
    EXPECT_FALSE(rs().eof());
    user::clickDataArrow(form.data, DataControl::Arrow::First);
    user::clickDataArrow(form.data, DataControl::Arrow::Previous);
    EXPECT_EQ(rs().absolutePosition(), 0);
    form.data.setEofAction(vbEOFActionEOF);
    user::clickDataArrow(form.data, DataControl::Arrow::Last);
    user::clickDataArrow(form.data, DataControl::Arrow::Next);
    EXPECT_TRUE(rs().eof());
    EXPECT_EQ(form.narration.text(), "");
}

TEST_F(DataControlTest, UnloadingTheFormWritesPendingChangesUnlessReleasedFirst) {
    std::vector<int> actions;
    form.data.onValidate = [&](int& action, bool&) { actions.push_back(action); };
    form.narration.setText("kept at unload");
    form.unload();
    EXPECT_THAT(actions, ElementsAre(vbDataActionUnload));
    EXPECT_EQ(stored(1, "Narration"), jet::Value("kept at unload"));

    form.show();
    form.data.refresh();
    form.narration.setText("dropped by Close");
    form.data.releaseRecordset();
    form.unload();
    EXPECT_EQ(stored(1, "Narration"), jet::Value("kept at unload"));
    EXPECT_THROW(form.data.recordset(), Error);
}

TEST_F(DataControlTest, AFailingRefreshKeepsTheRowsItHad) {
    form.data.setRecordSource("select * from nosuchtable");
    EXPECT_THROW(form.data.refresh(), jet::Error);
    EXPECT_EQ(rs().recordCount(), 3);
    form.data.setDatabaseName(path() + ".missing");
    try {
        form.data.refresh();
        FAIL();
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 3024);
    }
}

TEST(DataControlWithoutRecordset, IsObjectNotSet) {
    Form form("form");
    DataControl data{form, "Data1"};
    try {
        data.recordset();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 91);
    }
    EXPECT_THROW(data.database(), Error);
}

class ConfigForm : public Form {
public:
    ConfigForm() : Form("frmconfig") {
        noAdvance.bind(data, "NOADVANCE");
        names.setRowSource(employees, "name");
        employee.bind(data, "Username");
        employee.setRowSource(employees, "name");
    }
    DataControl data{*this, "datPrimaryRS"};
    DataControl employees{*this, "Data1"};
    CheckBox noAdvance{*this, "Check1", 0};
    DataCombo names{*this, "DBCombo2"};
    DataCombo employee{*this, "DBCombo1"};
};

class BoundChoicesTest : public testing::BookTest {
protected:
    BoundChoicesTest() {
        db.execute("CREATE TABLE config (id INTEGER PRIMARY KEY AUTOINCREMENT, NOADVANCE YESNO, Username TEXT)");
        db.execute("INSERT INTO config (NOADVANCE, Username) VALUES (NULL, 'ann')");
        db.execute("CREATE TABLE employeemaster (name TEXT)");
        db.execute("INSERT INTO employeemaster (name) VALUES ('ann'), ('bob')");
        point(form.data, "select * from config");
        point(form.employees, "select [name] from [employeemaster]   order by [name]");
    }
    ConfigForm form;
};

TEST_F(BoundChoicesTest, CheckBoxesShowAndWriteYesNoColumns) {
    int clicks = 0;
    bool flaggedAtClick = true;
    form.noAdvance.onClick = [&] {
        ++clicks;
        flaggedAtClick = form.noAdvance.dataChanged();
    };
    form.data.refresh();
    form.show();
    EXPECT_EQ(form.noAdvance.value(), vbUnchecked);  // Null
    db.execute("UPDATE config SET NOADVANCE = true");
    form.data.refresh();
    EXPECT_EQ(form.noAdvance.value(), vbChecked);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(flaggedAtClick);  // the fill's Click comes with the flag clear

    user::click(form.noAdvance);
    EXPECT_TRUE(flaggedAtClick);
    form.data.updateRecord();
    EXPECT_EQ(db.openRecordset("select NOADVANCE from config").field(size_t{0}), jet::Value(false));
    form.unload();
}

TEST_F(BoundChoicesTest, DataCombosListTheirRowSourceAndFollowItsRequery) {
    form.employees.refresh();
    form.data.refresh();
    EXPECT_THAT(form.names.items(), ElementsAre("ann", "bob"));
    db.execute("INSERT INTO employeemaster (name) VALUES ('cat')");
    EXPECT_THAT(form.names.items(), ElementsAre("ann", "bob"));
    form.employees.recordset().requery();
    EXPECT_THAT(form.names.items(), ElementsAre("ann", "bob", "cat"));
    EXPECT_EQ(form.employee.text(), "ann");

    form.show();
    std::vector<std::string> events;
    form.employee.onChange = [&] { events.push_back("Change " + form.employee.text()); };
    form.employee.onClick = [&] { events.push_back("Click"); };
    user::selectComboItem(form.employee, "bob");
    EXPECT_THAT(events, ElementsAre("Change bob", "Click"));
    EXPECT_TRUE(form.employee.dataChanged());
    form.unload();  // writes the pending choice back
    EXPECT_EQ(db.openRecordset("select Username from config").field(size_t{0}), jet::Value("bob"));
}

}  // namespace
}  // namespace forms
