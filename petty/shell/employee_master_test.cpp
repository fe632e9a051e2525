#include "petty/shell/employee_master.h"

#include <gtest/gtest.h>

#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

class EmployeeMasterTest : public testing::BookWindowFormTest<frmemployeemaster> {
protected:
    frmemployeemaster& shown(const std::vector<std::string>& names = {"Anil", "Bina", "Chen"}) {
        fillTable("employeemaster", "Name", names);
        window.show();
        return window;
    }
    forms::TextBox& nameBox() { return window.txtFields[2]; }
    std::vector<std::string> names() { return texts("select [Name] from employeemaster order by [Name]"); }
};

TEST_F(EmployeeMasterTest, BoxesLabelsAndGridColumns) {
    struct Field {
        int index;
        const char* label;  // nullptr: the box has none
        const char* column;
        forms::Frame* frame;
    };
    const Field fields[] = {
        {1, "Employee Code:", "Employeecode", &window.Frame1},
        {2, "Name:", "Name", &window.Frame1},
        {34, "Full Name:", "Full Name", &window.Frame1},
        {4, "Group/Dept:", "Department", &window.Frame1},
        {9, "Designation/title:", "Title", &window.Frame1},
        {6, "Tel. Extension:", "Extn", &window.Frame2},
        {28, "E-mail :", "e-mail", &window.Frame2},
        {14, "Mobile No:", "Mobileno", &window.Frame2},
        {3, "Residence Phone No:", "Residence No", &window.Frame2},
        {25, nullptr, "mobilemail", &window.Frame2},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.index);
        EXPECT_EQ(window.txtFields[f.index].dataField(), f.column);
        EXPECT_EQ(window.txtFields[f.index].container(), f.frame);
        EXPECT_EQ(window.lblLabels.contains(f.index), f.label != nullptr);
        if (f.label) {
            EXPECT_EQ(window.lblLabels[f.index].caption(), f.label);
        }
    }
    EXPECT_EQ(window.chkFields[18].dataField(), "service staff");
    EXPECT_EQ(window.chkFields[18].caption(), "Service staff");

    const std::vector<std::pair<std::string, std::string>> columns = {
        {"Name", "Name"},          {"Group", "Department"}, {"Email", "e-mail"}, {"SMSmailID", "mobilemail"},
        {"Mobile No", "Mobileno"}, {"Designation", "Title"}};
    ASSERT_EQ(window.DBGrid1.columnCount(), static_cast<int>(columns.size()));
    for (int i = 0; i < window.DBGrid1.columnCount(); ++i) {
        EXPECT_EQ(window.DBGrid1.column(i).caption(), columns[static_cast<size_t>(i)].first);
        EXPECT_EQ(window.DBGrid1.column(i).dataField(), columns[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(window.caption(), "Employees and other Pettycash receivers");
    EXPECT_EQ(window.cmdadd.caption(), "Add record");
}

TEST_F(EmployeeMasterTest, RowsInNameOrderAndOnlyTheCloseButtonCloses) {
    shown({"zara", "Bina", "anil"});
    EXPECT_EQ(window.DBGrid1.cellText(0, 0), "anil");
    EXPECT_EQ(window.DBGrid1.cellText(2, 0), "zara");
    EXPECT_EQ(window.DBGrid1.caption(), "Employee 1 of 3");
    EXPECT_FALSE(window.closeBoxEnabled());
    EXPECT_FALSE(forms::user::closeForm(window));
    EXPECT_TRUE(window.isLoaded());
}

TEST_F(EmployeeMasterTest, ANewNameIsTrimmedAndTellsTheRegister) {
    shown();
    forms::user::click(window.cmdadd);
    forms::user::typeText(nameBox(), "  Esha  ");
    forms::user::typeText(window.txtFields[1], "E5");
    forms::user::click(window.cmdupdate);
    EXPECT_EQ(names(), (std::vector<std::string>{"Anil", "Bina", "Chen", "Esha"}));
    EXPECT_EQ(nameBox().text(), "Esha");
    EXPECT_EQ(window.txtFields[1].text(), "E5");
    EXPECT_TRUE(appState().employeeListChanged);
}

TEST_F(EmployeeMasterTest, ChangingOrDeletingAnEmployeeLeavesTheRegisterAlone) {
    shown();
    forms::user::typeText(window.txtFields[4], "Stores");
    forms::user::click(window.cmdupdate);
    EXPECT_EQ(texts("select [Department] from employeemaster where [Name] = 'Anil'"),
              std::vector<std::string>{"Stores"});
    ui.expectMessage("Are you sure that you want to delete this employee ?", forms::MsgResult::Yes);
    forms::user::click(window.cmdDelete);
    EXPECT_EQ(names(), (std::vector<std::string>{"Bina", "Chen"}));
    EXPECT_FALSE(appState().employeeListChanged);
}

TEST_F(EmployeeMasterTest, ARefusedNewEmployeeStillTellsTheRegister) {
    shown();
    forms::user::click(window.cmdadd);
    forms::user::typeText(nameBox(), "chen");
    forms::user::typeText(window.txtFields[1], "E9");
    ui.expectMessage("An employee named chen exists already.");
    forms::user::click(window.cmdupdate);
    EXPECT_TRUE(appState().employeeListChanged);
    EXPECT_EQ(names().size(), 3u);
    EXPECT_EQ(window.txtFields[1].text(), "E9");
}

TEST_F(EmployeeMasterTest, ARepeatedCodeIsRefusedToo) {
    shown();
    openBook(bookPath(folder.path())).execute("UPDATE employeemaster SET [Employeecode] = 'e1' WHERE [Name] = 'Anil'");
    forms::user::click(window.cmdadd);
    forms::user::typeText(nameBox(), "Dina");
    forms::user::typeText(window.txtFields[1], "E1");
    ui.expectMessage("An employee with the code E1 exists already.");
    forms::user::click(window.cmdupdate);
    EXPECT_EQ(names().size(), 3u);
}

TEST_F(EmployeeMasterTest, AnEditThatRepeatsAnotherEmployeeNamesTheOneThere) {
    shown();
    openBook(bookPath(folder.path())).execute("UPDATE employeemaster SET [Employeecode] = 'E2' WHERE [Name] = 'Bina'");
    // Anil renamed to Bina's name; then Anil keeps his name and takes Bina's code.
    ASSERT_TRUE(forms::user::editText(nameBox(), "BINA"));
    ui.expectMessage("An employee named BINA exists already.");
    forms::user::click(window.cmdupdate);
    ASSERT_TRUE(forms::user::editText(nameBox(), "Anil"));
    ASSERT_TRUE(forms::user::editText(window.txtFields[1], "e2"));
    ui.expectMessage("An employee with the code e2 exists already.");
    forms::user::click(window.cmdupdate);
    EXPECT_EQ(names(), (std::vector<std::string>{"Anil", "Bina", "Chen"}));
}

TEST_F(EmployeeMasterTest, PreviousAndNextStopAtTheEnds) {
    shown();
    struct Step {
        int button;
        std::string shown;
    };
    const Step steps[] = {{0, "Anil"}, {1, "Bina"}, {1, "Chen"}, {1, "Chen"}, {0, "Bina"}, {0, "Anil"}, {0, "Anil"}};
    for (const Step& s : steps) {
        forms::user::click(window.Moov[s.button]);
        EXPECT_EQ(nameBox().text(), s.shown);
    }
    EXPECT_EQ(window.DBGrid1.caption(), "Employee 1 of 3");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(EmployeeMasterTest, PreviousAndNextKeepANewRow) {
    shown();
    forms::user::click(window.cmdadd);
    forms::user::typeText(nameBox(), "Dina");
    for (int button : {0, 1}) {
        ui.expectMessage("Record is not fully updated. You cannot move to the another record!");
        forms::user::click(window.Moov[button]);
        EXPECT_EQ(nameBox().text(), "Dina");
        EXPECT_EQ(window.rowState(), MasterDataForm::RowState::Adding);
    }
}

TEST_F(EmployeeMasterTest, PreviousAndNextDoNothingOnAnEmptyTable) {
    shown({});
    forms::user::click(window.Moov[1]);
    forms::user::click(window.cmdadd);
    forms::user::click(window.Moov[0]);  // nothing current below the new row
    EXPECT_TRUE(ui.journal().empty());
    EXPECT_EQ(window.rowState(), MasterDataForm::RowState::Adding);
}

TEST_F(EmployeeMasterTest, AddIsRefusedWhileAChangeIsPending) {
    const std::string refusal = "You have made some changes! Save the record and then add new one!";
    shown();
    forms::user::typeText(window.txtFields[9], "Clerk");  // an edit of the current row
    ui.expectMessage(refusal);
    forms::user::click(window.cmdadd);
    EXPECT_EQ(nameBox().text(), "Anil");

    forms::user::click(window.cmdupdate);
    forms::user::click(window.cmdadd);
    forms::user::typeText(nameBox(), "Dina");
    ui.expectMessage(refusal);  // and while a new row is pending
    forms::user::click(window.cmdadd);
    EXPECT_EQ(nameBox().text(), "Dina");
}

}  // namespace
}  // namespace petty
