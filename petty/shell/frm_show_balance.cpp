#include "petty/shell/frm_show_balance.h"

#include <memory>

#include "petty/shell/advance_balance.h"
#include "petty/shell/app_state.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/amount_text.h"

namespace petty {

namespace {

// The lower grid: the rows settling the advance, the employee after the amounts.
constexpr SettlementColumn kSettlementColumns[] = {
    {"Date", "Date", 1100},         {"Type", "Type", 1700},       {"Head", "Head", 1100},
    {"Cash Out", "CashOut", 850},   {"Cash In", "CashIn", 850},   {"SFA", "SFA", 750},
    {"Employee", "Employee", 1200}, {"VoucherNo", "VoucherNo", 900}, {"match with", "matchwith", 900},
};

constexpr const char* kSummaryCaptions[] = {"Total advance:", "Total settlement:", "Total balance:"};

}  // namespace

frmshowbalance::frmshowbalance() : AdvanceListForm("frmshowbalance", "Advance voucher: ", kSettlementColumns) {
    setCaption("Settlement balance");
    move(0, 0, 10200, 7860);
    Label1.setCaption("Settlement balance for");
    Label1.move(240, 120, 9600, 360);
    for (int i = 0; i < 3; ++i) {
        Summary.add(i).setCaption(kSummaryCaptions[i]);
        Summary[i].move(240 + i * 3240, 600, 1500, 300);
        Summary.add(i + 3).setCaption("0");
        Summary[i + 3].setFontBold(true);
        Summary[i + 3].move(1800 + i * 3240, 600, 1500, 300);
    }
    DBGrid1.move(240, 1080, 9600, 2520);
    Label2.move(240, 3720, 9600, 300);
    Label3.setCaption("Pettycash entries made for settlement against the advance");
    Label3.move(240, 4080, 9600, 300);
    DBGrid2.move(240, 4440, 9600, 2400);
    cmdclose.setCaption("Close");
    cmdclose.move(8520, 6960, 1320, 420);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    srch.onClick = [this] { srch_Click(); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
    datPrimaryRS.onReposition = [this] { showAdvanceUnderCursor(appState().balanceEmployee); };
}

void frmshowbalance::Form_Load() {
    skipOnFailure([this] { pointDataAtBook(); });
}

void frmshowbalance::srch_Click() {
    const std::string& employee = appState().balanceEmployee;
    // The list opens the book for the totals below.
    skipOnFailure([this, &employee] { queryAdvances(employee); });
    // Exact amounts; a total whose query fails counts as 0.
    vb::Currency settlements;
    vb::Currency advances;
    skipOnFailure([&] { settlements = employeeSettlementTotal(datPrimaryRS.database(), employee); });
    skipOnFailure([&] { advances = employeeAdvanceTotal(datPrimaryRS.database(), employee); });
    const vb::Currency balance = advances - settlements;
    Summary[3].setCaption(vb::amountText(advances));
    Summary[4].setCaption(vb::amountText(settlements));
    Summary[5].setCaption(vb::amountText(balance));
    setTitle(employee.empty() ? "Settlement balances"
                              : "Total settlement balance for " + employee + " : " + vb::amountText(balance));
}

void frmshowbalance::cmdclose_Click() {
    AppState& state = appState();
    state.selectedVoucherId = 0;
    state.balanceEmployee.clear();
    unload();
}

void showEmployeeBalance(const std::string& employee) {
    appState().balanceEmployee = employee;
    auto window = std::make_unique<frmshowbalance>();
    window->showModal();
}

}  // namespace petty
