#pragma once
// frmselectvoucher: the modal window in which the register's match button
// picks the advance that a settlement voucher belongs to. It lists the open
// unsettled advances of appState().voucherPickEmployee, shows what is still
// open on the one under the cursor and the rows that settle it, and leaves
// the pick in appState().selectedVoucherId (0 for none) with that advance's
// open balance in appState().selectedVoucherBalance. Make a new one for each opening.
#include "petty/shell/advance_list_form.h"

namespace petty {

class frmselectvoucher : public AdvanceListForm {
public:
    frmselectvoucher();

    forms::CommandButton trfr{*this, "trfr"};  // Select

private:
    void Form_Load();
    void srch_Click();
    void datPrimaryRS_Reposition();
    void trfr_Click();
    void cmdclose_Click();
};

// Opens the picker for the employee; the results are in appState() as above.
void pickAdvanceVoucher(const std::string& employee);

}  // namespace petty
