#include "petty/register/running_balance.h"
#include "petty/register/voucher_position.h"

#include <string>
#include <vector>

#include "petty/shell/hourglass.h"
#include "petty/shell/open_period_sums.h"
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

constexpr std::string_view kOpenBalancesFromDate =
    "select voucherid, debit, credit, openingbalance, runningbalance from pettycash where closed='No' "
    "and date >= ? order by date, time, voucherid";

// The last open row before a date in running order (rows without a date come
// first of all).
constexpr std::string_view kLastBalanceBeforeDate =
    "select top 1 runningbalance from pettycash where closed='No' and (date < ? or date is null) "
    "order by date desc, time desc, voucherid desc";

// Balances the rows of `sql` (voucherid, debit, credit, openingbalance,
// runningbalance in running order) on from `total`: all of them are read
// first, then the rows whose stored balances differ are written, in one
// transaction.
BalancePass passOver(jet::Database& db, std::string_view sql, const std::vector<jet::Value>& params,
                     vb::Currency total) {
    struct Change {
        int64_t voucherId;
        vb::Currency opening;
        vb::Currency running;
    };
    std::vector<Change> changes;
    BalancePass pass;
    db.forEachRow(sql, params, [&](const std::vector<jet::Value>& row) {
        ++pass.openRows;
        const vb::Currency opening = total;
        total += cashMovement(row[1], row[2]);
        if (differs(row[3], opening) || differs(row[4], total)) changes.push_back({row[0].asLong(), opening, total});
    });
    if (changes.empty()) return pass;

    jet::Transaction transaction(db);
    jet::Command write =
        db.prepare("UPDATE pettycash SET openingbalance = ?, runningbalance = ? WHERE voucherid = ?");
    for (const Change& c : changes) pass.written += write.execute({c.opening, c.running, c.voucherId});
    transaction.commit();
    return pass;
}

}  // namespace

BalancePass updateRunningBalances(jet::Database& db) {
    return passOver(db, kOpenBalancesInRunningOrder, {}, vb::Currency());
}

BalancePass updateRunningBalancesFrom(jet::Database& db, const vb::DateTime& from) {
    vb::Currency opening;
    jet::Recordset before = db.openRecordset(kLastBalanceBeforeDate, {jet::Value(from)}, jet::RecordsetType::Snapshot);
    if (!before.eof()) {
        const jet::Value stored = before.field(size_t{0});
        if (stored.isNull()) return updateRunningBalances(db);
        opening = stored.asCurrency();
    }
    return passOver(db, kOpenBalancesFromDate, {jet::Value(from)}, opening);
}

BalancePass updateRunningBalancesAfter(jet::Database& db, std::initializer_list<std::optional<vb::DateTime>> touched) {
    std::optional<vb::DateTime> earliest;
    for (const std::optional<vb::DateTime>& date : touched) {
        if (!date) return updateRunningBalances(db);
        if (!earliest || *date < *earliest) earliest = date;
    }
    return earliest ? updateRunningBalancesFrom(db, *earliest) : updateRunningBalances(db);
}

std::optional<vb::DateTime> storedVoucherDate(jet::Database& db, int64_t voucherId) {
    jet::Recordset row =
        db.openRecordset("select date from pettycash where voucherid = ?", {jet::Value(voucherId)}, jet::RecordsetType::Snapshot);
    if (row.eof() || row.field(size_t{0}).isNull()) return std::nullopt;
    return row.field(size_t{0}).asDate();
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

namespace {

// The open row that follows `savedId` in running order (the index on
// closed, date, time and voucher finds it without passing the rows before);
// nullopt at the end. False when the row cannot be placed so.
bool followingOpenRow(jet::Database& db, int64_t savedId, std::optional<int64_t>& following) {
    jet::Recordset saved = db.openRecordset("select date, time from pettycash where voucherid = ? and closed='No'",
                                            {jet::Value(savedId)}, jet::RecordsetType::Snapshot);
    if (saved.eof() || saved.field(size_t{0}).isNull() || saved.field(size_t{1}).isNull()) return false;
    jet::Recordset next = db.openRecordset(
        "select top 1 voucherid from pettycash where closed='No' and (date, time, voucherid) > (?, ?, ?) "
        "order by date, time, voucherid",
        {saved.field(size_t{0}), saved.field(size_t{1}), jet::Value(savedId)}, jet::RecordsetType::Snapshot);
    following = next.eof() ? std::nullopt : std::optional<int64_t>(next.field(size_t{0}).asLong());
    return true;
}

}  // namespace

void showSavedRowInRunningOrder(jet::Database& db, forms::DataControl& display, int64_t savedId,
                                uint64_t versionBeforeSave) {
    if (display.hasRecordset() && display.recordSource() == kOpenRowsInRunningOrder &&
        display.recordSourceParameters().empty()) {
        const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db);
        std::optional<int64_t> following;
        if (kept && kept->openRows == display.recordset().recordCount() && followingOpenRow(db, savedId, following) &&
            display.refreshMovingRow(savedId, following, versionBeforeSave)) {
            // The saved voucher stays the one shown, wherever its date put it.
            if (!showVoucherById(display, savedId)) display.recordset().moveLast();
            return;
        }
    }
    showOpenRowsInRunningOrder(db, display);
    if (display.hasRecordset() && !display.recordset().eof()) showVoucherById(display, savedId);
}

void recalculateRunningBalances(jet::Database& db, forms::DataControl& display) {
    if (!anyOpenRow(db)) return;
    HourglassWhileBusy hourglass;
    updateRunningBalances(db);
    showOpenRowsInRunningOrder(db, display);
}

}  // namespace petty
