#pragma once
// The re-tally of an advance group: the advance and every row that names it
// in Matchwith are settled ("Yes") exactly when expenses plus cash in minus
// cash out over the group's open rows equal the amount advanced, and
// unsettled ("No") otherwise. Database errors reach the caller.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

struct AdvanceTally {
    int64_t advance = 0;
    std::string employee;
    vb::Currency advanced;  // the advance's Credit while it is open
    vb::Currency settled;   // the settled total of the group's open rows
    bool tallies() const { return advanced == settled; }
};

// The advance's figures; nullopt when there is no voucher of that number.
// An advance that is no longer open has no amount to tally against:
// jet::Error 94 (Invalid use of Null), and nothing is read further.
std::optional<AdvanceTally> readAdvanceTally(jet::Database& db, int64_t advance);

// How many rows of the group, the advance included, are marked settled.
int64_t settledRowsInGroup(jet::Database& db, int64_t advance);

// Marks the advance and every row naming it, open or closed, "Yes" or "No",
// all of them or none.
void markAdvanceGroup(jet::Database& db, int64_t advance, bool settled);

// What a re-tally did to the group's flags.
enum class GroupMark { Unchanged, MarkedSettled, MarkedUnsettled };
struct AdvanceRetally {
    AdvanceTally tally;
    GroupMark mark = GroupMark::Unchanged;
};

// Re-tallies the group and writes its flags: all rows "Yes" when it tallies,
// all "No" when it does not and any row was marked "Yes", else nothing. No
// message is shown here: the save writes inside its transaction and tells
// the user after it committed. nullopt when there is no voucher of that number.
std::optional<AdvanceRetally> retallyAdvanceGroup(jet::Database& db, int64_t advance);

// The balance the save reports after writing a voucher of the group.
std::string tallyBalanceMessage(const AdvanceTally& tally);
// The note that the group tallies and is marked settled.
std::string tallySettledMessage(const AdvanceTally& tally);
// The warning that rows marked settled will be marked unsettled.
std::string tallyUnsettledWarning(int64_t advance);

// Open rows of the employee that still need settling: advances and the rows
// matched against them.
int64_t pendingSettlementCount(jet::Database& db, const std::string& employee);

}  // namespace petty
