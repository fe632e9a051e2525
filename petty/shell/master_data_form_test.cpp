// What the three master-data windows share, each window in turn.
#include "petty/shell/master_data_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "petty/shell/book_window_test_support.h"
#include "petty/shell/employee_master.h"
#include "petty/shell/expense_types.h"
#include "petty/shell/project_codes.h"
#include "platform/jet/error.h"

namespace petty {
namespace {

struct WindowCase {
    std::string name;
    std::function<std::unique_ptr<MasterDataForm>()> make;
    std::string table;
    std::string keyColumn;
    std::function<forms::TextBox&(MasterDataForm&)> keyBox;
    std::function<std::vector<forms::Frame*>(MasterDataForm&)> frames;
    // The position display as the window shows it for a position and a number of rows.
    std::function<std::string(MasterDataForm&)> shownPosition;
    std::function<std::string(int position, int rows)> expectedPosition;
    std::string keyMissing;
    std::string deleteQuestion;
    std::string saveErrorNote;
    int dataErrorBeeps;
    // What a save refused as a repeated key says; empty: the book's own report and the note.
    std::function<std::string(const std::string& typed)> repeatedKey;
};

std::string printName(const ::testing::TestParamInfo<WindowCase>& info) { return info.param.name; }
void PrintTo(const WindowCase& c, std::ostream* out) { *out << c.name; }

const WindowCase kEmployeeMaster{
    "EmployeeMaster",
    [] { return std::make_unique<frmemployeemaster>(); },
    "employeemaster",
    "Name",
    [](MasterDataForm& w) -> forms::TextBox& { return static_cast<frmemployeemaster&>(w).txtFields[2]; },
    [](MasterDataForm& w) {
        auto& e = static_cast<frmemployeemaster&>(w);
        return std::vector<forms::Frame*>{&e.Frame1, &e.Frame2};
    },
    [](MasterDataForm& w) { return w.DBGrid1.caption(); },
    [](int position, int rows) { return "Employee " + std::to_string(position) + " of " + std::to_string(rows); },
    "Enter Employee Name!",
    "Are you sure that you want to delete this employee ?",
    "\n Also, please note that employee Name and Code should not be repeated.",
    1,
    [](const std::string& typed) { return "An employee named " + typed + " exists already."; },
};

WindowCase simpleWindow(std::string name, std::function<std::unique_ptr<MasterDataForm>()> make, std::string table,
                        std::string keyColumn, std::string keyMissing, std::string deleteQuestion) {
    return {std::move(name),
            std::move(make),
            std::move(table),
            std::move(keyColumn),
            [](MasterDataForm& w) -> forms::TextBox& { return static_cast<SimpleMasterForm&>(w).txtFields[0]; },
            [](MasterDataForm& w) { return std::vector<forms::Frame*>{&static_cast<SimpleMasterForm&>(w).Frame1}; },
            [](MasterDataForm& w) { return w.datPrimaryRS.caption(); },
            [](int position, int) { return "Record: " + std::to_string(position); },
            std::move(keyMissing),
            std::move(deleteQuestion),
            "",
            2,
            [](const std::string&) { return std::string(); }};
}

const WindowCase kExpenseHeads = simpleWindow(
    "ExpenseHeads", [] { return std::make_unique<frmExpensetypes>(); }, "Expense types", "Expense type",
    "Enter Expense head!", "Are you sure that you want to delete the record ?");
const WindowCase kCostCentres = simpleWindow(
    "CostCentres", [] { return std::make_unique<frmprojectcodes>(); }, "projectcodes", "projectcode",
    "Enter Project code!", "Are you sure that you want to delete the project/cost-centre ?");

class MasterFamilyTest : public testing::BookWindowTest, public ::testing::WithParamInterface<WindowCase> {
protected:
    void TearDown() override {
        if (window_ && window_->isLoaded()) {
            window_->datPrimaryRS.releaseRecordset();
            window_->unload();
        }
        BookWindowTest::TearDown();
    }

    // The window on a table holding these keys (in key order, which is also the order they were added).
    MasterDataForm& shown(const std::vector<std::string>& keys = {"Anil", "Bina", "Chen"}) {
        fillTable(param().table, param().keyColumn, keys);
        window_ = param().make();
        window_->show();
        return *window_;
    }
    const WindowCase& param() const { return GetParam(); }
    forms::TextBox& keyBox() { return param().keyBox(*window_); }
    std::string position() { return param().shownPosition(*window_); }
    std::string expectedPosition(int position, int rows) { return param().expectedPosition(position, rows); }
    bool framesEnabled() {
        bool all = true;
        for (forms::Frame* frame : param().frames(*window_)) all = all && frame->enabled();
        return all;
    }
    std::vector<std::string> storedKeys() {
        return texts("select [" + param().keyColumn + "] from [" + param().table + "] order by [" + param().keyColumn +
                     "]");
    }
    void addRowWithKey(const std::string& key) {
        ASSERT_TRUE(forms::user::click(window_->cmdadd));
        ASSERT_TRUE(keyBox().hasFocus());
        forms::user::typeText(keyBox(), key);
    }

