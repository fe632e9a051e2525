#include "petty/register/voucher_deletion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/period_test_support.h"

namespace petty {
namespace {

struct PermissionCase {
    std::string name;
    ShownVoucher voucher;
    DeletePermission expected;
};

TEST(VoucherDeletionTest, AVoucherMayGoWhenNothingOfTheFundDependsOnIt) {
    using enum DeletePermission;
    const std::vector<PermissionCase> cases = {
        {"all empty", {.transType = "Reimbursed from pettycash"}, AmountsZero},
        {"zeros as shown", {.transType = "Carryover", .credit = "0", .debit = "0.00", .expenseFromAdvance = "0"},
         AmountsZero},
        {"an amount", {.transType = "Reimbursed from pettycash", .credit = "250"}, Refused},
        {"a carried amount", {.transType = "Carryover", .debit = "300"}, Refused},
        {"an amount too large to read is no zero",
         {.transType = "Reimbursed from pettycash", .credit = "99999999999999999999"}, Refused},
        {"spent from advance, no advance named", {.transType = "Spent from Advance issued", .expenseFromAdvance = "40"},
         SettlementWithoutAdvance},
        {"spent from advance, advance named",
         {.transType = "Spent from Advance issued", .expenseFromAdvance = "40", .matchWith = "3"}, Refused},
        {"cash received, no advance named", {.transType = "Cash received for settlement", .debit = "10"},
         SettlementWithoutAdvance},
        {"cash given, no advance named", {.transType = "Cash given for settlement", .credit = "10"},
         SettlementWithoutAdvance},
        {"an advance is no settlement", {.transType = "Advance Issued from PC", .credit = "100"}, Refused},
        {"zero amounts win over a named advance",
         {.transType = "Spent from Advance issued", .expenseFromAdvance = "0", .matchWith = "3"}, AmountsZero},
    };
    for (const PermissionCase& c : cases) EXPECT_EQ(deletePermission(c.voucher), c.expected) << c.name;
}

TEST(VoucherDeletionTest, TheChangeLogTextKeepsTheBoxesAsTheyShow) {
    EXPECT_EQ(deletedVoucherLogText({.voucherId = "57", .transType = "Reimbursed from pettycash",
                                     .employee = "Cashier", .credit = "250"}),
              "Deleted voucher No:57 Type: Reimbursed from pettycash-Cashier Amount:250,,");
    EXPECT_EQ(deletedVoucherLogText({.voucherId = "8", .transType = "Spent from Advance issued", .credit = "",
                                     .debit = "0", .expenseFromAdvance = "12.5"}),
              "Deleted voucher No:8 Type: Spent from Advance issued- Amount:,0,12.5");
}

TEST(VoucherDeletionTest, ALongChangeLogTextIsCutToOneHundredCharactersNeverInsideOne) {
    const std::string longName(60, 'x');
    const std::string text = deletedVoucherLogText(
        {.voucherId = "1", .transType = "Reimbursed from pettycash", .employee = longName, .credit = "5"});
    EXPECT_EQ(text, "Deleted voucher No:1 Type: Reimbursed from pettycash-" + std::string(47, 'x'));
    // Names in other scripts count by characters: "é" is two bytes, one character.
    std::string accented;
    for (int i = 0; i < 60; ++i) accented += "\xC3\xA9";
    const std::string cut = deletedVoucherLogText(
        {.voucherId = "1", .transType = "Reimbursed from pettycash", .employee = accented, .credit = "5"});
    EXPECT_EQ(cut.size(), 53u + 47u * 2);
    EXPECT_EQ(cut.substr(53), accented.substr(0, 94));
}

class SettledAgainstTest : public testing::RegisterBookTest {};

TEST_F(SettledAgainstTest, FindsTheVouchersThatNameTheAdvance) {
    const int64_t advance = insert({.transType = "Advance Issued from PC", .credit = money("500")});
    const int64_t other = insert({.transType = "Advance Issued from PC", .credit = money("100")});
    const int64_t first = insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("40")});
    const int64_t second = insert({.transType = "Cash received for settlement", .debit = money("60")});
    const int64_t elsewhere = insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("10")});
    for (int64_t id : {first, second}) db.execute("UPDATE pettycash SET Matchwith = ? WHERE VoucherID = ?", {advance, id});
    db.execute("UPDATE pettycash SET Matchwith = ? WHERE VoucherID = ?", {other, elsewhere});
    // An advance may name itself (the settlement grid lists it with its rows); that does not count.
    db.execute("UPDATE pettycash SET Matchwith = ? WHERE VoucherID = ?", {advance, advance});

    EXPECT_EQ(vouchersSettledAgainst(db, advance), (std::vector<int64_t>{first, second}));
    EXPECT_EQ(vouchersSettledAgainst(db, elsewhere), std::vector<int64_t>{});
    EXPECT_EQ(settledAgainstRefusal({first, second}),
              "Cannot delete! Other vouchers are settled against this voucher (voucher No: " + std::to_string(first) +
                  ", " + std::to_string(second) + "). Change or delete them first!");
}

}  // namespace
}  // namespace petty
