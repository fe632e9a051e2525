#include "petty/register/bill_link.h"

namespace petty {

std::string storeBillName(jet::Database& book, int64_t voucherId, const std::string& billName) {
    jet::Transaction transaction(book);
    const int64_t changed = book.execute("update pettycash set document = ? where voucherid = ? and closed = 'No'",
                                         {jet::Value(billName), jet::Value(voucherId)});
    if (changed != 1) return "voucher " + std::to_string(voucherId) + " is no longer an open voucher of the book";
    transaction.commit();
    return {};
}

}  // namespace petty
