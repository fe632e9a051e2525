// Runs the program's own SQL against one small book and checks the answers:
// the named texts the windows use and the procedures that hold the rest, from
// the shell, the reports and the register (the register's test binary sees
// all three).
#include <gtest/gtest.h>

#include "petty/register/advance_tally.h"
#include "petty/register/balance_sums.h"
#include "petty/register/old_advances.h"
#include "petty/register/period_close.h"
#include "petty/register/period_ids.h"
#include "petty/register/register_queries.h"
#include "petty/register/running_balance.h"
#include "petty/register/search_text.h"
#include "petty/reports/report_queries.h"
#include "petty/shell/advance_balance.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/business_database.h"
#include "platform/jet/error.h"
#include "platform/jet/test_support.h"
#include "platform/vb/test_support.h"
#include "platform/vb/clock.h"
#include "platform/vb/locale.h"

namespace petty {
namespace {

using jet::Value;
using jet::testing::TestFolder;

using vb::testing::cur;

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
    std::vector<std::string> texts(std::string_view sql, std::string_view field) {
        jet::Recordset rs = db().openRecordset(sql);
        std::vector<std::string> out;
        for (; !rs.eof(); rs.moveNext()) out.push_back(rs.field(field).asText());
        return out;
    }
    std::vector<int64_t> searched(const SearchSettings& settings) {
        const SearchText search = searchText(settings, kOpenTerm);
        EXPECT_EQ(search.refusal, "");
        return column(search.sql, "VoucherID", search.parameters);
    }

    TestFolder folder;
    std::optional<jet::Database> book;
};

TEST_F(BookSqlTest, LogInReadsTheSettingsRowAndMatchesPasswordsWithoutCase) {
    jet::Recordset config = db().openRecordset(kSettingsRowSql);
    EXPECT_FALSE(config.field("NOADVANCE").asBool());
    EXPECT_FALSE(config.field("enablecostcentre").asBool());
    EXPECT_EQ(config.field("reminddays").asLong(), 0);
    // The log-in upper-cases what was typed.
    EXPECT_EQ(db().openRecordset(kUserPasswordSql, {"FIRST"}).recordCount(), 1);
    EXPECT_EQ(db().openRecordset(kUserPasswordSql, {"SECOND"}).recordCount(), 0);
    EXPECT_EQ(db().openRecordset(kApprovalPasswordSql, {"SECOND"}).recordCount(), 1);
    EXPECT_EQ(db().openRecordset(kUserPasswordSql, {"' or ''='"}).recordCount(), 0);
}

TEST_F(BookSqlTest, ListsOfTheMastersComeInNameOrder) {
    const std::vector<std::string> people{"ann", "Bob", "Cyd"};
    EXPECT_EQ(texts(kEmployeeNamesSql, "Name"), people);
    EXPECT_EQ(texts(kReceiverNamesSql, "name"), people);
    EXPECT_EQ(texts(kEmployeeMasterSql, "NAME"), people);
    const std::vector<std::string> heads{"Fuel", "meals", "Travel"};
    EXPECT_EQ(texts(kExpenseHeadsSql, "Expense Type"), heads);
    EXPECT_EQ(texts(kExpenseTypesMasterSql, "expense type"), heads);
    EXPECT_EQ(texts(kActiveProjectCodesSql, "projectcode"), (std::vector<std::string>{"Alpha", "General"}));
    EXPECT_EQ(db().openRecordset(kActiveProjectCodesWithDescriptionSql).recordCount(), 2);
    EXPECT_EQ(db().openRecordset(kProjectCodesMasterSql).recordCount(), 3);
}

TEST_F(BookSqlTest, BalanceSumsCountEmptyAmountsAsZero) {
    EXPECT_EQ(getCashBalance(db()), cur("679.7"));
    EXPECT_EQ(getTotalExpenses(db()), cur("60.3"));
    EXPECT_EQ(getCashFill(db()), cur("750"));
    // The advance of 100 less the 90 settled against it; 'Yes' in the text
    // finds the row that holds "YES".
    EXPECT_EQ(getAmountNotSettled(db()), cur("10"));
    EXPECT_EQ(getUnsettledCount(db()), 3);
    EXPECT_EQ(closingBalance(db(), kOpenTerm), cur("679.7"));
    EXPECT_EQ(closingBalance(db(), kClosedTerm), vb::Currency());  // its rows are closed
}

TEST_F(BookSqlTest, AdvanceSettlementSums) {
    EXPECT_EQ(scalar(kSettledAgainstAdvanceSql, {int64_t{3}}).asCurrency(), cur("90"));
    EXPECT_TRUE(scalar(kSettledAgainstAdvanceSql, {int64_t{4}}).isNull());  // no settlement rows
    EXPECT_EQ(settledTotal(db(), 3), cur("90"));
    EXPECT_EQ(settledTotal(db(), 4), vb::Currency());
    EXPECT_EQ(settledTotal(db(), 3, int64_t{5}), cur("30"));  // the voucher being edited left out
    EXPECT_EQ(advanceBalance(db(), 3, cur("100")), cur("10"));

    const std::optional<AdvanceTally> tally = readAdvanceTally(db(), 3);
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->employee, "Ann");
    EXPECT_EQ(tally->advanced, cur("100"));
    EXPECT_EQ(tally->settled, cur("90"));
    EXPECT_FALSE(tally->tallies());
    EXPECT_FALSE(readAdvanceTally(db(), 99));
    EXPECT_EQ(settledRowsInGroup(db(), 3), 0);
    EXPECT_EQ(scalar(kAdvanceCreditSql, {int64_t{3}}).asCurrency(), cur("100"));
    EXPECT_TRUE(scalar(kAdvanceCreditSql, {int64_t{2}}).isNull());
    EXPECT_EQ(scalar(kVoucherEmployeeSql, {int64_t{5}}).asText(), "Ann");

