#pragma once
// The log-in's look at the values the program computes with: a value another
// tool stored in a form the program cannot compute with (text, binary data or
// a number beyond a Currency in an amount column, a period ID that is no
// whole number, a date that is no date), or amounts whose sums go beyond a
// Currency, would pass the log-in and then stop a period close, a save or a
// report with "Type mismatch" or "Overflow" that names no voucher. Found at
// log-in, they are named with the first voucher that holds one.
#include <string>

#include "platform/jet/database.h"

namespace petty {

// What is wrong with the vouchers' values ("voucher 12 has a Debit that is
// not an amount"), or an empty text when the program can compute with all of
// them. Database errors reach the caller.
std::string badVoucherValue(jet::Database& db);

}  // namespace petty
