#include "platform/jet/jet_sql.h"

#include <gtest/gtest.h>

#include "platform/jet/test_support.h"

namespace jet {
namespace {

using testing::errorNumber;
using K = ParamKind;

const vb::Locale kDayMonthYear{};  // "05/03/2014" is 5 March 2014

struct Case {
    const char* jet;
    const char* sqlite;
    std::vector<ParamKind> params;
};

TEST(JetSql, TranslatesTheDialect) {
    const Case cases[] = {
        {"select * from [Expense types] Order by [Expense type]",
         R"(select * from "Expense types" Order by "Expense type")", {}},
        {"SELECT  [Projectcode] ,[Description] FROM  projectcodes where active=true",
         R"(SELECT  "Projectcode" ,"Description" FROM  projectcodes where active=1)", {}},
        {"select * from config where sendmail = FALSE ", "select * from config where sendmail = 0", {}},
        {" SELECT count(*) as mycount from pettycash where   [date]<= datevalue('31/03/2014')  and x=1 ",
         R"(SELECT count(*) as mycount from pettycash where   "date"<= '2014-03-31'  and x=1)", {}},
        {"select top 1 date from pettycash where termid=5 order by date asc",
         "select date from pettycash where termid=5 order by date asc LIMIT 1", {}},
        {"select distinct top 10 termid from pettycash", "select distinct termid from pettycash LIMIT 10", {}},
        {"select * from pettycash where narration like '*Correction*' ",
         R"(select * from pettycash where narration like '%Correction%' ESCAPE '\')", {}},
        {"select * from t where a not like '50%_off?[*]'",
         R"(select * from t where a not like '50\%\_off_*' ESCAPE '\')", {}},
        {"select * from t where a like ? and d = datevalue(?) and n = ?",
         R"(select * from t where a like ? ESCAPE '\' and d = ? and n = ?)",
         {K::LikePattern, K::DateValue, K::Plain}},
        // Text inside quotes is data: no name, keyword or wildcard in it changes.
        {"select * from t where a = 'it''s [x] true?' and b = \"q\"",
         "select * from t where a = 'it''s [x] true?' and b = \"q\"", {}},
        {"select iif(debit is null,0,debit) as d from pettycash",
         "select iif(debit is null,0,debit) as d from pettycash", {}},
        // Grouped rows come out in the order of their groups, as the engine's own grouping gives them.
        {"SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ",
         R"(SELECT  "TermID","Closed" FROM  pettycash  GROUP BY "TERMID","CLOSED" ORDER BY "TERMID","CLOSED")", {}},
        {"select head, sum(debit) from t group by head having sum(debit) > 0;",
         R"(select head, sum(debit) from t group by head having sum(debit) > 0 ORDER BY head)", {}},
        {"select head from t group by head order by head desc", "select head from t group by head order by head desc", {}},
        {"select top 2 head from t group by head", "select head from t group by head ORDER BY head LIMIT 2", {}},
        {"select x from (select head as x from t group by head)", "select x from (select head as x from t group by head)", {}},
    };
    for (const Case& c : cases) {
        const Translation t = translateSql(c.jet, kDayMonthYear);
        EXPECT_EQ(t.sql, c.sqlite) << c.jet;
        EXPECT_EQ(t.params, c.params) << c.jet;
    }
}

TEST(JetSql, RefusesWhatItCannotTranslate) {
    const std::pair<const char*, int> cases[] = {
        {"select * from t where d <= datevalue('31/02/2014')", 3464},
        {"select * from t where d <= datevalue('soon')", 3464},
        {"select * from t where d <= datevalue(d2)", 3075},
        {"select * from t where a like '*#*'", 3075},
        {"select * from t where a like '[a-z]*'", 3075},
        {"select * from t where a = 'unterminated", 3075},
        {"select * from [unterminated", 3075},
        {"select top many * from t", 3075},
        {"select top 10 percent * from t", 3075},
    };
    for (const auto& [sql, number] : cases)
        EXPECT_EQ(errorNumber([sql = sql] { translateSql(sql, kDayMonthYear); }), number) << sql;
}

TEST(JetSql, TellsWhichSelectsReadRowsOfOneTable) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"pettycash", "pettycash"},
        {"[Expense types]", "Expense types"},
        {"select * from [pettycash] Order by [VoucherID]", "pettycash"},
        {"select * from pettycash where closed='No' order by date, time, voucherid   ", "pettycash"},
        {"Select * from changelog where voucherID=0", "changelog"},
        {"select [name] from [employeemaster]   order by [name]", "employeemaster"},
        {"select top 1 date from pettycash order by date", "pettycash"},
        {"SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ", std::nullopt},
        {"select distinct TERMID  from pettycash where  closed='No' group by [termid]", std::nullopt},
        {"select max(termID) as mysessionid FROM PETTYCASH ", std::nullopt},
        {"select sum(iif(debit is null,0,debit)) as s from pettycash where closed='No'", std::nullopt},
        {"select (sum(debit)) as s from pettycash", std::nullopt},
        {"select iif(count(*) > 0, 1, 0) as any from pettycash", std::nullopt},
        {"select * from pettycash where voucherid = (select max(voucherid) from pettycash)", "pettycash"},
        {"select * from a, b", std::nullopt},
        {"select * from a inner join b on a.x = b.x", std::nullopt},
        {"select ? as p from a", std::nullopt},
        {"update pettycash set closed = 'Yes'", std::nullopt},
    };
    for (const auto& [source, table] : cases) EXPECT_EQ(translateRecordSource(source).baseTable, table) << source;
}

TEST(JetSql, SplitsAnUpdatableSelectForRefetching) {
    const Translation t = translateSql("select top 2 [Credit] as [Advance], x from [pettycash] where a = ? order by x");
    EXPECT_EQ(t.selectList, R"("Credit" as "Advance", x)");
    EXPECT_EQ(t.fromClause, R"(from "pettycash" where a = ? order by x LIMIT 2)");
}

TEST(JetSql, LiteralSearchTextMatchesOnlyItself) {
    EXPECT_EQ(likeLiteral("50%*?#[x]"), "50%[*][?][#][[]x]");
    EXPECT_EQ(translateLikePattern("*" + likeLiteral("a*b?c#d[e_") + "*"), R"(%a*b?c#d[e\_%)");
}

}  // namespace
}  // namespace jet
