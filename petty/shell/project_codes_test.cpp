#include "petty/shell/project_codes.h"

#include <gtest/gtest.h>

#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

class CostCentresTest : public testing::BookWindowFormTest<frmprojectcodes> {
protected:
    forms::TextBox& codeBox() { return window.txtFields[0]; }
    std::vector<std::string> codes() { return texts("select [projectcode] from projectcodes order by [projectcode]"); }
};

TEST_F(CostCentresTest, ANewCodeStartsActive) {
    window.show();
    EXPECT_EQ(codeBox().text(), "General");  // the code every book starts with
    forms::user::click(window.cmdadd);
    EXPECT_EQ(window.Check1.value(), forms::vbChecked);
    EXPECT_TRUE(codeBox().hasFocus());
    forms::user::typeText(codeBox(), "Site 4");
    forms::user::typeText(window.txtFields[1], "Warehouse");
    forms::user::click(window.cmdupdate);
    EXPECT_EQ(texts("select [Active] from projectcodes where [projectcode] = 'Site 4'"),
              std::vector<std::string>{"True"});
    EXPECT_EQ(window.datPrimaryRS.caption(), "Record: 2");
    EXPECT_EQ(window.Label3.caption(), "Site 4");
    const int active = 1;  // the grid's "Active" column shows Yes/No
    EXPECT_EQ(window.DBGrid1.cellText(0, active), "Yes");
    EXPECT_EQ(window.DBGrid1.cellText(1, active), "Yes");
}

TEST_F(CostCentresTest, GeneralCanNeitherBeDeletedNorTypedOver) {
    struct Case {
        std::string stored;       // the code of the protected row in the book
        std::string afterTyping;  // the code box after typing "x" at its end
        int typingBeeps;
    };
    // Deleting compares without regard to letter case; the typing guard minds it.
    const Case cases[] = {{"General", "General", 1}, {"general", "generalx", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        fillTable("projectcodes", "projectcode", {c.stored, "Site 4"});
        window.show();
        ui.clearJournal();
        ui.expectMessage("You cannot delete 'General' project / cc!");
        forms::user::click(window.cmdDelete);
        EXPECT_EQ(ui.journalLines(),
                  (std::vector<std::string>{"beep", "msgbox: You cannot delete 'General' project / cc!"}));
        EXPECT_EQ(codes().size(), 2u);

        ui.clearJournal();
        forms::user::typeText(codeBox(), "x");
        EXPECT_EQ(codeBox().text(), c.afterTyping);
        EXPECT_EQ(ui.beepCount(), c.typingBeeps);
        window.datPrimaryRS.releaseRecordset();
        window.unload();
    }
}

TEST_F(CostCentresTest, OtherCodesTakeTypingAndCanBeDeleted) {
    fillTable("projectcodes", "projectcode", {"General", "Site 4"});
    window.show();
    forms::user::selectGridRow(window.DBGrid1, 1);
    forms::user::typeText(codeBox(), "\b5");
    EXPECT_EQ(codeBox().text(), "Site 5");
    forms::user::click(window.cmdupdate);
    ui.expectMessage("Are you sure that you want to delete the project/cost-centre ?", forms::MsgResult::Yes);
    forms::user::click(window.cmdDelete);
    EXPECT_EQ(codes(), std::vector<std::string>{"General"});
}

}  // namespace
}  // namespace petty
