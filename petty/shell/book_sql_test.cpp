// Runs the program's SQL texts against a small book and checks the answers.
// Texts are as the windows write them; where a window puts a text the user
// typed into its SQL, the value is bound as a parameter ("?") instead, and
// numbers the program itself formats are appended as digits.
#include <gtest/gtest.h>

#include "petty/shell/business_database.h"
#include "platform/jet/error.h"
#include "platform/jet/jet_sql.h"
#include "platform/jet/test_support.h"
#include "platform/vb/locale.h"

namespace petty {
namespace {

using jet::Value;
using jet::testing::TestFolder;

vb::Currency cur(std::string_view text) { return *vb::Currency::fromDecimalText(text); }

constexpr int64_t kClosedTerm = 2112010900;
constexpr int64_t kOpenTerm = 2201010000;  // above 2^31

struct Voucher {
    const char* date;  // short date, day/month/year, as the register writes it
    const char* time;
    const char* type;
    const char* employee;
    Value debit, credit, expense;
    Value matchwith;
    const char* matchrequired;
    const char* matched;
    const char* closed;
    int64_t term;
    const char* narration = "";
    const char* head = "";
};

class BookSqlTest : public ::testing::Test {
protected:
    void SetUp() override {
        vb::setCurrentLocale(vb::Locale{});
        createBook(folder.path(), "First", "Second");
        const Voucher vouchers[] = {
            // 1: the closed period
            {"01/12/2021", "09:00:00", "Cash transfer to PC", "", cur("1000"), {}, {}, {}, "No", "", "Yes", kClosedTerm},
            // 2..8: the open period
            {"01/01/2022", "00:05:00", "Carryover", "", cur("250"), {}, {}, {}, "No", "", "No", kOpenTerm},
            {"03/01/2022", "10:00:00", "Advance Issued from PC", "Ann", {}, cur("100"), {}, {}, "Yes", "No", "No", kOpenTerm},
            {"03/01/2022", "09:05:00", "Reimbursed from pettycash", "Bob", {}, cur("0.1"), {}, {}, "No", "", "No",
             kOpenTerm, "correction of bill 17", "Travel"},
            {"04/01/2022", "12:00:00", "Spent from Advance issued", "Ann", {}, {}, cur("60"), int64_t{3}, "YES", "No",
             "No", kOpenTerm, "", "Meals"},
            {"04/01/2022", "12:00:00", "Cash received for settlement", "Ann", cur("30"), {}, {}, int64_t{3}, "Yes",
             "No", "No", kOpenTerm},
            {"05/01/2022", "08:00:00", "Reimbursed from pettycash", "Bob", {}, cur("0.2"), {}, {}, "No", "", "No",
             kOpenTerm, "50% off, 100_000 *special*", "Travel"},
            {"05/01/2022", "08:00:00", "Cash transfer to PC", "", cur("500"), {}, {}, {}, "No", "", "No", kOpenTerm},
        };
        jet::Transaction fixture(db());
        jet::Recordset rs = db().openRecordset("select * from pettycash where voucherid=0");
        for (const Voucher& v : vouchers) {
            rs.addNew();
            rs.setField("Date", v.date);
            rs.setField("Time", v.time);
            rs.setField("TransType", v.type);
            rs.setField("Employee", v.employee);
            rs.setField("Debit", v.debit);
            rs.setField("Credit", v.credit);
            rs.setField("expensefromadvance", v.expense);
            rs.setField("Matchwith", v.matchwith);
            rs.setField("Matchrequired", v.matchrequired);
            rs.setField("Matched", v.matched);
            rs.setField("Closed", v.closed);
            rs.setField("TermID", v.term);
            rs.setField("Narration", v.narration);
            rs.setField("Head", v.head);
            rs.update();
        }
        for (const char* name : {"Cyd", "ann", "Bob"})
            db().execute("INSERT INTO employeemaster ([Name]) VALUES (?)", {name});
        for (const char* head : {"Travel", "meals", "Fuel"})
            db().execute("INSERT INTO [Expense types] ([Expense type]) VALUES (?)", {head});
        db().execute("INSERT INTO projectcodes ([projectcode], [Active]) VALUES ('Alpha', true), ('Old', false)");
        fixture.commit();
    }

