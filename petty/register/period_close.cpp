#include "petty/register/period_close.h"

#include "petty/register/period_query.h"
#include "platform/vb/amount_text.h"

namespace petty {

namespace {

int64_t countOrZero(jet::Database& db, const char* sql) {
    const jet::Value count = firstRowValue(db, sql, "mycount");
    return count.isNull() ? 0 : count.asLong();
}

int64_t openPeriodCount(jet::Database& db) {
    int64_t periods = 0;
    for (jet::Recordset rows =
             db.openRecordset("select distinct TERMID  from pettycash where  closed='No' group by [termid]");
         !rows.eof(); rows.moveNext())
        ++periods;
    return periods;
}

std::string closeQuestion(const char* opening, PeriodId period, vb::Currency balance, const char* ending) {
    return std::string(opening) + std::to_string(period) + " and then carry over a balance of " +
           vb::amountText(balance) + ending;
}

}  // namespace

ClosablePeriod checkPeriodClosable(jet::Database& db, bool noAdvanceMode) {
    if (countOrZero(db, "select  count(*) as mycount from pettycash where  closed='No' ") == 0)
        return {0, CloseRefusal{"No open pettycash records found!! Only open records can be closed!!"}};
    if (const int64_t periods = openPeriodCount(db); periods >= 2)
        return {0, CloseRefusal{"There seems to be " + std::to_string(periods) +
                                " different pettycash periods in these records ! Something is wrong!!"}};
    const PeriodId open = getOpenPeriodId(db);
    if (open == 0)
        return {0, CloseRefusal{"There does not seem to be any open Pettycash period! Please check!!", false}};
    if (!noAdvanceMode) {
        const int64_t unsettled = countOrZero(
            db, "select count(*) as mycount from pettycash where [matchrequired]= 'Yes' and [matched]='No' and "
                "closed='No'");
        if (unsettled > 0)
            return {0, CloseRefusal{"There seems to be " + std::to_string(unsettled) +
                                    " records which are not settled yet. If advance is taken from pettycash, you "
                                    "need to settle it against expenses/returns! Pettycash can be closed only after "
                                    "after settling the advances!"}};
    }
    return {open, std::nullopt};
}

vb::Currency closingBalance(jet::Database& db, PeriodId period) {
    const jet::Value sum = firstRowValue(db,
                                         "select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit)) "
                                         "as mysum from pettycash where closed= 'No' and termid = ?",
                                         "mysum", {jet::Value(period)});
    return sum.isNull() ? vb::Currency() : sum.asCurrency();
}

std::optional<CloseRefusal> negativeBalanceRefusal(vb::Currency balance) {
    if (balance >= vb::Currency()) return std::nullopt;
    return CloseRefusal{"Carryover is negative (" + vb::amountText(balance) +
                        ") ! Cannot continue! Please settle the negative balance!"};
}

std::string firstCloseQuestion(PeriodId period, vb::Currency balance) {
    return closeQuestion("Are you sure that you want to close pettycash period ID ", period, balance,
                         " to a new pettycash term?");
}

std::string secondCloseQuestion(PeriodId period, vb::Currency balance) {
    return closeQuestion("Confirm again that you want to close pettycash period ID ", period, balance,
                         " to a new pettycash term..");
}

std::string periodOpenedMessage(PeriodId newPeriod, vb::Currency balance) {
    return "New Pettycash period (ID: " + std::to_string(newPeriod) + ") created, with carry-over amount=" +
           vb::amountText(balance) +
           "\r\nData belonging to previous pettycash periods can be viewed any time using 'search' button or "
           "through pettycash reports.";
}

PeriodId closePeriod(jet::Database& db, PeriodId period, vb::Currency balance, const std::string& userName,
                     const vb::Clock& clock) {
    jet::Transaction close(db);
    db.execute("UPDATE pettycash SET closed = 'Yes' where TermID = ?", {jet::Value(period)});
    const PeriodId next = newPeriodId(db, clock);
    const vb::DateTime now = clock.now();
    db.execute(
        "INSERT INTO pettycash ([Date], [Time], [TransType], [Debit], [runningbalance], [Narration], [Enteredby], "
        "[Enteredon], [TermID], [Matchrequired], [Closed]) VALUES (?, ?, 'Carryover', ?, ?, ?, ?, ?, ?, 'No', 'No')",
        {now.dateOnly(), now.toHms(), balance, balance, "Carryover from " + std::to_string(period), userName, now,
         jet::Value(next)});
    close.commit();
    return next;
}

}  // namespace petty
