#include "petty/register/advance_tally.h"

#include "petty/register/period_query.h"
#include "petty/shell/advance_balance.h"
#include "platform/jet/error.h"
#include "platform/vb/amount_text.h"

namespace petty {

namespace {

std::string text(vb::Currency amount) { return vb::amountText(amount); }

std::string balanceLead(const AdvanceTally& t) {
    return "Advance Voucher No: " + std::to_string(t.advance) + "    Amount given : " + text(t.advanced) +
           "  Expense declared/Amount received : " + text(t.settled);
}

}  // namespace

std::optional<AdvanceTally> readAdvanceTally(jet::Database& db, int64_t advance) {
    jet::Recordset row = db.openRecordset("select employee, credit from pettycash where voucherid=?", {advance});
    if (row.eof()) return std::nullopt;
    AdvanceTally tally;
    tally.advance = advance;
    tally.employee = row.field("employee").asText();
    tally.settled = settledTotal(db, advance);
    const jet::Value advanced = firstRowValue(
        db, "select sum(iif(credit is null,0,credit) ) as mysum from pettycash where closed= 'No' and voucherid=?",
        "mysum", {advance});
    if (advanced.isNull()) throw jet::errors::invalidUseOfNull();
    tally.advanced = advanced.asCurrency();
    return tally;
}

int64_t settledRowsInGroup(jet::Database& db, int64_t advance) {
    return firstRowValue(db,
                         "select count(*) as ROGUEcount  from pettycash where [matched]='Yes' and (matchwith=? or "
                         "voucherid=?)",
                         "ROGUEcount", {advance, advance})
        .asLong();
}

void markAdvanceGroup(jet::Database& db, int64_t advance, bool settled) {
    const jet::Value flag = settled ? "Yes" : "No";
    jet::Transaction transaction(db);
    db.execute("UPDATE pettycash SET matched = ? where matchwith = ?", {flag, advance});
    db.execute("UPDATE pettycash SET matched = ? where voucherID = ?", {flag, advance});
    transaction.commit();
}

std::optional<AdvanceRetally> retallyAdvanceGroup(jet::Database& db, int64_t advance) {
    const std::optional<AdvanceTally> tally = readAdvanceTally(db, advance);
    if (!tally) return std::nullopt;
    AdvanceRetally retally{*tally, GroupMark::Unchanged};
    if (tally->tallies()) {
        markAdvanceGroup(db, advance, true);
        retally.mark = GroupMark::MarkedSettled;
    } else if (settledRowsInGroup(db, advance) > 0) {
        markAdvanceGroup(db, advance, false);
        retally.mark = GroupMark::MarkedUnsettled;
    }
    return retally;
}

std::string tallyBalanceMessage(const AdvanceTally& t) {
    const vb::Currency balance = t.advanced - t.settled;
    if (balance > vb::Currency())
        return balanceLead(t) + "   Balance still to be settled by " + t.employee + " : " + text(balance);
    if (balance < vb::Currency())
        return balanceLead(t) + "   Balance to be settled: " + text(balance) +
               " (money to be given from petttcash) to " + t.employee + ". ";
    return balanceLead(t) + "   Balance to be settled: " + text(balance) + " (" + t.employee +
           " has settled the advance voucher fully).";
}

std::string tallySettledMessage(const AdvanceTally& t) {
    return "Advance issued is " + text(t.advanced) + " (voucher No: " + std::to_string(t.advance) +
           ") Total settlements matched against this advance is =" + text(t.settled) +
           ". Credits and debits tally and will be marked as settled.";
}

std::string tallyUnsettledWarning(int64_t advance) {
    return "Some of the pettycash record(s) matched against " + std::to_string(advance) +
           "is/are marked as settled ! They will be marked as unsettled!";
}

int64_t pendingSettlementCount(jet::Database& db, const std::string& employee) {
    return firstRowValue(db,
                         "select count(*) as mycount from pettycash where [matchrequired]= 'Yes' and [matched]='No' "
                         "and closed='No' AND EMPLOYEE =? ",
                         "mycount", {employee})
        .asLong();
}

}  // namespace petty