    // The employee balance window, for "ann" as typed.
    EXPECT_EQ(employeeSettlementTotal(db(), "ann"), cur("90"));
    EXPECT_EQ(employeeAdvanceTotal(db(), "ann"), cur("100"));
    EXPECT_EQ(pendingSettlementCount(db(), "Ann"), 3);
    EXPECT_EQ(employeeAdvanceTotal(db(), "' or ''='"), vb::Currency());
}

TEST_F(BookSqlTest, AdvancePickerListsAndTheSettlementGrid) {
    jet::Recordset rs = db().openRecordset(kOpenAdvancesOf, {"ANN"});
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field("voucherid").asLong(), 3);
    EXPECT_EQ(rs.field("advance").asCurrency(), cur("100"));
    EXPECT_EQ(rs.field("Settlement Required").asText(), "Yes");

    EXPECT_EQ(column(kSettlementRowsOf, "VoucherNo", {int64_t{3}}), (std::vector<int64_t>{5, 6}));
    EXPECT_EQ(db().openRecordset(kSettlementRowsOf, {int64_t{0}}).recordCount(), 0);
    jet::Recordset settlement = db().openRecordset(kSettlementRowsOf, {int64_t{3}});
    EXPECT_EQ(settlement.field("SFA").asCurrency(), cur("60"));
    EXPECT_TRUE(settlement.field("cashin").isNull());

    EXPECT_EQ(column(kAdvanceAndSettlementRowsSql, "VoucherID", {int64_t{3}, int64_t{3}}),
              (std::vector<int64_t>{3, 5, 6}));
    EXPECT_EQ(db().openRecordset(kNoSettlementRowsSql).recordCount(), 0);
    EXPECT_EQ(db().openRecordset(kNoVoucherSql).recordCount(), 0);
    EXPECT_EQ(column(kPendingAdvancesSql, "VoucherID"), (std::vector<int64_t>{3}));
}

