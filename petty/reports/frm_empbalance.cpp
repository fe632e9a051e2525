#include "petty/reports/frm_empbalance.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "petty/reports/report_queries.h"
#include "petty/shell/advance_balance.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/amount_text.h"
#include "platform/vb/currency.h"

namespace petty {

namespace {

constexpr const char* kHeading = "Pettycash entries made against advance voucher";

struct ColumnSpec {
    const char* caption;
    const char* field;
    int width;
};

constexpr ColumnSpec kListColumns[] = {
    {"Employee", "employee", 1500},  {"VoucherID", "VoucherID", 900}, {"Date", "Date", 1100},
    {"Time", "Time", 900},           {"Transaction  type", "Transtype", 2100}, {"Advance", "Advance", 1000},
    {"Settled", "Settled", 700},     {"Narration", "narration", 3000},
};

constexpr ColumnSpec kEntryColumns[] = {
    {"Employee", "Employee", 1500}, {"Date", "Date", 1100},       {"Type", "Type", 2300},
    {"Head", "Head", 1400},         {"Cash Out", "CashOut", 900}, {"Cash In", "CashIn", 900},
    {"SFA", "SFA", 900},            {"VoucherNo", "VoucherNo", 1020}, {"match with", "matchwith", 960},
};

void addColumns(forms::Grid& grid, const ColumnSpec* first, const ColumnSpec* last) {
    for (const ColumnSpec* c = first; c != last; ++c) grid.addColumn(c->caption, c->field).setWidth(c->width);
}

std::string balanceText(int64_t voucher, vb::Currency balance, const std::string& employee) {
    std::string text = "Unsettled amount for voucher: " + std::to_string(voucher) + " is  " + vb::amountText(balance);
    const vb::Currency magnitude = balance < vb::Currency() ? -balance : balance;
    if (balance < vb::Currency())
        text += " (" + vb::amountText(magnitude) + " to be returned to " + employee + ")";
    else if (balance > vb::Currency())
        text += " (" + vb::amountText(magnitude) + " to be collected from " + employee + ")";
    return text;
}

}  // namespace

frmEmpbalance::frmEmpbalance() : Form("frmEmpbalance") {
    setCaption("Pending settlements");
    move(0, 0, 12720, 8280);
    Label1.move(240, 120, 12000, 300);
    for (forms::DataControl* data : {&datPrimaryRS, &Datacommon, &Datasettlements}) data->setVisible(false);
    DBGrid1.setDataSource(datPrimaryRS);
    DBGrid1.move(240, 480, 12240, 3600);
    addColumns(DBGrid1, std::begin(kListColumns), std::end(kListColumns));
    Label2.move(240, 4200, 12240, 300);
    DBGrid2.setDataSource(Datasettlements);
    DBGrid2.setCaption("Pettycash entries made for settlement against the advance");
    DBGrid2.move(240, 4620, 12240, 2820);
    addColumns(DBGrid2, std::begin(kEntryColumns), std::end(kEntryColumns));
    srch.setCaption("Query");
    srch.setToolTip("Search customers");
    srch.move(240, 7620, 960, 420);
    cmdclose.setCaption("Cancel");
    cmdclose.move(11100, 7620, 1380, 420);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    onUnload = [this](int&) { Form_Unload(); };
    srch.onClick = [this] { srch_Click(); };
    DBGrid1.onDblClick = [this] { unload(); };
    cmdclose.onClick = [this] { unload(); };
    datPrimaryRS.onReposition = [this] { ShowAdvanceSettlement(); };
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
}

void frmEmpbalance::Form_Load() {
    for (forms::DataControl* data : {&datPrimaryRS, &Datacommon, &Datasettlements})
        skipOnFailure([data] { pointAtBook(*data, ""); });
}

void frmEmpbalance::srch_Click() {
    Label1.setCaption(caption());
    DBGrid1.setCaption("Unsettled vouchers");
    skipOnFailure([this] {
        datPrimaryRS.setRecordSource(kPendingAdvancesSql);
        datPrimaryRS.refresh();
    });
}

void frmEmpbalance::ShowAdvanceSettlement() {
    int64_t rows = 0;
    int64_t position = 0;
    skipOnFailure([&] {
        forms::DataRecordset& list = datPrimaryRS.recordset();
        rows = list.recordCount();
        position = list.absolutePosition() + 1;
    });
    DBGrid1.setCaption("Advance voucher: " + std::to_string(position) + "  of  " + std::to_string(rows) +
                       " records");
    Label1.setCaption(kHeading);

    jet::Value voucher(0);
    if (rows == 0) {
        Label2.setVisible(false);
    } else {
        jet::Value advance, employee;
        skipOnFailure([&] {
            forms::DataRecordset& list = datPrimaryRS.recordset();
            voucher = list.field("VoucherID");
            advance = list.field("Advance");
            employee = list.field("Employee");
        });
        std::optional<vb::Currency> accounted;
        skipOnFailure([&] {
            Datacommon.setRecordSource(kSettledAgainstAdvanceSql, {voucher});
            Datacommon.refresh();
            forms::DataRecordset& sum = Datacommon.recordset();
            if (sum.eof()) return;
            const jet::Value value = sum.field("mysum");
            accounted = value.isNull() ? vb::Currency() : value.asCurrency();
        });
        if (!accounted) {
            Label2.setCaption("No unsettled advances found!!");
            return;
        }
        // A row whose number or amount cannot be read leaves the balance as it stood.
        skipOnFailure([&] {
            const vb::Currency amount = advance.isNull() ? vb::Currency() : advance.asCurrency();
            Label2.setCaption(balanceText(voucher.asLong(), amount - *accounted, employee.asText()));
        });
    }
    skipOnFailure([&] {
        Datasettlements.setRecordSource(kSettlementRowsOf, {voucher});
        Datasettlements.refresh();
    });
}

void frmEmpbalance::Form_Unload() {
    for (forms::DataControl* data : {&datPrimaryRS, &Datacommon, &Datasettlements}) data->releaseRecordset();
}

}  // namespace petty
