#pragma once
// frmnewbook: shown on the first start in a folder that holds no book. It
// asks for the user names of the two log-ins and their passwords, each typed
// twice, and creates the book; Cancel leaves the folder as it was.
#include <filesystem>

#include "platform/forms/forms.h"

namespace petty {

class frmNewBook : public forms::Form {
public:
    explicit frmNewBook(std::filesystem::path folder);

    // Whether the book was created before the window closed.
    bool created() const { return created_; }

    forms::Label lblIntro{*this, "lblIntro"};
    forms::Label lblUserName{*this, "lblUserName"};
    forms::TextBox txtUserName{*this, "txtUserName"};
    forms::Label lblPassword{*this, "lblPassword"};
    forms::TextBox txtPassword{*this, "txtPassword"};
    forms::Label lblPasswordAgain{*this, "lblPasswordAgain"};
    forms::TextBox txtPasswordAgain{*this, "txtPasswordAgain"};
    forms::Label lblApprovalUserName{*this, "lblApprovalUserName"};
    forms::TextBox txtApprovalUserName{*this, "txtApprovalUserName"};
    forms::Label lblApproval{*this, "lblApproval"};
    forms::TextBox txtApproval{*this, "txtApproval"};
    forms::Label lblApprovalAgain{*this, "lblApprovalAgain"};
    forms::TextBox txtApprovalAgain{*this, "txtApprovalAgain"};
    forms::CommandButton cmdCreate{*this, "cmdCreate"};
    forms::CommandButton cmdCancel{*this, "cmdCancel"};

private:
    void cmdCreate_Click();
    // Refuses with a message and puts the focus on the box to correct.
    void refuse(const std::string& message, forms::TextBox& box);

    std::filesystem::path folder_;
    bool created_ = false;
};

}  // namespace petty
