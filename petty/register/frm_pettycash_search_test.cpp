#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/frm_pettycash.h"
#include "petty/shell/frm_select_session.h"
#include "petty/register/register_window.h"
#include "petty/shell/business_database.h"
#include "petty/shell/pettycash_main.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/shell_test_support.h"
#include "platform/forms/keys.h"
#include "platform/vb/date_time.h"

namespace petty {
namespace {

namespace user = forms::user;

constexpr PeriodId kClosedPeriod = 2404010900;
constexpr PeriodId kOpenPeriod = 2405151430;

class RegisterSearchTest : public testing::ShellTest {
protected:
    RegisterSearchTest() {
        AppState& state = appState();
        state.appFolder = withFolderSeparator(state.programFolder);
        state.businessDbPath = state.appFolder + std::string(kBookFileName);
        // Vouchers 1..4: one of a closed period, three of the open one.
        add("'Asha', 'Cash transfer to PC', NULL, 'float', 'Ravi', 'Yes', NULL, NULL, 'No', 'No', NULL", kClosedPeriod);
        add("'Asha', 'Advance Issued from PC', 'Travel', 'trip', 'Ravi', 'No', 'B-17', NULL, 'No', 'No', NULL",
            kOpenPeriod);
        add("'Ben', 'Spent from Advance issued', 'Travel', 'taxi Correction', 'Mia', 'No', NULL, NULL, 'YES', 'Yes',"
            " NULL",
            kOpenPeriod);
        add("'Ben', 'Reimbursed from pettycash', 'Food', 'O''Brien lunch', 'Ravi', 'No', 'B''1', 'x.tif', 'No', 'No',"
            " 'P1'",
            kOpenPeriod);
    }

    void add(const std::string& values, PeriodId period) {
        openBook(bookPath(folder.path()))
            .execute("INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Head], [Narration],"
                     " [Enteredby], [Closed], [Billno], [document], [Matchrequired], [Matched], [Projectcode],"
                     " [TermID]) VALUES (?, '09:00', " +
                         values + ", ?)",
                     {jet::Value(*vb::DateTime::fromParts(2024, 5, 2)), jet::Value(period)});
    }

    frmpettycash& loaded() {
        frmpettycash& window = formInstances().get<frmpettycash>();
        window.load();
        return window;
    }

    static std::vector<int64_t> rowsShown(frmpettycash& w) {
        std::vector<int64_t> ids;
        forms::DataRecordset& rows = w.datPrimaryRS.recordset();
        if (rows.eof() && rows.bof()) return ids;
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) ids.push_back(rows.field("VoucherID").asLong());
        return ids;
    }

