// The register's period close: refuses while anything is pending or
// inconsistent, recomputes the running balances, asks twice, then closes the
// period and opens the next with its carry-over row, and shows the new period.
#include <string>

#include "petty/register/frm_pettycash.h"
#include "petty/register/period_close.h"
#include "petty/register/running_balance.h"
#include "petty/register/status_line.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"

namespace petty {

namespace {

constexpr const char* kChangedMeanwhile =
    "The pettycash records were changed by another user while you were asked! The period is not closed. Please "
    "close it again.";

void refuseClose(const CloseRefusal& refusal) {
    refuse(refusal.message, refusal.beep);
    forms::ui().setMousePointer(forms::vbCustom);
}

bool confirmed(const std::string& question) {
    if (forms::ui().msgBox(question, forms::MsgButtons::YesNo) == forms::MsgResult::Yes) return true;
    refuseClose({kCloseAborted, false});
    return false;
}

// The search panel set to the new period, and the search run: the register
// shows the carry-over row.
void showPeriod(frmpettycash& w, PeriodId period) {
    w.Combo2.setText("Pettycash period ID");
    w.combo2Text.setText(std::to_string(period));
    w.Check1.setValue(forms::vbChecked);
    w.Combo1.setText("All");
    w.Query_Click();
}

}  // namespace

void frmpettycash::cmdClosepettycash_Click() {
    if (!CheckPendingEdit(true)) return refuse("You are in record-edit mode !! Can't close now!");
    forms::ui().setMousePointer(forms::vbHourglass);
    const AppState& state = appState();
    // A database step that fails ends the close; the close itself is one
    // transaction, so the book then holds the period as it was.
    reportOnFailure([&] {
        jet::Database& book = datPrimaryRS.database();
        const ClosablePeriod closable = checkPeriodClosable(book, state.noAdvanceMode);
        if (closable.refusal) return refuseClose(*closable.refusal);
        const PeriodId oldPeriod = closable.id;

        cmdadd.setEnabled(false);
        cmdupdate.setEnabled(false);
        recalculateRunningBalances(book, datPrimaryRS);
        const vb::Currency balance = closingBalance(book, oldPeriod);
        if (const std::optional<CloseRefusal> negative = negativeBalanceRefusal(balance))
            return refuseClose(*negative);
        if (!confirmed(firstCloseQuestion(oldPeriod, balance))) return;
        if (!confirmed(secondCloseQuestion(oldPeriod, balance))) return;

        // Held again inside the close's own transaction: another program on
        // the book may have saved or closed while the questions were open.
        jet::Transaction close(book);
        const ClosablePeriod again = checkPeriodClosable(book, state.noAdvanceMode);
        if (again.refusal || again.id != oldPeriod || closingBalance(book, oldPeriod) != balance)
            return refuseClose({kChangedMeanwhile});
        updateRunningBalances(book);
        closePeriod(book, oldPeriod, balance, state.currentUserName);
        updateRunningBalances(book);  // the carry-over row's own balances
        close.commit();
        // The carry-over row is the one open row: it becomes the current row.
        datPrimaryRS.refresh();
        if (!datPrimaryRS.recordset().eof()) datPrimaryRS.recordset().moveLast();

        const PeriodId current = currentPeriodId(book);
        setCaption(baseCaption + kRunningPeriodCaption + std::to_string(current));
        forms::ui().msgBox(periodOpenedMessage(current, balance));
        showBalanceStatus(Label2, book, state.noAdvanceMode);
        showPeriod(*this, current);
    });
    forms::ui().setMousePointer(forms::vbCustom);
}

}  // namespace petty
