#pragma once
// What is still open on an employee's advances.
//
// An advance is a row of type "Advance Issued from PC"; its Credit is the
// amount advanced. The rows that name it in Matchwith settle it: expenses
// declared out of it (expensefromadvance), cash the employee brings back
// (Debit) and cash the fund pays him (Credit). Only rows of the open period
// (Closed 'No') count, and an empty amount counts as 0. Every value goes into
// the SQL as a parameter, so a name holding a quote is an ordinary name.
// Database errors reach the caller.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "petty/shell/voucher_types.h"
#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

// The transaction types of an advance and of the three kinds of its settlement.
inline constexpr const char* kAdvanceIssued = voucher_type::kAdvanceIssued.data();
inline constexpr const char* kSpentFromAdvance = voucher_type::kSpentFromAdvance.data();
inline constexpr const char* kCashReceivedForSettlement = voucher_type::kCashReceivedForSettlement.data();
inline constexpr const char* kCashGivenForSettlement = voucher_type::kCashGivenForSettlement.data();

// An employee's open advances not yet settled (the employee is the one
// parameter), in the book's order: the list of the picker and of the balance window.
inline constexpr const char* kOpenAdvancesOf =
    "SELECT  [VoucherID], [Date], [Time], [Transtype], [Credit] as [Advance], [Matchrequired] as [Settlement "
    "required], [Matched] as [Settled] from pettycash where [employee] = ? and [Matched] ='No' AND [matchrequired] = "
    "'Yes' and [closed] = 'No' and [transtype] = 'Advance Issued from PC' ";

// Expenses plus cash in minus cash out over the open rows that name an
// advance (its number is the one parameter), as "mysum"; Null over no rows.
inline constexpr const char* kSettledAgainstAdvanceSql =
    "select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit) + iif(expensefromadvance is "
    "null,0,expensefromadvance)) as mysum from pettycash where closed= 'No' and matchwith=?";

// The open rows that name an advance (its number is the one parameter).
inline constexpr const char* kSettlementRowsOf =
    "select [Date],[Transtype] as [Type], [Head],[Credit] as [CashOut], Debit as [CashIn], expensefromadvance as "
    "[SFA],[voucherid] as [VoucherNo], [Employee],[matchwith] from pettycash where closed= 'No' and matchwith= ?";

// Expenses plus cash in minus cash out over the open rows matched against
// the advance; 0 when there are none. `excludedVoucher` leaves one row out:
// a saved voucher being edited, whose boxes stand in for its stored amounts.
vb::Currency settledTotal(jet::Database& db, int64_t advance, std::optional<int64_t> excludedVoucher = {});

// The amount advanced (an empty one counts as 0) minus the settled total.
// Positive: the employee still holds that much; negative: the fund owes him.
vb::Currency advanceBalance(jet::Database& db, int64_t advance, vb::Currency amountAdvanced);

// What the balance window totals over an employee's open rows that still
// need settling (Matchrequired 'Yes', Matched 'No'): the amounts advanced,
// and the settlements of any of those advances (expenses plus cash in minus
// cash out of the rows of every other type).
vb::Currency employeeAdvanceTotal(jet::Database& db, const std::string& employee);
vb::Currency employeeSettlementTotal(jet::Database& db, const std::string& employee);

// "Unsettled amount for voucher: <n> is  <balance>", and when the fund owes
// the employee, what it owes him.
std::string unsettledAmountText(int64_t advance, vb::Currency balance, std::string_view employee);

}  // namespace petty