    static void setPanel(frmpettycash& w, const std::string& employee, const std::string& type,
                         const std::string& field, const std::string& value) {
        w.DBCombo1.setText(employee);
        w.Check1.setValue(employee.empty() ? forms::vbChecked : forms::vbUnchecked);
        w.Combo1.setText(type);
        w.Combo2.setText(field);
        w.combo2Text.setText(value);
    }
};

struct SearchCase {
    std::string employee, type, field, value;
    std::vector<int64_t> found;
};

TEST_F(RegisterSearchTest, EachFilterFindsItsRows) {
    frmpettycash& w = loaded();
    const std::vector<SearchCase> cases = {
        {"", "All", "No field filter", "", {1, 2, 3, 4}},
        {"Ben", "All", "", "", {3, 4}},
        {"", "Advances not settled", "", "", {2}},
        {"", "Not settled", "", "", {2}},
        {"", "Settled", "", "", {3}},
        {"", "Exclude current pettycash period", "", "", {1}},
        {"", "Current pettycash period only", "", "", {2, 3, 4}},
        {"", "Expenses without bill no", "", "", {3}},
        {"", "Expenses without scanned bill", "", "", {3}},
        {"", "Narration contains word 'correction'", "", "", {3}},
        {"", "All", "Bill No", "B-17", {2}},
        {"", "All", "Bill No", "", {1, 2, 3, 4}},
        {"", "All", "Bill No", "B'1", {4}},
        {"", "All", "Bill No", "' or ''='", {}},
        {"", "All", "Bill No", "'", {}},
        {"", "All", "Voucher No", "3", {3}},
        {"", "All", "Narration", "trip", {2}},
        {"", "All", "Narration", "t?xi", {}},  // "?" is a question mark, not a wildcard
        {"", "All", "Narration", "O'Brien", {4}},
        {"", "All", "Expense Head", "rav", {2, 3}},
        {"", "All", "Entered by", "Mia", {3}},
        {"", "All", "Transaction type", "Reimb", {4}},
        {"", "All", "Project/cost-centre", "P1", {4}},
        {"", "All", "Pettycash period ID", std::to_string(kClosedPeriod), {1}},
        {"Ben", "Settled", "Narration", "Corr", {3}},
        {"Ben", "Settled", "Narration", "*Corr*", {}},  // "*" is a star, not a wildcard
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.employee + " | " + c.type + " | " + c.field + " = " + c.value);
        setPanel(w, c.employee, c.type, c.field, c.value);
        w.Query_Click();
        EXPECT_EQ(rowsShown(w), c.found);
    }
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RegisterSearchTest, EveryCharacterLikeGivesAMeaningIsSearchedForAsItselfInEveryBox) {
    // Per character a row holding it between "k" and "z" in every searchable
    // column, then a row the character would match as a wildcard.
    struct Mark {
        char character;
        const char* decoy;
    };
    const Mark marks[] = {{'#', "k1z"}, {'[', "kaz"}, {']', "kaz"}, {'*', "kabz"},
                          {'?', "kaz"}, {'%', "kabz"}, {'_', "kaz"}};
    for (const Mark& m : marks) {
        const std::string target = std::string("k") + m.character + "z";
        for (const std::string& text : {target, std::string(m.decoy)}) {
            const std::string quoted = "'" + text + "'";
            add("'Ben', " + quoted + ", " + quoted + ", " + quoted + ", " + quoted +
                    ", 'No', " + quoted + ", NULL, 'No', 'No', " + quoted,
                kClosedPeriod);
        }
    }
    frmpettycash& w = loaded();
    const char* boxes[] = {"Narration", "Expense Head", "Entered by", "Transaction type", "Project/cost-centre",
                           "Bill No"};
    int64_t targetRow = 5;  // the fixture's four vouchers come first
    for (const Mark& m : marks) {
        const std::string typed = std::string("k") + m.character + "z";
        for (const char* box : boxes) {
            SCOPED_TRACE(std::string(box) + " = " + typed);
            setPanel(w, "", "All", box, typed);
            w.Query_Click();
            EXPECT_EQ(rowsShown(w), std::vector<int64_t>{targetRow});
        }
        targetRow += 2;
    }
    // "Invoice #12" as a clerk types it, inside a longer narration.
    add("'Ben', 'Reimbursed from pettycash', 'Food', 'Invoice #12 lunch', 'Ravi', 'No', NULL, NULL, 'No', 'No', NULL",
        kOpenPeriod);
    setPanel(w, "", "All", "Narration", "Invoice #12");
    w.Query_Click();
    EXPECT_EQ(rowsShown(w), std::vector<int64_t>{targetRow});
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RegisterSearchTest, ASearchThatCannotRunSaysWhyAndTheRowsStay) {
    frmpettycash& w = loaded();
    // A book whose register lost a column the search reads.
    w.datPrimaryRS.database().execute("ALTER TABLE pettycash RENAME COLUMN projectcode TO projectcode_old");
    setPanel(w, "", "All", "Project/cost-centre", "P1");
    ui.expectMessage("Error 3265 - Item not found in this collection.");
    w.Query_Click();
    EXPECT_EQ(ui.beepCount(), 1);
    EXPECT_EQ(rowsShown(w), (std::vector<int64_t>{2, 3, 4}));
}

TEST_F(RegisterSearchTest, NoEmployeeChosenTicksAllStaffAndAChosenEmployeeUnticksIt) {
    frmpettycash& w = loaded();
    setPanel(w, "", "All", "", "");
    w.Check1.setValue(forms::vbUnchecked);
    w.Query_Click();
    EXPECT_EQ(w.Check1.value(), forms::vbChecked);
    EXPECT_EQ(rowsShown(w), (std::vector<int64_t>{1, 2, 3, 4}));
    w.DBCombo1.setText("Asha");
    EXPECT_EQ(w.Check1.value(), forms::vbUnchecked);
}

TEST_F(RegisterSearchTest, FirstSearchAtLoadShowsTheOpenPeriodWithTheCursorOnTheLastRow) {
    frmpettycash& w = loaded();
    EXPECT_FALSE(w.firstSearchPending);
    EXPECT_EQ(w.Combo2.text(), "Pettycash period ID");
    EXPECT_EQ(w.combo2Text.text(), std::to_string(kOpenPeriod));
    EXPECT_TRUE(w.combo2Text.locked());
    EXPECT_EQ(w.combo2Text.toolTip(), "Doubleclick this column to select from a list!");
    EXPECT_EQ(w.datPrimaryRS.recordset().field("VoucherID").asLong(), 4);
    EXPECT_EQ(rowsShown(w), (std::vector<int64_t>{2, 3, 4}));
}

