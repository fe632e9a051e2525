#pragma once
// frmExpensetypes: the expense heads (table [Expense types]) that vouchers
// are classified under.
#include "petty/shell/simple_master_form.h"

namespace petty {

class frmExpensetypes : public SimpleMasterForm {
public:
    frmExpensetypes();
};

}  // namespace petty