    jet::Database& db() {
        if (!book) book = openBook(bookPath(folder.path()));
        return *book;
    }
    Value scalar(std::string_view sql, const std::vector<Value>& params = {}) {
        jet::Recordset rs = db().openRecordset(sql, params);
        if (rs.eof()) return Value("<no row>");
        return rs.field(size_t{0});
    }
    std::vector<int64_t> column(std::string_view sql, std::string_view field, const std::vector<Value>& params = {}) {
        jet::Recordset rs = db().openRecordset(sql, params);
        std::vector<int64_t> out;
        for (; !rs.eof(); rs.moveNext()) out.push_back(rs.field(field).asLong());
        return out;
    }
    static std::string sumForAdvance(int64_t id) {
        return "select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit) + "
               "iif(expensefromadvance is null,0,expensefromadvance)) as mysum from pettycash where closed= 'No' and "
               "matchwith=" + std::to_string(id);
    }

    TestFolder folder;
    std::optional<jet::Database> book;
};

TEST_F(BookSqlTest, LogInReadsTheSettingsRowAndMatchesPasswordsWithoutCase) {
    jet::Recordset config = db().openRecordset("select * from config ");
    EXPECT_FALSE(config.field("NOADVANCE").asBool());
    EXPECT_FALSE(config.field("enablecostcentre").asBool());
    EXPECT_EQ(config.field("reminddays").asLong(), 0);
    // The log-in upper-cases what was typed.
    EXPECT_EQ(db().openRecordset("select * from config where password= ? ", {"FIRST"}).recordCount(), 1);
    EXPECT_EQ(db().openRecordset("select * from config where password= ? ", {"SECOND"}).recordCount(), 0);
    EXPECT_EQ(db().openRecordset("select * from config where approvalpassword= ? ", {"SECOND"}).recordCount(), 1);
    EXPECT_EQ(db().openRecordset("select * from config where password= ? ", {"' or ''='"}).recordCount(), 0);
}

TEST_F(BookSqlTest, ListsOfTheMastersComeInNameOrder) {
    const auto texts = [&](std::string_view sql, std::string_view field) {
        jet::Recordset rs = db().openRecordset(sql);
        std::vector<std::string> out;
        for (; !rs.eof(); rs.moveNext()) out.push_back(rs.field(field).asText());
        return out;
    };
    const std::vector<std::string> people{"ann", "Bob", "Cyd"};
    EXPECT_EQ(texts("select [name] from [employeemaster]   order by [name]", "name"), people);
    EXPECT_EQ(texts("select [name] from [employeemaster] order by [name]", "Name"), people);
    EXPECT_EQ(texts("select * from [employeemaster]  Order by [Name]", "NAME"), people);
    const std::vector<std::string> heads{"Fuel", "meals", "Travel"};
    EXPECT_EQ(texts("select [expense type] from [expense types]    order by [expense type]", "Expense Type"), heads);
    EXPECT_EQ(texts("select * from [Expense types] Order by [Expense type]", "expense type"), heads);
    EXPECT_EQ(texts("select [projectcode] from projectcodes where active=true order by projectcode", "projectcode"),
              (std::vector<std::string>{"Alpha", "General"}));
    EXPECT_EQ(db().openRecordset("SELECT  [Projectcode] ,[Description] FROM  projectcodes where active=true").recordCount(), 2);
    EXPECT_EQ(db().openRecordset("select * from [projectcodes]").recordCount(), 3);
}

TEST_F(BookSqlTest, BalanceSumsCountEmptyAmountsAsZero) {
    const std::pair<const char*, vb::Currency> sums[] = {
        {"select sum(iif(debit is null,0,debit)-iif(credit is null,0,credit)) as mybalance from pettycash where "
         "closed='No'",
         cur("679.7")},
        {"select sum(iif(expensefromadvance is null,0,expensefromadvance)+iif(transtype='Reimbursed from pettycash' "
         ",CREDIT,0)) as myExpense from pettycash where closed='No'",
         cur("60.3")},
        {"select sum(iif(debit is null,0,debit)) as myCashfill from pettycash  where (transtype= 'Cash transfer to "
         "PC' OR transtype = 'Carryover' ) AND closed='No'",
         cur("750")},
        // 'Yes' in the text finds the row that holds "YES".
        {"select sum(iif(expensefromadvance is null,0,expensefromadvance) + iif(debit is null,0,debit)-iif(credit is "
         "null,0,credit)) as mybalance from pettycash where closed='No'  and [matchrequired]='Yes' and [matched]='No'",
         cur("-10")},
        {"select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit)) as mysum from pettycash where "
         "closed= 'No' and termid = 2201010000",
         cur("679.7")},
    };
    for (const auto& [sql, amount] : sums) EXPECT_EQ(scalar(sql).asCurrency(), amount) << sql;
    EXPECT_EQ(scalar("select sum(iif(expensefromadvance is null,0,expensefromadvance)+iif(transtype='Reimbursed from "
                     "pettycash' ,CREDIT,0)) as myExpense from pettycash where closed='No'")
                  .asCurrency(),
              cur("60.3"));
    jet::Recordset status = db().openRecordset(
        "select sum(iif(debit is null,0,debit)) as myCashfill from pettycash  where (transtype= 'Cash transfer to PC' "
        "OR transtype = 'Carryover' ) AND closed='No'");
    EXPECT_EQ(status.field("myCASHFILL").asCurrency(), cur("750"));  // read back in another case
    EXPECT_EQ(scalar("select count(*) as mycount from pettycash where closed='No'  and [matchrequired]='Yes' and "
                     "[matched]='No'")
                  .asLong(),
              3);
}

TEST_F(BookSqlTest, AdvanceSettlementSums) {
    EXPECT_EQ(scalar(sumForAdvance(3)).asCurrency(), cur("90"));
    EXPECT_TRUE(scalar(sumForAdvance(4)).isNull());  // no settlement rows: the caller reads 0
    EXPECT_EQ(scalar("select credit from pettycash where voucherid=3").asCurrency(), cur("100"));
    EXPECT_TRUE(scalar("select credit from pettycash where voucherid=2").isNull());
    jet::Recordset advance = db().openRecordset("select employee, credit from pettycash where voucherid=3");
    EXPECT_EQ(advance.field("Employee").asText(), "Ann");
    EXPECT_EQ(scalar("select sum(iif(credit is null,0,credit) ) as mysum from pettycash where closed= 'No' and "
                     "voucherid=3")
                  .asCurrency(),
              cur("100"));
    EXPECT_EQ(scalar("select count(*) as ROGUEcount  from pettycash where [matched]='Yes' and matchwith=3").asLong(), 0);
    EXPECT_EQ(scalar("select employee from pettycash where voucherid= 5").asText(), "Ann");

    // The employee balance window, for "ann" as typed.
    EXPECT_EQ(scalar("select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit) + "
                     "iif(expensefromadvance is null,0,expensefromadvance)) as mysum from pettycash where [employee] = "
                     "? and [Matched] ='No' AND [matchrequired] = 'Yes' and [closed] = 'No' and [transtype] <> "
                     "'Advance Issued from PC' ",
                     {"ann"})
                  .asCurrency(),
              cur("90"));
    EXPECT_EQ(scalar("select sum( iif(credit is null,0,credit)) as mysum from pettycash where [employee] = ? and "
                     "[Matched] ='No' AND [matchrequired] = 'Yes' and [closed] = 'No' and [transtype] = 'Advance "
                     "Issued from PC' ",
                     {"ann"})
                  .asCurrency(),
              cur("100"));
    EXPECT_EQ(scalar("select count(*) as mycount from pettycash where [matchrequired]= 'Yes' and [matched]='No' and "
                     "closed='No' AND EMPLOYEE =? ",
                     {"Ann"})
                  .asLong(),
              3);
}

TEST_F(BookSqlTest, AdvancePickerListsAndTheSettlementGrid) {
    const std::string picker =
        "SELECT  [VoucherID], [Date], [Time], [Transtype], [Credit] as [Advance], [Matchrequired] as [Settlement "
        "required], [Matched] as [Settled] from pettycash where [employee] = ? and [Matched] ='No' AND "
        "[matchrequired] = 'Yes' and [closed] = 'No' and [transtype] = 'Advance Issued from PC' ";
    jet::Recordset rs = db().openRecordset(picker, {"ANN"});
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field("voucherid").asLong(), 3);
    EXPECT_EQ(rs.field("advance").asCurrency(), cur("100"));
    EXPECT_EQ(rs.field("Settlement Required").asText(), "Yes");

