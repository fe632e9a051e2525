#include "petty/register/balance_sums.h"

#include "petty/register/period_query.h"
#include "petty/shell/open_period_sums.h"

namespace petty {

namespace {

vb::Currency sumOrZero(jet::Database& db, const char* sql, const char* column) {
    const jet::Value sum = firstRowValue(db, sql, column);
    return sum.isNull() ? vb::Currency() : sum.asCurrency();
}

vb::Currency summedCashBalance(jet::Database& db) {
    return sumOrZero(db,
                     "select sum(iif(debit is null,0,debit)-iif(credit is null,0,credit)) as mybalance "
                     "from pettycash where closed='No'",
                     "mybalance");
}

vb::Currency summedTotalExpenses(jet::Database& db) {
    return sumOrZero(db,
                     "select sum(iif(expensefromadvance is null,0,expensefromadvance)+iif(transtype='Reimbursed "
                     "from pettycash' ,iif(CREDIT is null,0,CREDIT),0)) as myExpense from pettycash where closed='No'",
                     "myexpense");
}

vb::Currency summedCashFill(jet::Database& db) {
    return sumOrZero(db,
                     "select sum(iif(debit is null,0,debit)) as myCashfill from pettycash  where (transtype= "
                     "'Cash transfer to PC' OR transtype = 'Carryover' ) AND closed='No'",
                     "myCASHFILL");
}

int64_t countedUnsettled(jet::Database& db) {
    const jet::Value count = firstRowValue(
        db, "select count(*) as mycount from pettycash where closed='No'  and [matchrequired]='Yes' and [matched]='No'",
        "mycount");
    return count.isNull() ? 0 : count.asLong();
}

vb::Currency summedUnsettledMovement(jet::Database& db) {
    return sumOrZero(db,
                      "select sum(iif(expensefromadvance is null,0,expensefromadvance) + iif(debit is "
                      "null,0,debit)-iif(credit is null,0,credit)) as mybalance from pettycash where closed='No'  "
                      "and [matchrequired]='Yes' and [matched]='No'",
                      "mybalance");
}

}  // namespace

OpenPeriodSums summedOpenPeriodSums(jet::Database& db) {
    const jet::Value openRows = firstRowValue(db, "select count(*) as n from pettycash where closed='No'", "n");
    return {summedCashBalance(db), summedTotalExpenses(db), summedCashFill(db), countedUnsettled(db),
            summedUnsettledMovement(db), openRows.asLong()};
}

// Each figure is read from the book's kept sums when it keeps them, and
// summed by its own text otherwise; both give the same (a test holds them
// together after random edits).

vb::Currency getCashBalance(jet::Database& db) {
    if (const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db)) return kept->cashInHand;
    return summedCashBalance(db);
}

vb::Currency getTotalExpenses(jet::Database& db) {
    if (const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db)) return kept->totalExpenses;
    return summedTotalExpenses(db);
}

vb::Currency getCashFill(jet::Database& db) {
    if (const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db)) return kept->cashFill;
    return summedCashFill(db);
}

int64_t getUnsettledCount(jet::Database& db) {
    if (const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db)) return kept->unsettledCount;
    return countedUnsettled(db);
}

vb::Currency getAmountNotSettled(jet::Database& db) {
    if (const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db)) return -kept->unsettledMovement;
    return -summedUnsettledMovement(db);
}

}  // namespace petty
