#include "petty/register/advance_settlement.h"

#include <gtest/gtest.h>

#include "petty/register/period_test_support.h"
#include "petty/shell/advance_balance.h"

namespace petty {
namespace {

using testing::Voucher;

class AdvanceSettlementTest : public testing::RegisterBookTest {
protected:
    void settlement(int64_t advance, const char* type, jet::Value debit, jet::Value credit, jet::Value spent,
                    const char* closed = "No") {
        Voucher v;
        v.transType = type;
        v.debit = debit;
        v.credit = credit;
        v.expenseFromAdvance = spent;
        v.closed = closed;
        const int64_t id = insert(v);
        db.execute("UPDATE pettycash SET Matchwith = ? WHERE VoucherID = ?", {jet::Value(advance), jet::Value(id)});
    }
    int64_t advance(const char* amount) {
        Voucher v;
        v.transType = "Advance Issued from PC";
        v.credit = money(amount);
        return insert(v);
    }
};

TEST_F(AdvanceSettlementTest, AnAdvanceWithoutOpenSettlementRowsIsNotSettledAtAll) {
    const int64_t id = advance("1000");
    settlement(id, "Spent from Advance issued", {}, {}, money("300"), "Yes");  // closed: not counted
    EXPECT_EQ(settledTotal(db, id), vb::Currency());
}

TEST_F(AdvanceSettlementTest, SpentAndReturnedCashSettleCashPaidOutDoesNot) {
    const int64_t id = advance("1000");
    const int64_t other = advance("500");
    settlement(id, "Spent from Advance issued", {}, {}, money("300.25"));
    settlement(id, "Spent from Advance issued", {}, {}, {});  // empty amounts count as zero
    settlement(id, "Cash received for settlement", money("200"), {}, {});
    settlement(id, "Cash given for settlement", {}, money("50"), {});
    settlement(other, "Spent from Advance issued", {}, {}, money("80"));
    EXPECT_EQ(settledTotal(db, id), *vb::Currency::fromDecimalText("450.25"));
    EXPECT_EQ(settledTotal(db, other), vb::Currency::fromWhole(80));
}

TEST(AdvanceSettlementTexts, CaptionAndSummaryCarryThePlainAmounts) {
    const AdvanceSettlement s{vb::Currency::fromWhole(1000), *vb::Currency::fromDecimalText("300.5")};
    EXPECT_EQ(advanceGridCaption("12", s),
              "Pettycash records matched against voucher no: 12 as below (Advance: 1000   Settled: 300.5 Balance "
              "amount: 699.5)");
    EXPECT_EQ(advanceSummary(s), "(Settled: 300.5   Balance amount to be settled: 699.5)");
    const AdvanceSettlement over{vb::Currency::fromWhole(100), vb::Currency::fromWhole(150)};
    EXPECT_EQ(advanceSummary(over), "(Settled: 150   Balance amount to be settled: -50)");
}

}  // namespace
}  // namespace petty