    const std::string grid =
        "select [Date],[Transtype] as [Type], [Head],[Credit] as [CashOut], Debit as [CashIn], expensefromadvance as "
        "[SFA],[voucherid] as [VoucherNo], [Employee],[matchwith] from pettycash where closed= 'No' and matchwith=";
    EXPECT_EQ(column(grid + "3", "VoucherNo"), (std::vector<int64_t>{5, 6}));
    EXPECT_EQ(db().openRecordset(grid + " 0").recordCount(), 0);
    jet::Recordset settlement = db().openRecordset(grid + "3");
    EXPECT_EQ(settlement.field("SFA").asCurrency(), cur("60"));
    EXPECT_TRUE(settlement.field("cashin").isNull());

    EXPECT_EQ(column("select * from pettycash where voucherid= 3 or matchwith= 3 order by voucherid", "VoucherID"),
              (std::vector<int64_t>{3, 5, 6}));
    EXPECT_EQ(db().openRecordset("select * from pettycash where matchwith= 0").recordCount(), 0);
    EXPECT_EQ(db().openRecordset("select * from pettycash where voucherid=0").recordCount(), 0);

    EXPECT_EQ(column("SELECT  [Employee], [VoucherID], [Date], [Time], [Transtype], [Credit] as [Advance], "
                     "[Matchrequired] as [Settlement required], [Matched] as [Settled],[narration] from pettycash "
                     "where [Matched] ='No' AND [matchrequired] = 'Yes' and [closed] = 'No' and [transtype] = "
                     "'Advance Issued from PC' order by [employee]",
                     "VoucherID"),
              (std::vector<int64_t>{3}));
}

TEST_F(BookSqlTest, RegisterStartsWithEveryVoucherInNumberOrder) {
    EXPECT_EQ(column("select * from [pettycash] Order by [VoucherID]", "voucherid"),
              (std::vector<int64_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(BookSqlTest, RunningBalanceOrder) {
    // Dates in time order, times of a day in text order, then voucher numbers.
    EXPECT_EQ(column("select * from pettycash where closed='No' order by date, time, voucherid   ", "VoucherID"),
              (std::vector<int64_t>{2, 4, 3, 5, 6, 7, 8}));
}

TEST_F(BookSqlTest, PeriodIdsAboveTwoToTheThirtyFirst) {
    EXPECT_EQ(scalar("select max(termID) as mysessionid FROM PETTYCASH WHERE closed='No'").asLong(), kOpenTerm);
    EXPECT_EQ(scalar("select max(termID) as mysessionid FROM PETTYCASH ").asLong(), kOpenTerm);
    EXPECT_EQ(db().openRecordset("select termID FROM PETTYCASH WHERE TERMID=2201010000").recordCount(), 7);
    EXPECT_EQ(db().openRecordset("select termID FROM PETTYCASH WHERE TERMID=2201010001").recordCount(), 0);

    // The periods list: one row per period and closed state.
    jet::Recordset periods = db().openRecordset("SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ");
    ASSERT_EQ(periods.recordCount(), 2);
    EXPECT_EQ(periods.field("termid").asLong(), kClosedTerm);
    periods.moveNext();
    EXPECT_EQ(periods.field("TermID").asLong(), kOpenTerm);
    EXPECT_EQ(periods.field("closed").asText(), "No");

    EXPECT_EQ(scalar("select count(*) as mycount from pettycash where termid=2201010000").asLong(), 7);
    jet::Recordset first = db().openRecordset("select top 1 date from pettycash where termid=2201010000 order by date asc");
    EXPECT_EQ(first.recordCount(), 1);
    EXPECT_EQ(first.field("date").asDate(), *vb::DateTime::fromParts(2022, 1, 1));
    EXPECT_EQ(first.field("date").asText(), "01/01/2022");
    EXPECT_EQ(column("select * from pettycash where termID=2201010000 ORDER BY VOUCHERID", "voucherid"),
              (std::vector<int64_t>{2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(BookSqlTest, ReminderCutOffIsInclusive) {
    const auto count = [&](const std::string& cutOff) {
        return scalar(" SELECT count(*) as mycount from pettycash where   [date]<= datevalue('" + cutOff + "') " +
                      " and (TRANSTYPE= 'Advance Issued from PC' AND MATCHED='No')  ")
            .asLong();
    };
    EXPECT_EQ(count("02/01/2022"), 0);
    EXPECT_EQ(count("03/01/2022"), 1);
    EXPECT_EQ(count("31/12/2030"), 1);
}

TEST_F(BookSqlTest, PeriodCloseQueriesAndTheBulkUpdate) {
    EXPECT_EQ(scalar("select  count(*) as mycount from pettycash where  closed='No' ").asLong(), 7);
    EXPECT_EQ(db().openRecordset("select distinct TERMID  from pettycash where  closed='No' group by [termid]").recordCount(), 1);
    EXPECT_EQ(scalar("select count(*) as mycount from pettycash where [matchrequired]= 'Yes' and [matched]='No' and "
                     "closed='No'")
                  .asLong(),
              3);
    db().openRecordset("select * from pettycash where termID = 2201010000");
    EXPECT_EQ(db().execute("UPDATE pettycash SET closed = 'Yes' where TermID = 2201010000"), 7);
    EXPECT_TRUE(scalar("select max(termID) as mysessionid FROM PETTYCASH WHERE closed='No'").isNull());
    EXPECT_EQ(scalar("select max(termID) as mysessionid FROM PETTYCASH ").asLong(), kOpenTerm);
}

TEST_F(BookSqlTest, SettlementFlagUpdates) {
    db().openRecordset("select * from pettycash where matchwith = 3");
    EXPECT_EQ(db().execute("UPDATE pettycash SET matched = 'Yes' where matchwith = 3"), 2);
    db().openRecordset("select * from pettycash where voucherID = 3");
    EXPECT_EQ(db().execute("UPDATE pettycash SET matched = 'Yes' where voucherID = 3"), 1);
    EXPECT_EQ(scalar("select count(*) as ROGUEcount  from pettycash where [matched]='Yes' and matchwith=3").asLong(), 2);
    EXPECT_EQ(db().execute("UPDATE pettycash SET matched = 'No' where matchwith = 3"), 2);
    EXPECT_EQ(db().execute("UPDATE pettycash SET matched = 'No' where voucherID = 3"), 1);
}

TEST_F(BookSqlTest, SearchClauses) {
    const std::string base = "select * from [Pettycash] where voucherid > 0 ";
    const std::pair<std::string, std::vector<int64_t>> searches[] = {
        {base, {1, 2, 3, 4, 5, 6, 7, 8}},
        {base + "   and narration like '*Correction*' ", {4}},
        {base + " and ((TRANSTYPE= 'Advance Issued from PC' AND MATCHED='No') OR (Matchrequired='YES' AND "
                "MATCHED='NO') )",
         {3, 5, 6}},
        {base + " and (TRANSTYPE= 'Advance Issued from PC' AND MATCHED='No')  ", {3}},
        {base + " and ( ( TRANSTYPE= 'Advance Issued from PC' AND MATCHED='Yes') OR (Matchrequired='YES' AND "
                "MATCHED='Yes') )",
         {}},
        {base + " and TERMID <> 2201010000", {1}},
        {base + " and TERMID = 2201010000", {2, 3, 4, 5, 6, 7, 8}},
        {base + " and  (document is null OR DOCUMENT = '') And (TRANSTYPE = 'Spent from Advance issued'  OR "
                "TRANSTYPE = 'Reimbursed from pettycash' ) ",
         {4, 5, 7}},
        {base + " and  (billno is null OR billno = '') And (TRANSTYPE = 'Spent from Advance issued'  OR TRANSTYPE = "
                "'Reimbursed from pettycash' ) ",
         {4, 5, 7}},
        {base + " and VOUCHERID  = 6", {6}},
    };
    for (const auto& [sql, ids] : searches) EXPECT_EQ(column(sql + " order by voucherid", "VoucherID"), ids) << sql;

    // Field filters with the text the user typed, bound and matched literally.
    const std::tuple<std::string, std::string, std::vector<int64_t>> typed[] = {
        {" and [employee]=?", "bob", {4, 7}},
        {" and Billno = ? ", "' or ''='", {}},
        {" and Narration like  ? ", "50%", {7}},
        {" and Narration like  ? ", "100_0", {7}},
        {" and Narration like  ? ", "*special*", {7}},
        {" and Narration like  ? ", "l*7", {}},
        {" and head like ? ", "RAV", {4, 7}},
        {" and transtype like ? ", "settlement", {6}},
    };
    for (const auto& [clause, text, ids] : typed) {
        const bool like = clause.find("like") != std::string::npos;
        const Value value = like ? Value("*" + jet::likeLiteral(text) + "*") : Value(text);
        EXPECT_EQ(column(base + clause + " order by voucherid", "VoucherID", {value}), ids) << clause << text;
    }
}

TEST_F(BookSqlTest, VoucherPrintingFindsTheDaysVouchersOfAnEmployee) {
    EXPECT_EQ(column("select [employee], voucherid , [time] from pettycash where employee= ? and date= datevalue(?)  "
                     "order by  time asc",
                     "voucherid", {"Bob", "03/01/2022"}),
              (std::vector<int64_t>{4}));
    EXPECT_EQ(jet::testing::errorNumber([&] {
                  db().openRecordset("select voucherid from pettycash where date= datevalue(?)", {"not a date"});
              }),
              3464);
}

TEST_F(BookSqlTest, ChangeLogRowsAreAppendedThroughAnEmptySet) {
    jet::Recordset log = db().openRecordset("Select * from changelog where voucherID=0");
    EXPECT_EQ(log.recordCount(), 0);
    const std::string text = "Credit changed from 100 to 150 Ann -> Bob";
    log.addNew();
    log.setField("Date", *vb::DateTime::fromParts(2022, 1, 6, 14, 30, 0));
    log.setField("user", "Unknown");
    log.setField("changelog", text);
    log.setField("voucherID", int64_t{3});
    log.update();
    log.addNew();
    log.setField("Date", "06/01/2022 15:00:00");
    log.setField("voucherID", "4");
    log.update();

    jet::Recordset viewer = db().openRecordset("select * from [changelog] Order by [date] desc");
    ASSERT_EQ(viewer.recordCount(), 2);
    EXPECT_EQ(viewer.field("voucherid").asLong(), 4);
    viewer.moveNext();
    EXPECT_EQ(viewer.field("changelog").asText(), text);
    EXPECT_EQ(viewer.field("date").asText(), "06/01/2022 14:30:00");
}

}  // namespace
}  // namespace petty