    std::unique_ptr<MasterDataForm> window_;
};

TEST_P(MasterFamilyTest, OpensOnTheFirstRowAndShowsItsPosition) {
    MasterDataForm& w = shown();
    EXPECT_EQ(keyBox().text(), "Anil");
    EXPECT_EQ(position(), expectedPosition(1, 3));
    EXPECT_EQ(w.cmdDelete.caption(), "Delete");
    EXPECT_TRUE(framesEnabled());
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Browsing);
    ASSERT_TRUE(forms::user::selectGridRow(w.DBGrid1, 2));
    EXPECT_EQ(keyBox().text(), "Chen");
    EXPECT_EQ(position(), expectedPosition(3, 3));
}

TEST_P(MasterFamilyTest, SavesANewRowAndShowsIt) {
    MasterDataForm& w = shown();
    forms::user::click(w.cmdadd);
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Adding);
    EXPECT_EQ(w.cmdDelete.caption(), "Cancel");
    EXPECT_EQ(position(), expectedPosition(0, 3));
    EXPECT_EQ(keyBox().text(), "");
    forms::user::typeText(keyBox(), "Dina");
    forms::user::click(w.cmdupdate);
    EXPECT_EQ(storedKeys(), (std::vector<std::string>{"Anil", "Bina", "Chen", "Dina"}));
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Browsing);
    EXPECT_EQ(keyBox().text(), "Dina");
    EXPECT_EQ(position(), expectedPosition(4, 4));
    EXPECT_EQ(w.cmdDelete.caption(), "Delete");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_P(MasterFamilyTest, SavesAChangedRowInPlace) {
    MasterDataForm& w = shown();
    forms::user::selectGridRow(w.DBGrid1, 1);
    forms::user::typeText(keyBox(), "a");
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Editing);
    forms::user::click(w.cmdupdate);
    EXPECT_EQ(storedKeys(), (std::vector<std::string>{"Anil", "Binaa", "Chen"}));
    EXPECT_EQ(keyBox().text(), "Binaa");
    EXPECT_EQ(position(), expectedPosition(2, 3));
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Browsing);
}

TEST_P(MasterFamilyTest, SaveWithNothingChangedWritesNothingAndStays) {
    MasterDataForm& w = shown();
    forms::user::selectGridRow(w.DBGrid1, 1);
    forms::user::click(w.cmdupdate);
    EXPECT_EQ(keyBox().text(), "Bina");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_P(MasterFamilyTest, RefusesAnEmptyKeyAndKeepsWhatWasTyped) {
    for (const std::string typed : {"", "   "}) {
        SCOPED_TRACE("[" + typed + "]");
        MasterDataForm& w = shown();
        addRowWithKey(typed);
        ui.clearJournal();
        ui.expectMessage(param().keyMissing);
        forms::user::click(w.cmdupdate);
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + param().keyMissing}));
        EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Adding);
        EXPECT_EQ(keyBox().text(), typed);
        EXPECT_EQ(storedKeys().size(), 3u);
        w.datPrimaryRS.releaseRecordset();
        w.unload();
    }
}

TEST_P(MasterFamilyTest, ReportsARepeatedKeyOnceAndKeepsWhatWasTyped) {
    for (const std::string typed : {"Bina", "BINA"}) {  // the book compares keys without regard to letter case
        SCOPED_TRACE(typed);
        std::string report = param().repeatedKey(typed);
        if (report.empty()) report = "Error 3022 - " + jet::errors::duplicateKey().description() + param().saveErrorNote;
        MasterDataForm& w = shown();
        addRowWithKey(typed);
        ui.clearJournal();
        ui.expectMessage(report);
        forms::user::click(w.cmdupdate);
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + report}));
        EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Adding);
        EXPECT_EQ(keyBox().text(), typed);
        EXPECT_EQ(storedKeys(), (std::vector<std::string>{"Anil", "Bina", "Chen"}));
        w.datPrimaryRS.releaseRecordset();
        w.unload();
    }
}

