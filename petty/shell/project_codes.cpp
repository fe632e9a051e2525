#include "petty/shell/project_codes.h"

#include "petty/shell/book_queries.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {
constexpr const char* kGeneral = "General";
}

frmprojectcodes::frmprojectcodes()
    : SimpleMasterForm("frmprojectcodes",
                       {kProjectCodesMasterSql, "Enter Project code!",
                        "Are you sure that you want to delete the project/cost-centre ?", "", 2},
                       "projectcode") {
    setCaption("Projects / Cost-centres");
    lblTitle.setCaption("Project codes / cost-centres");
    DBGrid1.addColumn("Project-code/cost-centre", "projectcode").setWidth(2400);
    DBGrid1.addColumn("Active", "Active").setWidth(900);
    DBGrid1.column("Active").setNumberFormat("Yes/No");
    DBGrid1.addColumn("Description", "Description").setWidth(3900);
    cmdadd.setToolTip("Press this button, enter data and then press save button.");
    addField(0, "Project code:", "projectcode").onKeyPress = [this](int& keyAscii) { txtFields0_KeyPress(keyAscii); };
    addField(1, "Description", "Description");
    Check1.setCaption("Active");
    Check1.bind(datPrimaryRS, "Active");
    addToFrame(Check1);
    finishLayout({"Expense category is used to classify expenses for reporting"});
}

void frmprojectcodes::newRowStarted() { Check1.setValue(forms::vbChecked); }

bool frmprojectcodes::deletionRefused() {
    if (vb::ucase(keyBox().text()) != vb::ucase(kGeneral)) return false;
    forms::ui().beep();
    forms::ui().msgBox("You cannot delete 'General' project / cc!");
    return true;
}

// The code of the "General" row cannot be typed over (the test minds letter case, as typing does).
void frmprojectcodes::txtFields0_KeyPress(int& keyAscii) {
    if (keyBox().text() != kGeneral) return;
    keyAscii = 0;
    forms::ui().beep();
}

}  // namespace petty