TEST_F(BookSqlTest, RegisterStartsWithEveryVoucherInNumberOrder) {
    EXPECT_EQ(column(kAllVouchersInNumberOrderSql, "voucherid"), (std::vector<int64_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(BookSqlTest, RunningBalanceOrder) {
    // Dates in time order, times of a day in text order, then voucher numbers.
    EXPECT_EQ(column(kOpenRowsInRunningOrder, "VoucherID"), (std::vector<int64_t>{2, 4, 3, 5, 6, 7, 8}));
}

TEST_F(BookSqlTest, PeriodIdsAboveTwoToTheThirtyFirst) {
    EXPECT_EQ(getOpenPeriodId(db()), kOpenTerm);
    EXPECT_EQ(currentPeriodId(db()), kOpenTerm);
    EXPECT_EQ(scalar(kLargestOpenPeriodIdSql).asLong(), kOpenTerm);
    EXPECT_EQ(scalar(kLargestPeriodIdSql).asLong(), kOpenTerm);
    // 1 January 2022 00:00 is taken by the open period: the next free ID.
    const vb::FixedClock clock(*vb::DateTime::fromParts(2022, 1, 1, 0, 0, 30));
    EXPECT_EQ(newPeriodId(db(), clock), kOpenTerm + 1);
    EXPECT_EQ(getCurrentOrNewPeriodId(db(), clock), kOpenTerm);

    // The period lists: one row per period and closed state.
    for (const char* list : {kPeriodListSql, kPeriodListInOrderSql}) {
        jet::Recordset periods = db().openRecordset(list);
        ASSERT_EQ(periods.recordCount(), 2) << list;
        EXPECT_EQ(periods.field("termid").asLong(), kClosedTerm);
        periods.moveNext();
        EXPECT_EQ(periods.field("TermID").asLong(), kOpenTerm);
        EXPECT_EQ(periods.field("closed").asText(), "No");
    }

    EXPECT_EQ(scalar(kPeriodRowCountSql, {kOpenTerm}).asLong(), 7);
    jet::Recordset first = db().openRecordset(std::string(kPeriodEdgeDateSql) + "asc", {kOpenTerm});
    EXPECT_EQ(first.recordCount(), 1);
    EXPECT_EQ(first.field("date").asDate(), *vb::DateTime::fromParts(2022, 1, 1));
    EXPECT_EQ(first.field("date").asText(), "01/01/2022");
    jet::Recordset last = db().openRecordset(std::string(kPeriodEdgeDateSql) + "desc", {kOpenTerm});
    EXPECT_EQ(last.field("date").asDate(), *vb::DateTime::fromParts(2022, 1, 5));
    EXPECT_EQ(column(kPeriodExportRowsSql, "voucherid", {kOpenTerm}), (std::vector<int64_t>{2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(BookSqlTest, ReminderCutOffIsInclusive) {
    const vb::DateTime today = *vb::DateTime::fromParts(2022, 1, 10);
    EXPECT_EQ(countOldUnsettledAdvances(db(), today, 8), 0);  // 2 January
    EXPECT_EQ(countOldUnsettledAdvances(db(), today, 7), 1);  // 3 January, the advance's day
    EXPECT_EQ(countOldUnsettledAdvances(db(), today, 0), 1);
}

TEST_F(BookSqlTest, PeriodCloseChecksAndTheClose) {
    const ClosablePeriod withAdvances = checkPeriodClosable(db(), false);
    ASSERT_TRUE(withAdvances.refusal);  // three rows still await settlement
    const ClosablePeriod closable = checkPeriodClosable(db(), true);
    EXPECT_FALSE(closable.refusal);
    EXPECT_EQ(closable.id, kOpenTerm);

    const vb::FixedClock clock(*vb::DateTime::fromParts(2022, 2, 1, 9, 0, 0));
    const PeriodId next = closePeriod(db(), kOpenTerm, closingBalance(db(), kOpenTerm), "Ann", clock);
    EXPECT_EQ(next, 2202010900);
    EXPECT_EQ(getOpenPeriodId(db()), next);
    EXPECT_EQ(closingBalance(db(), next), cur("679.7"));  // the carry-over row
    EXPECT_EQ(column(kOpenRowsInRunningOrder, "VoucherID").size(), 1u);
    EXPECT_EQ(scalar(kPeriodRowCountSql, {kOpenTerm}).asLong(), 7);  // closed, not removed
}

TEST_F(BookSqlTest, SettlementFlagUpdates) {
    markAdvanceGroup(db(), 3, true);
    EXPECT_EQ(settledRowsInGroup(db(), 3), 3);  // the advance and both rows naming it
    EXPECT_EQ(employeeAdvanceTotal(db(), "Ann"), vb::Currency());  // no longer pending
    markAdvanceGroup(db(), 3, false);
    EXPECT_EQ(settledRowsInGroup(db(), 3), 0);
}

TEST_F(BookSqlTest, SearchClauses) {
    const std::pair<std::string, std::vector<int64_t>> typeFilters[] = {
        {"", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"Narration contains word 'correction'", {4}},
        {"Not settled", {3, 5, 6}},
        {"Advances not settled", {3}},
        {"Settled", {}},
        {"Exclude current pettycash period", {1}},
        {"Current pettycash period only", {2, 3, 4, 5, 6, 7, 8}},
        {"Expenses without scanned bill", {4, 5, 7}},
        {"Expenses without bill no", {4, 5, 7}},
    };
    for (const auto& [filter, ids] : typeFilters) {
        SearchSettings settings;
        settings.typeFilter = filter;
        EXPECT_EQ(searched(settings), ids) << filter;
    }

    SearchSettings bob;
    bob.allStaff = false;
    bob.employee = "bob";
    EXPECT_EQ(searched(bob), (std::vector<int64_t>{4, 7}));

    // Field filters with the text the user typed, bound: every character is
    // itself, also those LIKE gives a meaning (% _ * ?).
    const std::tuple<std::string, std::string, std::vector<int64_t>> typed[] = {
        {"Bill No", "' or ''='", {}},
        {"Narration", "50%", {7}},
        {"Narration", "100_0", {7}},
        {"Narration", "1_0", {}},
        {"Narration", "%", {7}},
        {"Narration", "*special*", {7}},  // the stars of the narration
        {"Narration", "l*7", {}},
        {"Narration", "sp?cial", {}},
        {"Expense Head", "RAV", {4, 7}},
        {"Transaction type", "settlement", {6}},
        {"Voucher No", "6", {6}},
    };
    for (const auto& [field, value, ids] : typed) {
        SearchSettings settings;
        settings.field = field;
        settings.value = value;
        EXPECT_EQ(searched(settings), ids) << field << " " << value;
    }
}

TEST_F(BookSqlTest, VoucherPrintingFindsTheDaysVouchersOfAnEmployee) {
    EXPECT_EQ(column(kDaysVouchersOfEmployeeSql, "voucherid", {"Bob", "03/01/2022"}), (std::vector<int64_t>{4}));
    EXPECT_EQ(jet::testing::errorNumber(
                  [&] { db().openRecordset(kDaysVouchersOfEmployeeSql, {"Bob", "not a date"}); }),
              3464);
}

TEST_F(BookSqlTest, ChangeLogRowsAreAppendedThroughAnEmptySet) {
    jet::Recordset log = db().openRecordset(kChangeLogAppendSql);
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

    jet::Recordset viewer = db().openRecordset(kChangeLogNewestFirstSql);
    ASSERT_EQ(viewer.recordCount(), 2);
    EXPECT_EQ(viewer.field("voucherid").asLong(), 4);
    viewer.moveNext();
    EXPECT_EQ(viewer.field("changelog").asText(), text);
    EXPECT_EQ(viewer.field("date").asText(), "06/01/2022 14:30:00");
}

}  // namespace
}  // namespace petty
