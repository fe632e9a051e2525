#pragma once
// Shared by the fault sweep and the kill test: what must hold of a book after
// any write, whole or failed part-way. Each check gives the first fault it
// finds in words, or an empty text.
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty::testing {

// The file's structure is sound.
inline std::string structureFault(jet::Database& db) {
    const std::vector<std::string> faults = db.checkStructure();
    return faults.empty() ? std::string() : "structure: " + faults.front();
}

// Every open row's stored balances equal a recompute of the whole period.
inline std::string runningBalanceFault(jet::Database& db) {
    vb::Currency total;
    for (jet::Recordset r = db.openRecordset(
             "select voucherid, debit, credit, openingbalance, runningbalance from pettycash where closed='No' "
             "order by date, time, voucherid");
         !r.eof(); r.moveNext()) {
        const vb::Currency opening = total;
        if (!r.field("debit").isNull()) total += r.field("debit").asCurrency();
        if (!r.field("credit").isNull()) total -= r.field("credit").asCurrency();
        const jet::Value storedOpening = r.field("openingbalance");
        const jet::Value storedRunning = r.field("runningbalance");
        if (storedOpening.isNull() || storedOpening.asCurrency() != opening || storedRunning.isNull() ||
            storedRunning.asCurrency() != total)
            return "voucher " + r.field("voucherid").asText() + " has balances " + storedOpening.asText() + "/" +
                   storedRunning.asText() + ", a recompute gives " + jet::Value(opening).asText() + "/" +
                   jet::Value(total).asText();
    }
    return {};
}

// Every open advance group is marked settled exactly when it tallies.
inline std::string advanceFlagFault(jet::Database& db) {
    for (jet::Recordset a = db.openRecordset(
             "select voucherid, credit, matched from pettycash where transtype='Advance Issued from PC' and "
             "closed='No'");
         !a.eof(); a.moveNext()) {
        const jet::Value id = a.field("voucherid");
        jet::Recordset sums = db.openRecordset(
            "select sum(iif(expensefromadvance is null,0,expensefromadvance) + iif(debit is null,0,debit) - "
            "iif(credit is null,0,credit)) as s, count(*) as n, sum(iif(matched='Yes',1,0)) as yes from pettycash "
            "where matchwith = ? and closed='No'",
            {id});
        const vb::Currency advanced = a.field("credit").isNull() ? vb::Currency() : a.field("credit").asCurrency();
        const vb::Currency settled = sums.field("s").isNull() ? vb::Currency() : sums.field("s").asCurrency();
        const bool tallies = advanced == settled;
        const bool advanceYes = a.field("matched").asText() == "Yes";
        const int64_t rows = sums.field("n").asLong();
        const int64_t yes = sums.field("yes").isNull() ? 0 : sums.field("yes").asLong();
        if (tallies && (!advanceYes || yes != rows))
            return "advance " + id.asText() + " tallies but is not marked settled";
        if (!tallies && (advanceYes || yes != 0))
            return "advance " + id.asText() + " does not tally but is marked settled";
    }
    return {};
}

// The book holds exactly one open period.
inline std::string openPeriodFault(jet::Database& db) {
    int periods = 0;
    for (jet::Recordset r = db.openRecordset("select distinct termid from pettycash where closed='No'"); !r.eof();
         r.moveNext())
        ++periods;
    return periods == 1 ? std::string() : std::to_string(periods) + " open periods";
}

// All of them, the first fault found.
inline std::string bookFault(jet::Database& db) {
    for (std::string (*check)(jet::Database&) : {structureFault, runningBalanceFault, advanceFlagFault, openPeriodFault})
        if (std::string fault = check(db); !fault.empty()) return fault;
    return {};
}

}  // namespace petty::testing
