#pragma once
// The report windows' own SQL texts, named so that the book's SQL test runs
// these very texts.
namespace petty {

// The employee names of the report chooser's receiver list, in name order.
inline constexpr const char* kReceiverNamesSql = "select [name] from [employeemaster] order by [name]";

// Every open advance not yet settled, by employee: the balance window's list.
inline constexpr const char* kPendingAdvancesSql =
    "SELECT  [Employee], [VoucherID], [Date], [Time], [Transtype], [Credit] as [Advance], [Matchrequired] as "
    "[Settlement required], [Matched] as [Settled],[narration] from pettycash where [Matched] ='No' AND "
    "[matchrequired] = 'Yes' and [closed] = 'No' and [transtype] = 'Advance Issued from PC' order by [employee]";

// The periods window: each period ID with its Closed value in period-ID order
// (the latest period is the last row, current after loading); a period's row
// count, and its first date (add "asc" or "desc" for the last).
inline constexpr const char* kPeriodListInOrderSql =
    "SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ORDER BY [TERMID],[CLOSED]";
inline constexpr const char* kPeriodRowCountSql = "select count(*) as mycount from pettycash where termid=?";
inline constexpr const char* kPeriodEdgeDateSql = "select top 1 date from pettycash where termid=? order by date ";

// A period's rows for the CSV export, in voucher order.
inline constexpr const char* kPeriodExportRowsSql = "select * from pettycash where termID=? ORDER BY VOUCHERID";

// An employee's vouchers of one day (the name and the short date), in time order.
inline constexpr const char* kDaysVouchersOfEmployeeSql =
    "select [employee], voucherid , [time] from pettycash where employee= ? and date= datevalue(?)  order by  time "
    "asc";

}  // namespace petty
