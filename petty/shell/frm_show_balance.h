#pragma once
// frmshowbalance: the modal, read-only window that shows the settlement
// balance of appState().balanceEmployee: the totals of his open unsettled
// advances and of the rows settling them, the overall balance, the list of
// those advances and, for the one under the cursor, its open amount and the
// rows that settle it. Close clears balanceEmployee and selectedVoucherId.
// Make a new one for each opening.
#include "petty/shell/advance_list_form.h"

namespace petty {

class frmshowbalance : public AdvanceListForm {
public:
    frmshowbalance();

    // 0 to 2: the captions; 3 to 5: total advance, total settlement, total balance.
    forms::ControlArray<forms::Label> Summary{*this, "Summary"};

private:
    void Form_Load();
    void srch_Click();
    void cmdclose_Click();
};

// Opens the balance window for the employee.
void showEmployeeBalance(const std::string& employee);

}  // namespace petty
