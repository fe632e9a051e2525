#include "petty/app/new_book_window.h"

#include "petty/shell/business_database.h"
#include "petty/shell/program_info.h"
#include "platform/vb/text_functions.h"

namespace petty {

frmNewBook::frmNewBook(std::filesystem::path folder) : Form("frmnewbook"), folder_(std::move(folder)) {
    setCaption(std::string(kProgramName) + " - New book");
    move(0, 0, 7200, 5040);
    lblIntro.setCaption("No book was found in " + folder_.string() +
                        ". Choose the user names and passwords of the two log-ins to create one.");
    lblIntro.move(240, 180, 6720, 600);

    const struct {
        forms::Label& label;
        const char* caption;
        forms::TextBox& box;
        bool secret;
    } rows[] = {
        {lblUserName, "Normal log-in user name:", txtUserName, false},
        {lblPassword, "Normal log-in password:", txtPassword, true},
        {lblPasswordAgain, "Type it again:", txtPasswordAgain, true},
        {lblApprovalUserName, "Approval log-in user name:", txtApprovalUserName, false},
        {lblApproval, "Approval log-in password:", txtApproval, true},
        {lblApprovalAgain, "Type it again:", txtApprovalAgain, true},
    };
    int top = 960;
    for (const auto& row : rows) {
        row.label.setCaption(row.caption);
        row.label.move(240, top + 40, 2900, 300);
        if (row.secret) row.box.setPasswordChar('*');
        row.box.move(3240, top, 3720, 360);
        top += 540;
    }
    cmdCreate.setCaption("Create book");
    cmdCreate.setDefault(true);
    cmdCreate.move(3960, 4380, 1560, 420);
    cmdCancel.setCaption("Cancel");
    cmdCancel.setCancel(true);
    cmdCancel.move(5640, 4380, 1320, 420);

    cmdCreate.onClick = [this] { cmdCreate_Click(); };
    cmdCancel.onClick = [this] { unload(); };
}

void frmNewBook::refuse(const std::string& message, forms::TextBox& box) {
    forms::ui().msgBox(message, forms::MsgButtons::OkOnly, forms::MsgIcon::Exclamation);
    box.setFocus();
}

void frmNewBook::cmdCreate_Click() {
    if (const std::string problem = logInNameProblem(txtUserName.text(), txtApprovalUserName.text());
        !problem.empty())
        return refuse(problem, vb::trim(txtUserName.text()).empty() ? txtUserName : txtApprovalUserName);
    if (txtPassword.text() != txtPasswordAgain.text())
        return refuse("The two entries of the normal password differ.", txtPasswordAgain);
    if (txtApproval.text() != txtApprovalAgain.text())
        return refuse("The two entries of the approval password differ.", txtApprovalAgain);
    if (const std::string problem = logInPasswordProblem(txtPassword.text(), txtApproval.text()); !problem.empty())
        return refuse(problem, txtPassword);
    try {
        createBook(folder_, {txtUserName.text(), txtPassword.text(), txtApprovalUserName.text(), txtApproval.text()});
    } catch (const std::exception& e) {  // BookError, or the file system's own
        forms::ui().msgBox(e.what(), forms::MsgButtons::OkOnly, forms::MsgIcon::Critical);
        return;
    }
    created_ = true;
    unload();
}

}  // namespace petty
