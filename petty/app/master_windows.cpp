#include "petty/app/master_windows.h"

#include "petty/reports/frm_empbalance.h"
#include "petty/reports/frm_sessions.h"
#include "petty/shell/change_log_viewer.h"
#include "petty/shell/command_windows.h"
#include "petty/shell/employee_master.h"
#include "petty/shell/expense_types.h"
#include "petty/shell/project_codes.h"

namespace petty {

namespace {
template <class Window>
void showNewModal() {
    Window window;
    window.showModal();
}
}  // namespace

void registerMasterAndChangeLogWindows() {
    registerCommandWindow(CommandWindow::EmployeeMaster, showNewModal<frmemployeemaster>);
    registerCommandWindow(CommandWindow::ExpenseHeads, showNewModal<frmExpensetypes>);
    registerCommandWindow(CommandWindow::CostCentres, showNewModal<frmprojectcodes>);
    registerCommandWindow(CommandWindow::ChangeLog, showNewModal<frmChangelog>);
}

void registerViewWindows() {
    registerCommandWindow(CommandWindow::Periods, showNewModal<frmSessions>);
    registerCommandWindow(CommandWindow::PendingSettlements, showNewModal<frmEmpbalance>);
}

}  // namespace petty
