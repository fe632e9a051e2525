#pragma once
// The transaction types a voucher of the register carries (its `TransType`),
// exactly as the book stores them and the type combo offers them.
#include <string_view>

namespace petty::voucher_type {

inline constexpr std::string_view kCashTransfer = "Cash transfer to PC";
inline constexpr std::string_view kAdvanceIssued = "Advance Issued from PC";
inline constexpr std::string_view kSpentFromAdvance = "Spent from Advance issued";
inline constexpr std::string_view kCashReceivedForSettlement = "Cash received for settlement";
inline constexpr std::string_view kCashGivenForSettlement = "Cash given for settlement";
inline constexpr std::string_view kReimbursed = "Reimbursed from pettycash";
// Written by the period close, never offered in the type combo.
inline constexpr std::string_view kCarryover = "Carryover";
inline constexpr std::string_view kTallyCount = "Pettycash in hand - tally count";

}  // namespace petty::voucher_type
