#include "petty/shell/advance_list_form.h"

#include "petty/shell/advance_balance.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

constexpr SettlementColumn kAdvanceColumns[] = {
    {"VoucherID", "VoucherID", 1100}, {"Date", "Date", 1300},       {"Time", "Time", 1000},
    {"Transtype", "Transtype", 2600}, {"Advance", "Advance", 1400}, {"Settled", "Settled", 1000},
};

void addColumns(forms::Grid& grid, std::span<const SettlementColumn> columns) {
    for (const SettlementColumn& c : columns) grid.addColumn(c.caption, c.field).setWidth(c.width);
}

}  // namespace

AdvanceListForm::AdvanceListForm(std::string name, std::string listCaption,
                                 std::span<const SettlementColumn> settlementColumns)
    : Form(std::move(name)), listCaption_(std::move(listCaption)) {
    Label1.setFont({"Arial", 12, true, false, false});
    addColumns(DBGrid1, kAdvanceColumns);
    DBGrid1.setDataSource(datPrimaryRS);
    DBGrid2.setCaption("Pettycash entries made for settlement against the advance");
    addColumns(DBGrid2, settlementColumns);
    DBGrid2.setDataSource(Datasettlements);
    Label2.setVisible(false);
    srch.setCaption("Query");
    srch.setVisible(false);
    datPrimaryRS.setVisible(false);
    Datasettlements.setVisible(false);
    // A data error the list meets by itself: two beeps instead of its message.
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
    onUnload = [this](int&) {
        datPrimaryRS.releaseRecordset();
        Datasettlements.releaseRecordset();
    };
}

void AdvanceListForm::setTitle(const std::string& title) {
    setCaption(title);
    Label1.setCaption(title);
}

void AdvanceListForm::pointDataAtBook() {
    pointAtBook(datPrimaryRS, "");
    pointAtBook(Datasettlements, "");
}

bool AdvanceListForm::queryAdvances(const std::string& employee) {
    datPrimaryRS.setRecordSource(kOpenAdvancesOf, {employee});
    datPrimaryRS.refresh();
    return datPrimaryRS.recordset().recordCount() > 0;
}

bool AdvanceListForm::hasCurrentAdvance() {
    if (!datPrimaryRS.hasRecordset()) return false;
    const forms::DataRecordset& rows = datPrimaryRS.recordset();
    return !rows.eof() && !rows.bof();
}

std::optional<vb::Currency> AdvanceListForm::showAdvanceUnderCursor(const std::string& employee) {
    skipOnFailure([this] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        DBGrid1.setCaption(listCaption_ + std::to_string(rows.absolutePosition() + 1) + "  of  " +
                           std::to_string(rows.recordCount()) + " records");
    });
    if (!hasCurrentAdvance()) {
        Label2.setVisible(false);
        skipOnFailure([this] {
            // An empty list shows no settlement rows; a cursor past either end keeps the last advance's.
            if (datPrimaryRS.recordset().recordCount() == 0) Datasettlements.setRecordSource(kSettlementRowsOf, {0});
            Datasettlements.refresh();
        });
        return std::nullopt;
    }
    int64_t advance = 0;
    std::optional<vb::Currency> balance;
    skipOnFailure([&] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        advance = rows.field("VoucherID").asLong();
        const jet::Value amount = rows.field("Advance");
        balance = advanceBalance(datPrimaryRS.database(), advance,
                                 amount.isNull() ? vb::Currency() : amount.asCurrency());
        Label2.setCaption(unsettledAmountText(advance, *balance, employee));
        Label2.setVisible(true);
    });
    skipOnFailure([&] {
        Datasettlements.setRecordSource(kSettlementRowsOf, {advance});
        Datasettlements.refresh();
    });
    return balance;
}

}  // namespace petty
