#pragma once
// The SQL texts of the book that windows of more than one folder read, or that
// the shell's windows read and the book's SQL test runs: one copy each.
namespace petty {

// The settings row, and the log-in's password look-ups (the typed password,
// upper-cased, is the one parameter).
inline constexpr const char* kSettingsRowSql = "select * from config ";
inline constexpr const char* kUserPasswordSql = "select * from config where password= ? ";
inline constexpr const char* kApprovalPasswordSql = "select * from config where approvalpassword= ? ";

// The masters as the pick lists show them, and as their own windows edit them.
inline constexpr const char* kEmployeeNamesSql = "select [name] from [employeemaster]   order by [name]";
inline constexpr const char* kEmployeeMasterSql = "select * from [employeemaster]  Order by [Name]";
inline constexpr const char* kExpenseHeadsSql = "select [expense type] from [expense types]    order by [expense type]";
inline constexpr const char* kExpenseTypesMasterSql = "select * from [Expense types] Order by [Expense type]";
inline constexpr const char* kActiveProjectCodesSql =
    "select [projectcode] from projectcodes where active=true order by projectcode";
inline constexpr const char* kActiveProjectCodesWithDescriptionSql =
    "SELECT  [Projectcode] ,[Description] FROM  projectcodes where active=true";
inline constexpr const char* kProjectCodesMasterSql = "select * from [projectcodes]";

// The open period's ID (the largest among the open rows), and the largest ID
// of all rows, as "mysessionid": the register's period IDs and the report
// chooser's latest period read them.
inline constexpr const char* kLargestOpenPeriodIdSql = "select max(termID) as mysessionid FROM PETTYCASH WHERE closed='No'";
inline constexpr const char* kLargestPeriodIdSql = "select max(termID) as mysessionid FROM PETTYCASH ";

// One row per period ID and closed state.
inline constexpr const char* kPeriodListSql = "SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ";

// The change log, newest first.
inline constexpr const char* kChangeLogNewestFirstSql = "select * from [changelog] Order by [date] desc";

}  // namespace petty
