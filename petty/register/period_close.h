#pragma once
// Closing the open period: the checks that must hold first, the closing
// balance, the texts the user is asked and told, and the close itself, which
// marks the period's rows closed and opens the next period with a
// "Carryover" row bringing the closing balance over as cash in.
#include <optional>
#include <string>

#include "petty/register/period_ids.h"
#include "platform/jet/database.h"
#include "platform/vb/clock.h"
#include "platform/vb/currency.h"

namespace petty {

struct CloseRefusal {
    std::string message;
    bool beep = true;
};

// The open period when it may be closed, else why not: no open row, open rows
// of several periods, open rows without a period ID, or (while advances are in
// use) open rows still awaiting settlement. Database errors reach the caller.
struct ClosablePeriod {
    PeriodId id = 0;
    std::optional<CloseRefusal> refusal;
};
ClosablePeriod checkPeriodClosable(jet::Database& db, bool noAdvanceMode);

// Cash in minus cash out over the period's open rows; empty amounts count as zero.
vb::Currency closingBalance(jet::Database& db, PeriodId period);

// A negative balance cannot be carried over.
std::optional<CloseRefusal> negativeBalanceRefusal(vb::Currency balance);

std::string firstCloseQuestion(PeriodId period, vb::Currency balance);
std::string secondCloseQuestion(PeriodId period, vb::Currency balance);
inline constexpr const char* kCloseAborted = "Pettycash term closing aborted. You may close it anytime later.";
std::string periodOpenedMessage(PeriodId newPeriod, vb::Currency balance);

// Closes the period and opens the next, all in one transaction: every row of
// the period is marked closed, a new period ID is made and the "Carryover" row
// written. Either all of it is in the book afterwards or, when any step
// fails (the error reaches the caller), none of it. Returns the new period ID.
PeriodId closePeriod(jet::Database& db, PeriodId period, vb::Currency balance, const std::string& userName,
                     const vb::Clock& clock = vb::clock());

}  // namespace petty
