#pragma once
// The indexes of the register's entry boxes (Textpcash), named by the column
// each is bound to.
namespace petty {

inline constexpr int kDateBox = 0;
inline constexpr int kTimeBox = 1;
inline constexpr int kCreditBox = 2;
inline constexpr int kDebitBox = 3;
inline constexpr int kExpenseFromAdvanceBox = 4;
inline constexpr int kRunningBalanceBox = 5;
inline constexpr int kBillNoBox = 6;
inline constexpr int kEnteredByBox = 7;
inline constexpr int kVoucherIdBox = 8;
inline constexpr int kMatchwithBox = 9;
inline constexpr int kMatchRequiredBox = 10;
inline constexpr int kMatchedBox = 11;
inline constexpr int kApprovedByBox = 12;
inline constexpr int kClosedBox = 13;
inline constexpr int kNarrationBox = 14;
inline constexpr int kTermIdBox = 15;
inline constexpr int kApprovedBox = 16;
inline constexpr int kDocumentBox = 17;
inline constexpr int kEnteredOnBox = 18;
// Shows the grouping column of a saved row and, while a row is added, the
// cash in hand before it; never written back.
inline constexpr int kOpeningBalanceBox = 22;

}  // namespace petty
