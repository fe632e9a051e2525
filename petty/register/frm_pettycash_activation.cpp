// What the register does around its use rather than on a command: each
// activation (kept maximised, advance marks hidden without advances, the
// old-advance reminder once per run, the grid heights for the expand button,
// a changed employee master and the head and cost-centre lists picked up),
// the loss of focus, and the unload.
#include "petty/register/frm_pettycash.h"
#include "petty/register/old_advances.h"
#include "petty/shell/app_state.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/clock.h"

namespace petty {

namespace {

// Runs once per program run, whether or not it finds anything.
void remindOfOldAdvances(frmpettycash& w) {
    const AppState& state = appState();
    if (state.reminderDays <= 0 || state.noAdvanceMode || w.advanceReminderShown) return;
    // Set before the query, so that a failing query is not tried again either.
    w.advanceReminderShown = true;
    int64_t count = 0;
    skipOnFailure([&w, &count, &state] {
        count = countOldUnsettledAdvances(w.datPrimaryRS.database(), vb::today(), state.reminderDays);
    });
    if (count <= 0) return;
    forms::ui().beep();
    forms::ui().msgBox(oldAdvancesReminderText(count, state.reminderDays));
}

// A new employee saved in the employee master is offered by the employee
// combos once this runs; a failing re-read keeps the old list.
void pickUpNewEmployees(frmpettycash& w) {
    AppState& state = appState();
    if (!state.employeeListChanged) return;
    skipOnFailure([&w] {
        w.Data1.refresh();
        w.DBCombo2.refill();
    });
    state.employeeListChanged = false;
}

}  // namespace

void frmpettycash::Form_Activate() {
    skipOnFailure([this] {
        if (windowState() != forms::WindowState::Maximized) setWindowState(forms::WindowState::Maximized);
    });
    if (appState().noAdvanceMode) {
        skipOnFailure([this] {
            if (Label9[2].visible()) Label9[2].setVisible(false);
            Image1[0].setVisible(false);
            Image1[1].setVisible(false);
            MyButtonExpand.setVisible(false);
        });
    }
    remindOfOldAdvances(*this);
    // While the register grid is enlarged its height is not the one to come
    // back to, and the hidden settlement grid keeps its own.
    if (!settlementGridExpanded) {
        settlementGridHeight = TDBGrid2.height();
        registerGridHeight = TDBGrid1.height();
    }
    // The window itself seldom loses the focus (its controls hold it), so the
    // employee list is picked up here too.
    pickUpNewEmployees(*this);
    // Heads and cost centres added, renamed or put out of use in their
    // masters are offered as soon as the register is back in front.
    fillHeadAndCostCentreLists();
}

void frmpettycash::Form_LostFocus() {
    // Only its beep matters here: a pending change is not refused.
    skipOnFailure([this] { CheckPendingEdit(false); });
    pickUpNewEmployees(*this);
    // Heads and cost centres added, renamed or put out of use in their
    // masters are offered as soon as the register is back in front.
    fillHeadAndCostCentreLists();
}

void frmpettycash::Form_Unload(int&) {
    for (forms::DataControl* data : {&datPrimaryRS, &DatPrimaryRSread, &Datacommon, &Datacommonwrite, &Data1})
        skipOnFailure([data] { data->releaseRecordset(); });
}

}  // namespace petty
