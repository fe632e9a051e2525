#include "petty/register/running_balance.h"

#include <string>

#include "petty/shell/hourglass.h"
#include "platform/vb/currency.h"

namespace petty {

namespace {

// An empty amount counts as zero; a spent-from-advance amount moves no cash.
vb::Currency cashMovement(const jet::Recordset& row) {
    vb::Currency amount;
    if (const jet::Value debit = row.field("Debit"); !debit.isNull()) amount += debit.asCurrency();
    if (const jet::Value credit = row.field("Credit"); !credit.isNull()) amount -= credit.asCurrency();
    return amount;
}

// One ordered pass over the open rows, all of it or nothing written.
int64_t rewriteInOneTransaction(jet::Database& db, jet::Recordset& rows) {
    jet::Transaction transaction(db);
    const size_t opening = rows.fieldIndex("openingbalance");
    const size_t running = rows.fieldIndex("runningbalance");
    vb::Currency total;
    int64_t written = 0;
    for (; !rows.eof(); rows.moveNext()) {
        const vb::Currency amount = cashMovement(rows);
        rows.edit();
        rows.setField(opening, total);
        total += amount;
        rows.setField(running, total);
        rows.update();
        ++written;
    }
    transaction.commit();
    return written;
}

}  // namespace

int64_t rewriteRunningBalances(jet::Database& db) {
    jet::Recordset rows = db.openRecordset(kOpenRowsInRunningOrder);
    return rewriteInOneTransaction(db, rows);
}

void recalculateRunningBalances(jet::Database& db, forms::DataControl& display) {
    jet::Recordset rows = db.openRecordset(kOpenRowsInRunningOrder);
    if (rows.eof()) return;
    HourglassWhileBusy hourglass;
    rewriteInOneTransaction(db, rows);
    display.setRecordSource(std::string(kOpenRowsInRunningOrder));
    display.refresh();
    if (!display.recordset().eof()) display.recordset().moveLast();
}

}  // namespace petty
