#pragma once
// The register window's own SQL texts, named so that the book's SQL test runs
// these very texts.
namespace petty {

// What the register shows when it opens: every voucher in number order.
inline constexpr const char* kAllVouchersInNumberOrderSql = "select * from [pettycash] Order by [VoucherID]";
// An empty set of the voucher table, to start from.
inline constexpr const char* kNoVoucherSql = "select * from pettycash where voucherid=0";
// An advance and the rows settled against it (its number twice), and the empty set.
inline constexpr const char* kAdvanceAndSettlementRowsSql =
    "select * from pettycash where voucherid= ? or matchwith= ? order by voucherid";
inline constexpr const char* kNoSettlementRowsSql = "select * from pettycash where matchwith= 0";
// The amount advanced, and who holds it (the advance's number).
inline constexpr const char* kAdvanceCreditSql = "select credit from pettycash where voucherid=?";
inline constexpr const char* kVoucherEmployeeSql = "select employee from pettycash where voucherid= ?";
// The change log's empty set that rows are appended through.
inline constexpr const char* kChangeLogAppendSql = "Select * from changelog where voucherID=0";

}  // namespace petty
