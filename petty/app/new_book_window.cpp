#include "petty/app/new_book_window.h"

#include "petty/shell/business_database.h"
#include "petty/shell/program_info.h"

namespace petty {

frmNewBook::frmNewBook(std::filesystem::path folder) : Form("frmnewbook"), folder_(std::move(folder)) {
    setCaption(std::string(kProgramName) + " - New book");
    move(0, 0, 7200, 3960);
    lblIntro.setCaption("No book was found in " + folder_.string() +
                        ". Choose the passwords of the two log-ins to create one.");
    lblIntro.move(240, 180, 6720, 600);

    const struct {
        forms::Label& label;
        const char* caption;
        forms::TextBox& box;
    } rows[] = {
        {lblPassword, "Normal log-in password:", txtPassword},
        {lblPasswordAgain, "Type it again:", txtPasswordAgain},
        {lblApproval, "Approval log-in password:", txtApproval},
        {lblApprovalAgain, "Type it again:", txtApprovalAgain},
    };
    int top = 960;
    for (const auto& row : rows) {
        row.label.setCaption(row.caption);
        row.label.move(240, top + 40, 2900, 300);
        row.box.setPasswordChar('*');
        row.box.move(3240, top, 3720, 360);
        top += 540;
    }
    cmdCreate.setCaption("Create book");
    cmdCreate.setDefault(true);
    cmdCreate.move(3960, 3300, 1560, 420);
    cmdCancel.setCaption("Cancel");
    cmdCancel.setCancel(true);
    cmdCancel.move(5640, 3300, 1320, 420);

    cmdCreate.onClick = [this] { cmdCreate_Click(); };
    cmdCancel.onClick = [this] { unload(); };
}

void frmNewBook::refuse(const std::string& message, forms::TextBox& box) {
    forms::ui().msgBox(message, forms::MsgButtons::OkOnly, forms::MsgIcon::Exclamation);
    box.setFocus();
}

void frmNewBook::cmdCreate_Click() {
    if (txtPassword.text() != txtPasswordAgain.text())
        return refuse("The two entries of the normal password differ.", txtPasswordAgain);
    if (txtApproval.text() != txtApprovalAgain.text())
        return refuse("The two entries of the approval password differ.", txtApprovalAgain);
    if (const std::string problem = logInPasswordProblem(txtPassword.text(), txtApproval.text()); !problem.empty())
        return refuse(problem, txtPassword);
    try {
        createBook(folder_, txtPassword.text(), txtApproval.text());
    } catch (const std::exception& e) {  // BookError, or the file system's own
        forms::ui().msgBox(e.what(), forms::MsgButtons::OkOnly, forms::MsgIcon::Critical);
        return;
    }
    created_ = true;
    unload();
}

}  // namespace petty
