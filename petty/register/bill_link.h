#pragma once
// Linking a scanned bill to its voucher: the name is written into the
// voucher's row by its number, in one transaction, whatever the register
// shows meanwhile.
#include <cstdint>
#include <string>

#include "platform/jet/database.h"

namespace petty {

// Stores `billName` as the bill of the open voucher `voucherId`. Returns ""
// when the book took it, else why not (a sentence for the user). Database
// errors are raised as they come; the book is left as it was.
std::string storeBillName(jet::Database& book, int64_t voucherId, const std::string& billName);

}  // namespace petty
