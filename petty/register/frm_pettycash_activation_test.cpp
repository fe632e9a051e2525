#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/register_rows_test_support.h"
#include "platform/vb/clock.h"

namespace petty {
namespace {

namespace user = forms::user;

class ActivationTest : public testing::RegisterRowsTest {
protected:
    // The user works in another window and comes back to the register.
    static void comeBack(frmpettycash& w) {
        forms::Form other("other");
        other.show();
        ASSERT_TRUE(user::activateForm(w));
        other.unload();
    }
    void addEmployee(const std::string& name) {
        openBook(bookPath(folder.path())).execute("INSERT INTO employeemaster ([Name]) VALUES (?)", {name});
    }
    static bool offers(const forms::ComboBox& combo, const std::string& name) {
        return std::count(combo.items().begin(), combo.items().end(), name) == 1;
    }

    vb::FixedClock clock{*vb::DateTime::fromParts(2026, 3, 31, 10, 0)};
    vb::ScopedClock useClock{clock};
};

struct ReminderCase {
    const char* name;
    int reminderDays;
    bool noAdvanceMode;
    const char* advanceDate;
    std::vector<std::string> journal;
    bool checked;  // advanceReminderShown afterwards
};

TEST_F(ActivationTest, TheOldAdvanceReminderCountsFromAnInclusiveCutOffDay) {
    const std::string reminder = "There are 1 advance vouchers older than 30 days which are not settled yet !!!";
    const std::vector<ReminderCase> cases = {
        {"exactly as old as the reminder days", 30, false, "2026-03-01", {"beep", "msgbox: " + reminder}, true},
        {"one day younger", 30, false, "2026-03-02", {}, true},
        {"reminder switched off", 0, false, "2026-01-01", {}, false},
        {"reminder days negative", -5, false, "2026-01-01", {}, false},
        {"advances not in use", 30, true, "2026-01-01", {}, false},
    };
    for (const ReminderCase& c : cases) {
        SCOPED_TRACE(c.name);
        openBook(bookPath(folder.path())).execute("DELETE FROM pettycash");
        add({.date = c.advanceDate, .type = "Advance Issued from PC", .credit = money("100"), .matchRequired = "Yes"});
        appState().reminderDays = static_cast<int16_t>(c.reminderDays);
        appState().noAdvanceMode = c.noAdvanceMode;
        if (!c.journal.empty()) ui.expectMessage(reminder);
        ui.clearJournal();
        frmpettycash w;
        w.show();
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_EQ(w.advanceReminderShown, c.checked);
    }
}

TEST_F(ActivationTest, TheReminderComesOncePerRunEvenWhenItFoundNothing) {
    appState().reminderDays = 10;
    frmpettycash& w = shown();
    EXPECT_TRUE(w.advanceReminderShown);
    add({.date = "2026-01-05", .type = "Advance Issued from PC", .credit = money("100"), .matchRequired = "Yes"});
    comeBack(w);
    comeBack(w);
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(ActivationTest, AFailingReminderQueryIsNotTriedAgain) {
    appState().reminderDays = 10;
    appState().businessDbPath = appState().appFolder + "missing.mdb";
    frmpettycash& w = shown();
    EXPECT_TRUE(w.advanceReminderShown);
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(ActivationTest, EveryActivationKeepsTheWindowMaximised) {
    frmpettycash& w = shown();
    EXPECT_EQ(w.windowState(), forms::WindowState::Maximized);
    comeBack(w);
    EXPECT_EQ(w.windowState(), forms::WindowState::Maximized);
    w.setWindowState(forms::WindowState::Normal);
    comeBack(w);
    EXPECT_EQ(w.windowState(), forms::WindowState::Maximized);
}

TEST_F(ActivationTest, WithoutAdvancesTheAdvanceMarksAreHiddenAgainAtEveryActivation) {
    appState().noAdvanceMode = true;
    frmpettycash& w = shown();
    const std::vector<forms::Control*> marks = {&w.Label9[2], &w.Image1[0], &w.Image1[1], &w.MyButtonExpand};
    for (forms::Control* c : marks) {
        EXPECT_FALSE(c->visible()) << c->displayName();
        c->setVisible(true);
    }
    comeBack(w);
    for (forms::Control* c : marks) EXPECT_FALSE(c->visible()) << c->displayName();
}

TEST_F(ActivationTest, ANewEmployeeIsOfferedOnceTheRegisterIsActivatedAgain) {
    frmpettycash& w = shown();
    addEmployee("Zoe");
    appState().employeeListChanged = true;  // as the employee master sets it on saving a new employee
    EXPECT_FALSE(offers(w.DBCombo2, "Zoe"));
    comeBack(w);
    EXPECT_TRUE(offers(w.DBCombo2, "Zoe"));
    EXPECT_TRUE(offers(w.DBCombo1, "Zoe"));
    EXPECT_FALSE(appState().employeeListChanged);
    // Consumed: the loss of focus has nothing left to do.
    addEmployee("Yann");
    w.Form_LostFocus();
    EXPECT_FALSE(offers(w.DBCombo2, "Yann"));
}

TEST_F(ActivationTest, HeadsAndCostCentresChangedInTheirMastersAreOfferedOnceTheRegisterIsActivatedAgain) {
    frmpettycash& w = shown();
    jet::Database book = openBook(bookPath(folder.path()));
    book.execute("INSERT INTO [Expense types] ([Expense type]) VALUES ('Courier')");
    book.execute("INSERT INTO projectcodes ([projectcode], [Active]) VALUES ('Site 4', true), ('Old', false)");
    book.execute("UPDATE projectcodes SET [Active] = false WHERE [projectcode] = 'General'");
    w.dbCombo3.setText("typed before");
    EXPECT_FALSE(offers(w.Combopcashhead, "Courier"));
    EXPECT_TRUE(offers(w.dbCombo3, "General"));
    comeBack(w);
    EXPECT_TRUE(offers(w.Combopcashhead, "Courier"));
    EXPECT_TRUE(offers(w.dbCombo3, "Site 4"));
    EXPECT_FALSE(offers(w.dbCombo3, "Old"));
    EXPECT_FALSE(offers(w.dbCombo3, "General")) << "no longer in use";
    EXPECT_EQ(w.dbCombo3.text(), "typed before");
}

TEST_F(ActivationTest, ALargerWindowGivesItsRoomToTheRegisterGridAndASmallerOneKeepsTheLayout) {
    frmpettycash& w = shown();
    const forms::Geometry form = w.geometry();
    const forms::Geometry grid = w.TDBGrid1.geometry();
    const forms::Geometry settlementGrid = w.TDBGrid2.geometry();
    const forms::Geometry search = w.SSTab1.geometry();
    const int tabWidth = w.SSTab2.width();

    w.move(form.left, form.top, form.width + 3000, form.height + 1500);  // the main window maximised
    EXPECT_EQ(w.TDBGrid1.height(), grid.height + 1500);
    EXPECT_EQ(w.TDBGrid1.width(), grid.width + 3000);
    EXPECT_EQ(w.TDBGrid2.top(), settlementGrid.top + 1500);
    EXPECT_EQ(w.TDBGrid2.height(), settlementGrid.height);
    EXPECT_EQ(w.SSTab1.top(), search.top + 1500);
    EXPECT_EQ(w.SSTab2.width(), tabWidth + 3000);
    // The expand button hides the settlement grid and gives its height to the grown register grid, and back.
    ASSERT_TRUE(user::click(w.MyButtonExpand));
    EXPECT_EQ(w.TDBGrid1.height(), grid.height + 1500 + settlementGrid.height);
    ASSERT_TRUE(user::click(w.MyButtonExpand));
    EXPECT_EQ(w.TDBGrid1.height(), grid.height + 1500);

    w.move(form.left, form.top, form.width - 600, form.height - 600);  // smaller than the layout
    EXPECT_EQ(w.TDBGrid1.geometry(), grid);
    EXPECT_EQ(w.TDBGrid2.geometry(), settlementGrid);
    EXPECT_EQ(w.SSTab1.geometry(), search);
}

TEST_F(ActivationTest, LosingTheFocusPicksUpANewEmployeeAndBeepsAtAPendingChange) {
    add({.credit = money("10")});
    frmpettycash& w = shown();
    addEmployee("Zoe");
    appState().employeeListChanged = true;
    w.Textpcash[kNarrationBox].setText("typed");
    ui.clearJournal();
    w.Form_LostFocus();
    EXPECT_EQ(ui.journalLines(), std::vector<std::string>{"beep"});
    EXPECT_TRUE(offers(w.DBCombo2, "Zoe"));
    EXPECT_FALSE(appState().employeeListChanged);
    EXPECT_EQ(w.Textpcash[kNarrationBox].text(), "typed");
}

TEST_F(ActivationTest, AFailingEmployeeReadKeepsTheListAndClearsTheFlag) {
    addEmployee("Asha");
    frmpettycash& w = shown();
    w.Data1.setRecordSource("select [name] from [no such table]");
    appState().employeeListChanged = true;
    comeBack(w);
    EXPECT_TRUE(offers(w.DBCombo2, "Asha"));
    EXPECT_FALSE(appState().employeeListChanged);
}

TEST_F(ActivationTest, UnloadReleasesEveryRecordsetAndWritesNothing) {
    const int64_t id = add({.credit = money("10")});
    frmpettycash& w = shown();
    w.Textpcash[kNarrationBox].setText("typed, never saved");
    ui.clearJournal();
    ASSERT_TRUE(w.unload());
    for (forms::DataControl* data : {&w.datPrimaryRS, &w.DatPrimaryRSread, &w.Datacommon, &w.Datacommonwrite, &w.Data1})
        EXPECT_FALSE(data->hasRecordset()) << data->name();
    EXPECT_TRUE(openBook(bookPath(folder.path()))
                    .openRecordset("select Narration from pettycash where VoucherID = ?", {jet::Value(id)})
                    .field("Narration")
                    .isNull());
    EXPECT_TRUE(ui.journal().empty());
}

}  // namespace
}  // namespace petty
