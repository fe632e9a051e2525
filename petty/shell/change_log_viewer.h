#pragma once
// frmChangelog: the change log (table changelog), newest first: a row for
// every saved edit of an existing voucher and every deleted voucher. It only
// reads: neither the window nor its grid changes a row.
#include "platform/forms/forms.h"

namespace petty {

class frmChangelog : public forms::Form {
public:
    frmChangelog();

    forms::Label Label1{*this, "Label1"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::CommandButton cmdclose{*this, "cmdclose"};

private:
    void Form_Load();
    void DBGrid1_RowColChange();
    void cmdclose_Click();
};

}  // namespace petty
