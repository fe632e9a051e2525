#include "petty/register/balance_sums.h"

#include "petty/register/period_query.h"

namespace petty {

namespace {

vb::Currency sumOrZero(jet::Database& db, const char* sql, const char* column) {
    const jet::Value sum = firstRowValue(db, sql, column);
    return sum.isNull() ? vb::Currency() : sum.asCurrency();
}

}  // namespace

vb::Currency getCashBalance(jet::Database& db) {
    return sumOrZero(db,
                     "select sum(iif(debit is null,0,debit)-iif(credit is null,0,credit)) as mybalance "
                     "from pettycash where closed='No'",
                     "mybalance");
}

vb::Currency getTotalExpenses(jet::Database& db) {
    return sumOrZero(db,
                     "select sum(iif(expensefromadvance is null,0,expensefromadvance)+iif(transtype='Reimbursed "
                     "from pettycash' ,iif(CREDIT is null,0,CREDIT),0)) as myExpense from pettycash where closed='No'",
                     "myexpense");
}

vb::Currency getCashFill(jet::Database& db) {
    return sumOrZero(db,
                     "select sum(iif(debit is null,0,debit)) as myCashfill from pettycash  where (transtype= "
                     "'Cash transfer to PC' OR transtype = 'Carryover' ) AND closed='No'",
                     "myCASHFILL");
}

int64_t getUnsettledCount(jet::Database& db) {
    const jet::Value count = firstRowValue(
        db, "select count(*) as mycount from pettycash where closed='No'  and [matchrequired]='Yes' and [matched]='No'",
        "mycount");
    return count.isNull() ? 0 : count.asLong();
}

vb::Currency getAmountNotSettled(jet::Database& db) {
    return -sumOrZero(db,
                      "select sum(iif(expensefromadvance is null,0,expensefromadvance) + iif(debit is "
                      "null,0,debit)-iif(credit is null,0,credit)) as mybalance from pettycash where closed='No'  "
                      "and [matchrequired]='Yes' and [matched]='No'",
                      "mybalance");
}

}  // namespace petty
