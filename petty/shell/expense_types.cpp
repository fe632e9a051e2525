#include "petty/shell/expense_types.h"

#include "petty/shell/book_queries.h"

namespace petty {

frmExpensetypes::frmExpensetypes()
    : SimpleMasterForm("frmExpensetypes",
                       {kExpenseTypesMasterSql, "Enter Expense head!",
                        "Are you sure that you want to delete the record ?", "", 2},
                       "Expense type") {
    setCaption("Expense head");
    lblTitle.setCaption("Pettycash expense heads");
    DBGrid1.addColumn("Expense head", "Expense type").setWidth(3600);
    DBGrid1.addColumn("Details", "Details").setWidth(3600);
    cmdadd.setToolTip("Press this button, enter data and then press save button to save data");
    addField(0, "Expense head:", "Expense type");
    addField(1, "Group:", "Group");
    finishLayout({"Expense category is used to classify expenses for reporting",
                  "Group is used for custom reports - for expense analysis"});
}

}  // namespace petty
