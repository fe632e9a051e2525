#include "petty/shell/frm_select_voucher.h"

#include <memory>

#include "petty/shell/app_state.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

// The lower grid: the rows settling the advance, the employee first.
constexpr SettlementColumn kSettlementColumns[] = {
    {"Employee", "Employee", 1200}, {"Date", "Date", 1100},       {"Type", "Type", 1700},
    {"Head", "Head", 1100},         {"Cash Out", "CashOut", 850}, {"Cash In", "CashIn", 850},
    {"SFA", "SFA", 750},            {"VoucherNo", "VoucherNo", 900}, {"match with", "matchwith", 900},
};

}  // namespace

frmselectvoucher::frmselectvoucher() : AdvanceListForm("frmselectvoucher", "Advace voucher: ", kSettlementColumns) {
    setCaption("Select unsettled advance");
    move(0, 0, 10200, 7260);
    Label1.move(240, 120, 9600, 360);
    DBGrid1.move(240, 540, 9600, 2520);
    Label2.move(240, 3180, 9600, 300);
    DBGrid2.move(240, 3540, 9600, 2640);
    Label3.setCaption("Note: SFA = 'Spent from advance'");
    Label3.move(240, 6300, 5400, 300);
    trfr.setCaption("Select");
    trfr.move(7080, 6300, 1320, 420);
    cmdclose.setCaption("Cancel");
    cmdclose.move(8520, 6300, 1320, 420);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    srch.onClick = [this] { srch_Click(); };
    trfr.onClick = [this] { trfr_Click(); };
    DBGrid1.onDblClick = [this] { trfr_Click(); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
    datPrimaryRS.onReposition = [this] { datPrimaryRS_Reposition(); };
}

void frmselectvoucher::Form_Load() {
    skipOnFailure([this] { pointDataAtBook(); });
    appState().selectedVoucherId = 0;
}

void frmselectvoucher::srch_Click() {
    const std::string& employee = appState().voucherPickEmployee;
    setTitle("Select unsettled advance given to " + employee);
    skipOnFailure([this, &employee] {
        if (queryAdvances(employee)) trfr.setDefault(true);
    });
}

void frmselectvoucher::datPrimaryRS_Reposition() {
    AppState& state = appState();
    if (const auto balance = showAdvanceUnderCursor(state.voucherPickEmployee))
        state.selectedVoucherBalance = *balance;
    else if (!hasCurrentAdvance())
        state.selectedVoucherBalance = vb::Currency();
}

void frmselectvoucher::trfr_Click() {
    AppState& state = appState();
    state.selectedVoucherId = 0;
    skipOnFailure([&] {
        if (!hasCurrentAdvance()) return;
        const jet::Value number = datPrimaryRS.recordset().field("VoucherID");
        if (!number.isNull()) state.selectedVoucherId = static_cast<int32_t>(number.asLong());
    });
    unload();
}

void frmselectvoucher::cmdclose_Click() {
    AppState& state = appState();
    state.selectedVoucherId = 0;
    state.selectedVoucherBalance = vb::Currency();
    unload();
}

void pickAdvanceVoucher(const std::string& employee) {
    appState().voucherPickEmployee = employee;
    auto picker = std::make_unique<frmselectvoucher>();
    picker->showModal();
}

}  // namespace petty