TEST_P(MasterFamilyTest, DeleteAsksAndOnlyYesDeletes) {
    struct Case {
        forms::MsgResult answer;
        int row;  // the row deleted
        std::vector<std::string> left;
        std::string current;
    };
    const Case cases[] = {
        {forms::MsgResult::No, 1, {"Anil", "Bina", "Chen"}, "Bina"},
        {forms::MsgResult::Yes, 1, {"Anil", "Chen"}, "Chen"},  // the next row becomes current
        {forms::MsgResult::Yes, 2, {"Anil", "Bina"}, "Bina"},  // none after it: the last row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        MasterDataForm& w = shown();
        forms::user::selectGridRow(w.DBGrid1, c.row);
        ui.clearJournal();
        ui.expectMessage(param().deleteQuestion, c.answer);
        forms::user::click(w.cmdDelete);
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox YesNo: " + param().deleteQuestion +
                                                                           " -> " + forms::toString(c.answer)}));
        EXPECT_EQ(storedKeys(), c.left);
        EXPECT_EQ(keyBox().text(), c.current);
        w.unload();
    }
}

TEST_P(MasterFamilyTest, AnEmptyTableHasNothingToDeleteAndBoxesOnlyForANewRow) {
    MasterDataForm& w = shown({});
    EXPECT_FALSE(framesEnabled());
    EXPECT_EQ(position(), expectedPosition(0, 0));
    ui.expectMessage("No records to delete!");
    forms::user::click(w.cmdDelete);
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: No records to delete!"}));

    forms::user::click(w.cmdadd);
    EXPECT_TRUE(framesEnabled());
    EXPECT_TRUE(keyBox().hasFocus());
    const std::string discard =
        "You have added a record, but have not saved it yet. Are you sure that you want to discard this record ?";
    ui.expectMessage(discard, forms::MsgResult::Yes);
    forms::user::click(w.cmdDelete);
    EXPECT_FALSE(framesEnabled());
    EXPECT_EQ(w.DBGrid1.row(), -1);
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Browsing);
}

TEST_P(MasterFamilyTest, CancellingANewRowAsksThenShowsTheLastRow) {
    const std::string discard =
        "You have added a record, but have not saved it yet. Are you sure that you want to discard this record ?";
    MasterDataForm& w = shown();
    addRowWithKey("Dina");
    ui.expectMessage(discard, forms::MsgResult::No);
    forms::user::click(w.cmdDelete);
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Adding);
    EXPECT_EQ(keyBox().text(), "Dina");

    ui.expectMessage(discard, forms::MsgResult::Yes);
    forms::user::click(w.cmdDelete);
    EXPECT_EQ(w.rowState(), MasterDataForm::RowState::Browsing);
    EXPECT_EQ(keyBox().text(), "Chen");
    EXPECT_EQ(position(), expectedPosition(3, 3));
    EXPECT_EQ(w.cmdDelete.caption(), "Delete");
    EXPECT_EQ(storedKeys().size(), 3u);
    EXPECT_EQ(ui.beepCount(), 2);
}

TEST_P(MasterFamilyTest, CloseAsksOnlyWhileAChangeIsPendingAndWritesNothing) {
    const std::string question = "You have not updated the data. Discard the changes?";
    MasterDataForm& w = shown();
    forms::user::typeText(keyBox(), "x");
    ui.expectMessage(question, forms::MsgResult::No);
    forms::user::click(w.cmdclose);
    EXPECT_TRUE(w.isLoaded());
    ui.expectMessage(question, forms::MsgResult::Yes);
    forms::user::click(w.cmdclose);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(storedKeys(), (std::vector<std::string>{"Anil", "Bina", "Chen"}));

    MasterDataForm& again = shown();
    ui.clearJournal();
    forms::user::click(again.cmdclose);
    EXPECT_FALSE(again.isLoaded());
    EXPECT_TRUE(ui.journal().empty());
}

TEST_P(MasterFamilyTest, ADataErrorOfAMoveIsAnsweredWithBeepsOnly) {
    MasterDataForm& w = shown();
    forms::user::editText(keyBox(), "bina");  // the grid's move writes the row first: a repeated key
    ui.clearJournal();
    forms::user::selectGridRow(w.DBGrid1, 2);
    EXPECT_EQ(ui.journalLines(), std::vector<std::string>(static_cast<size_t>(param().dataErrorBeeps), "beep"));
    EXPECT_EQ(storedKeys(), (std::vector<std::string>{"Anil", "Bina", "Chen"}));
    EXPECT_EQ(keyBox().text(), "bina");
}

INSTANTIATE_TEST_SUITE_P(Windows, MasterFamilyTest, ::testing::Values(kEmployeeMaster, kExpenseHeads, kCostCentres),
                         printName);

}  // namespace
}  // namespace petty
