#include "petty/register/running_balance.h"

#include <string>
#include <vector>

#include "petty/shell/hourglass.h"
#include "platform/vb/currency.h"

namespace petty {

namespace {

constexpr std::string_view kOpenBalancesInRunningOrder =
    "select voucherid, debit, credit, openingbalance, runningbalance from pettycash where closed='No' "
    "order by date, time, voucherid";

// An empty amount counts as zero; a spent-from-advance amount moves no cash.
vb::Currency cashMovement(const jet::Value& debit, const jet::Value& credit) {
    vb::Currency amount;
    if (!debit.isNull()) amount += debit.asCurrency();
    if (!credit.isNull()) amount -= credit.asCurrency();
    return amount;
}

// A stored balance that is missing or differs from the computed one.
bool differs(const jet::Value& stored, vb::Currency computed) {
    return stored.isNull() || stored.asCurrency() != computed;
}

}  // namespace

BalancePass updateRunningBalances(jet::Database& db) {
    // Read whole before anything is written, so the pass reads one snapshot.
    jet::Recordset rows = db.openRecordset(kOpenBalancesInRunningOrder);
    struct Change {
        int64_t voucherId;
        vb::Currency opening;
        vb::Currency running;
    };
    std::vector<Change> changes;
    BalancePass pass;
    vb::Currency total;
    pass.openRows = rows.recordCount();
    for (int64_t i = 0; i < pass.openRows; ++i) {
        const std::vector<jet::Value> row = rows.rowAt(i);
        const vb::Currency opening = total;
        total += cashMovement(row[1], row[2]);
        if (differs(row[3], opening) || differs(row[4], total)) changes.push_back({row[0].asLong(), opening, total});
    }
    if (changes.empty()) return pass;

    jet::Transaction transaction(db);
    jet::Command write =
        db.prepare("UPDATE pettycash SET openingbalance = ?, runningbalance = ? WHERE voucherid = ?");
    for (const Change& c : changes) pass.written += write.execute({c.opening, c.running, c.voucherId});
    transaction.commit();
    return pass;
}

int64_t rewriteRunningBalances(jet::Database& db) { return updateRunningBalances(db).openRows; }

namespace {

bool anyOpenRow(jet::Database& db) {
    return !db.openRecordset("select top 1 voucherid from pettycash where closed='No'").eof();
}

}  // namespace

void showOpenRowsInRunningOrder(jet::Database& db, forms::DataControl& display) {
    if (!anyOpenRow(db)) return;
    display.setRecordSource(std::string(kOpenRowsInRunningOrder));
    display.refresh();
    if (!display.recordset().eof()) display.recordset().moveLast();
}

void recalculateRunningBalances(jet::Database& db, forms::DataControl& display) {
    if (!anyOpenRow(db)) return;
    HourglassWhileBusy hourglass;
    updateRunningBalances(db);
    showOpenRowsInRunningOrder(db, display);
}

}  // namespace petty
