#include "petty/register/period_close.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/period_test_support.h"
#include "petty/register/register_save_test_support.h"
#include "petty/register/running_balance.h"

namespace petty {
namespace {

using testing::Voucher;

constexpr PeriodId kOpen = 2405150900;

class PeriodCloseTest : public testing::RegisterBookTest {
protected:
    int64_t cash(const char* debit, const char* credit, PeriodId period = kOpen) {
        Voucher v;
        if (debit) v.debit = money(debit);
        if (credit) v.credit = money(credit);
        v.termId = period;
        return insert(v);
    }
};

struct RefusalCase {
    std::string name;
    std::vector<Voucher> rows;
    bool noAdvanceMode;
    std::string message;
    bool beep;
};

TEST_F(PeriodCloseTest, RefusesWhatCannotBeClosed) {
    Voucher closedRow;
    closedRow.closed = "Yes";
    Voucher otherPeriod;
    otherPeriod.termId = int64_t{2405160800};
    Voucher noPeriod;
    noPeriod.termId = int64_t{0};
    Voucher unsettled;
    unsettled.transType = "Advance Issued from PC";
    unsettled.matchRequired = "Yes";
    const std::string twoUnsettled =
        "There seems to be 2 records which are not settled yet. If advance is taken from pettycash, you need to "
        "settle it against expenses/returns! Pettycash can be closed only after after settling the advances!";
    const std::vector<RefusalCase> cases = {
        {"empty book", {}, false, "No open pettycash records found!! Only open records can be closed!!", true},
        {"only closed rows", {closedRow}, false,
         "No open pettycash records found!! Only open records can be closed!!", true},
        {"open rows of two periods", {Voucher{}, otherPeriod}, false,
         "There seems to be 2 different pettycash periods in these records ! Something is wrong!!", true},
        {"open rows without a period ID", {noPeriod}, false,
         "There does not seem to be any open Pettycash period! Please check!!", false},
        {"unsettled advances", {Voucher{}, unsettled, unsettled}, false, twoUnsettled, true},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        db.execute("DELETE FROM pettycash");
        for (const Voucher& v : c.rows) insert(v);
        const ClosablePeriod check = checkPeriodClosable(db, c.noAdvanceMode);
        ASSERT_TRUE(check.refusal);
        EXPECT_EQ(check.refusal->message, c.message);
        EXPECT_EQ(check.refusal->beep, c.beep);
    }
}

TEST_F(PeriodCloseTest, UnsettledRowsDoNotStopTheCloseWithoutAdvances) {
    Voucher unsettled;
    unsettled.matchRequired = "Yes";
    insert(unsettled);
    insert(unsettled);
    EXPECT_TRUE(checkPeriodClosable(db, false).refusal);
    const ClosablePeriod check = checkPeriodClosable(db, true);
    EXPECT_FALSE(check.refusal);
    EXPECT_EQ(check.id, kOpen);
}

TEST_F(PeriodCloseTest, ClosingBalanceCountsCashOfTheOpenRowsOfThePeriod) {
    cash("500", nullptr);
    cash(nullptr, "120.5");
    cash(nullptr, nullptr);
    Voucher spent;  // spent from an advance moves no cash
    spent.expenseFromAdvance = money("40");
    insert(spent);
    Voucher closedRow;
    closedRow.debit = money("1000");
    closedRow.closed = "Yes";
    insert(closedRow);
    EXPECT_EQ(closingBalance(db, kOpen), vb::Currency::fromUnits(3795000));
    EXPECT_EQ(closingBalance(db, 2401010000), vb::Currency());
}

TEST_F(PeriodCloseTest, TextsTheUserIsAskedAndTold) {
    const vb::Currency balance = vb::Currency::fromUnits(3795000);
    EXPECT_EQ(firstCloseQuestion(kOpen, balance),
              "Are you sure that you want to close pettycash period ID 2405150900 and then carry over a balance of "
              "379.5 to a new pettycash term?");
    EXPECT_EQ(secondCloseQuestion(kOpen, balance),
              "Confirm again that you want to close pettycash period ID 2405150900 and then carry over a balance of "
              "379.5 to a new pettycash term..");
    EXPECT_EQ(periodOpenedMessage(2405200800, balance),
              "New Pettycash period (ID: 2405200800) created, with carry-over amount=379.5\r\nData belonging to "
              "previous pettycash periods can be viewed any time using 'search' button or through pettycash "
              "reports.");
    EXPECT_FALSE(negativeBalanceRefusal(vb::Currency()));
    EXPECT_EQ(negativeBalanceRefusal(-vb::Currency::fromWhole(20))->message,
              "Carryover is negative (-20) ! Cannot continue! Please settle the negative balance!");
}

TEST_F(PeriodCloseTest, CloseMarksThePeriodClosedAndWritesTheCarryoverRow) {
    cash("500", nullptr);
    cash(nullptr, "120.5");
    const vb::FixedClock clock(*vb::DateTime::fromParts(2022, 1, 1, 0, 0, 30));
    const PeriodId next = closePeriod(db, kOpen, vb::Currency::fromUnits(3795000), "Ravi", clock);
    EXPECT_EQ(next, PeriodId{2201010000});

    EXPECT_EQ(db.openRecordset("SELECT count(*) AS n FROM pettycash WHERE closed='Yes' AND TermID=?",
                               {jet::Value(kOpen)})
                  .field("n")
                  .asLong(),
              2);
    jet::Recordset carry = db.openRecordset("SELECT * FROM pettycash WHERE closed='No'");
    ASSERT_FALSE(carry.eof());
    EXPECT_EQ(carry.field("Date").asText(), jet::Value(*vb::DateTime::fromParts(2022, 1, 1)).asText());
    EXPECT_EQ(carry.field("Time").asText(), "00:00:30");
    EXPECT_EQ(carry.field("TransType").asText(), "Carryover");
    EXPECT_EQ(carry.field("Debit").asCurrency(), vb::Currency::fromUnits(3795000));
    EXPECT_EQ(carry.field("runningbalance").asCurrency(), vb::Currency::fromUnits(3795000));
    EXPECT_TRUE(carry.field("openingbalance").isNull());
    EXPECT_EQ(carry.field("Narration").asText(), "Carryover from 2405150900");
    EXPECT_EQ(carry.field("Enteredby").asText(), "Ravi");
    EXPECT_EQ(carry.field("Enteredon").asText(), jet::Value(clock.now()).asText());
    EXPECT_EQ(carry.field("TermID").asLong(), 2201010000);
    EXPECT_EQ(carry.field("Matchrequired").asText(), "No");
    EXPECT_EQ(carry.field("Closed").asText(), "No");
    EXPECT_TRUE(carry.field("Matched").isNull());
    EXPECT_TRUE(carry.field("Credit").isNull());
    carry.moveNext();
    EXPECT_TRUE(carry.eof());
}

TEST_F(PeriodCloseTest, AClosingBalanceOfZeroIsCarriedOver) {
    cash("100", "100");
    const vb::FixedClock clock(*vb::DateTime::fromParts(2024, 5, 20, 8, 0));
    closePeriod(db, kOpen, closingBalance(db, kOpen), "Ravi", clock);
    jet::Recordset carry = db.openRecordset("SELECT Debit FROM pettycash WHERE TransType='Carryover'");
    ASSERT_FALSE(carry.eof());
    EXPECT_FALSE(carry.field("Debit").isNull());
    EXPECT_EQ(carry.field("Debit").asCurrency(), vb::Currency());
}

TEST_F(PeriodCloseTest, APeriodClosedInTheMinuteItWasOpenedGetsTheNextId) {
    cash("100", nullptr);
    const vb::FixedClock clock(*vb::DateTime::fromParts(2024, 5, 15, 9, 0, 45));
    EXPECT_EQ(closePeriod(db, kOpen, vb::Currency::fromWhole(100), "Ravi", clock), kOpen + 1);
}

TEST_F(PeriodCloseTest, AFailingCloseLeavesTheBookExactlyAsItWas) {
    cash("500", nullptr);
    cash(nullptr, "120.5");
    rewriteRunningBalances(db);
    // The carry-over row cannot be written: the period's rows were marked closed already.
    db.execute("CREATE TRIGGER refuse_carryover BEFORE INSERT ON pettycash BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const std::vector<std::string> before = testing::tableRows(db, "pettycash");
    const vb::FixedClock clock(*vb::DateTime::fromParts(2024, 5, 20, 8, 0));
    EXPECT_THROW(closePeriod(db, kOpen, vb::Currency::fromUnits(3795000), "Ravi", clock), std::exception);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(testing::tableRows(db, "pettycash"), before);
    EXPECT_EQ(getOpenPeriodId(db), kOpen);
}

}  // namespace
}  // namespace petty