TEST_F(RegisterSearchTest, ANonNumericIdIsRefusedAndTheRowsStay) {
    frmpettycash& w = loaded();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Voucher No", "Numeric value expected for voucher ID based data filtering!"},
        {"Pettycash period ID", "Numeric value expected for Pettycash Period ID based data filtering!"},
    };
    for (const auto& [field, message] : cases) {
        SCOPED_TRACE(field);
        const std::string before = w.datPrimaryRS.recordSource();
        setPanel(w, "", "All", field, "12a");
        ui.expectMessage(message);
        w.Query_Click();
        EXPECT_EQ(w.datPrimaryRS.recordSource(), before);
        EXPECT_EQ(rowsShown(w), (std::vector<int64_t>{2, 3, 4}));
    }
}

TEST_F(RegisterSearchTest, PeriodTypeFilterWithAPeriodIdWarnsAndAppliesBoth) {
    frmpettycash& w = loaded();
    setPanel(w, "", "Current pettycash period only", "Pettycash period ID", std::to_string(kClosedPeriod));
    ui.expectMessage(
        "You have entered a value for pettycash period ID search, but you have also selected pettycash period "
        "filtering in the voucher type option! Select only one or else it might be contradictory!");
    w.Query_Click();
    EXPECT_EQ(w.Combo1.text(), "All");
    EXPECT_TRUE(rowsShown(w).empty());
}

TEST_F(RegisterSearchTest, AnUnsavedNewRowBlocksTheSearch) {
    frmpettycash& w = loaded();
    w.datPrimaryRS.recordset().addNew();
    const std::string before = w.datPrimaryRS.recordSource();
    setPanel(w, "", "All", "No field filter", "");
    ui.expectMessage(
        "You have added a record and not saved it yet!! Save it or cancel it before searching for vouchers!!");
    w.Query_Click();
    EXPECT_EQ(w.datPrimaryRS.recordSource(), before);
    w.datPrimaryRS.recordset().cancelUpdate();
}

TEST_F(RegisterSearchTest, ThePeriodBoxIsFilledFromThePickerAndTypingIntoItIsRefused) {
    frmpettycash& w = loaded();
    host.expectModal<frmselectSession>("frmselectSession", [](frmselectSession& f) {
        for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
            if (f.DBGrid1.cellText(row, 0) == std::to_string(kClosedPeriod)) user::selectGridRow(f.DBGrid1, row);
        user::click(f.trfr);
    });
    w.show();
    ASSERT_TRUE(user::doubleClick(w.combo2Text));  // the box is locked: a double-click still reaches it
    EXPECT_EQ(w.combo2Text.text(), std::to_string(kClosedPeriod));

    ui.expectMessage("Double click the column to select from a list of Pettycash Periods!!");
    w.combo2Text.setText(std::to_string(kClosedPeriod));
    int key = 'x';
    w.combo2Text_KeyPress(key);
    EXPECT_EQ(w.combo2Text.text(), "");

    w.combo2Text.setText(std::to_string(kClosedPeriod));
    key = forms::vbKeyReturn;
    w.combo2Text_KeyPress(key);
    EXPECT_EQ(rowsShown(w), (std::vector<int64_t>{1}));
}

TEST_F(RegisterSearchTest, FieldChoiceSetsTheValueBoxState) {
    frmpettycash& w = loaded();
    struct BoxCase {
        std::string field, toolTip;
        bool locked;
        std::string textAfter;
    };
    const std::vector<BoxCase> cases = {
        {"Transaction type", "Enter one or more letters of transaction type!", false, "kept"},
        {"No field filter", "No field filter for search data!", true, ""},
        {"Narration", "", false, "kept"},
        {"Pettycash period ID", "Doubleclick this column to select from a list!", true, "kept"},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.field);
        w.combo2Text.setText("kept");
        w.Combo2.setText(c.field);
        w.Combo2_Click();
        EXPECT_EQ(w.combo2Text.toolTip(), c.toolTip);
        EXPECT_EQ(w.combo2Text.locked(), c.locked);
        EXPECT_EQ(w.combo2Text.backColor(), c.locked ? forms::vbButtonFace : forms::rgb(186, 193, 207));
        EXPECT_EQ(w.combo2Text.text(), c.textAfter);
    }
}

}  // namespace
}  // namespace petty
