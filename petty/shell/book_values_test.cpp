#include "petty/shell/book_values.h"

#include <gtest/gtest.h>

#include "petty/shell/business_database.h"
#include "platform/jet/test_support.h"
#include "platform/vb/currency.h"
#include "platform/vb/date_time.h"

namespace petty {
namespace {

class BookValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        createBook(folder.path(), "First", "Second");
        jet::Database db = open();
        // Vouchers 1 to 3 of one period: a cash fill and two payments.
        for (const char* debit : {"5000", "0", "0"})
            db.execute("INSERT INTO pettycash ([Date], [TransType], [Debit], [Credit], [TermID], [Closed])"
                       " VALUES (?, 'Cash transfer to PC', ?, ?, 2405151430, 'No')",
                       {jet::Value(*vb::DateTime::fromParts(2024, 5, 2)),
                        jet::Value(*vb::Currency::fromDecimalText(debit)),
                        jet::Value(*vb::Currency::fromDecimalText(debit[0] == '0' ? "120.50" : "0"))});
    }
    jet::Database open() { return openBook(bookPath(folder.path())); }

    jet::testing::TestFolder folder;
};

TEST_F(BookValuesTest, ASoundBookHasNothingToSay) {
    jet::Database db = open();
    EXPECT_EQ(badVoucherValue(db), "");
    // Amounts near the end of the range whose sums stay inside it.
    db.execute("UPDATE pettycash SET Debit = 400000000000000 WHERE VoucherID = 1");
    db.execute("UPDATE pettycash SET Credit = 400000000000000 WHERE VoucherID = 2");
    EXPECT_EQ(badVoucherValue(db), "");
}

TEST_F(BookValuesTest, AValueTheProgramCannotComputeWithIsNamedWithItsVoucher) {
    struct Case {
        const char* what;
        const char* change;
        const char* found;
    };
    const Case cases[] = {
        {"text amount", "UPDATE pettycash SET Debit = 'twelve' WHERE VoucherID = 2",
         "voucher 2 has a Debit that is not an amount"},
        {"'NaN' amount", "UPDATE pettycash SET Credit = 'NaN' WHERE VoucherID = 3",
         "voucher 3 has a Credit that is not an amount"},
        {"blob amount", "UPDATE pettycash SET expensefromadvance = zeroblob(8) WHERE VoucherID = 2",
         "voucher 2 has a expensefromadvance that is not an amount"},
        {"amount beyond a currency", "UPDATE pettycash SET runningbalance = 1e300 WHERE VoucherID = 3",
         "voucher 3 has a runningbalance outside the range of an amount"},
        {"text period ID", "UPDATE pettycash SET TermID = 'May' WHERE VoucherID = 2",
         "voucher 2 has a TermID that is not a whole number"},
        {"fraction as advance number", "UPDATE pettycash SET Matchwith = 2.5 WHERE VoucherID = 3",
         "voucher 3 has a Matchwith that is not a whole number"},
        {"a date that is none", "UPDATE pettycash SET [Date] = 'yesterday' WHERE VoucherID = 1",
         "voucher 1 has a Date that is not a date"},
        {"sums beyond a currency", "UPDATE pettycash SET Debit = 900000000000000 WHERE VoucherID IN (2, 3)",
         "the amounts up to voucher 3 add up beyond the range of an amount"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        jet::Database db = open();
        jet::Transaction undone(db);  // each case on the sound book
        db.execute(c.change);
        EXPECT_EQ(badVoucherValue(db), c.found);
        EXPECT_EQ(bookDamage(db), c.found);
    }
}

}  // namespace
}  // namespace petty
