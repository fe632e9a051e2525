#pragma once
// The text a voucher's Time column holds: the time of day as "HH:MM:SS" with
// two-digit hours. The running balance orders the rows of a day by this text,
// so "9:05" must be stored as "09:05:00" to come before "10:00:00".
#include <optional>
#include <string>
#include <string_view>

namespace petty {

// The stored form of a time typed into the register's time box: the time of
// day that the text names ("9:05" -> "09:05:00", "9:05 pm" -> "21:05:00"; a
// date with a time keeps the time, a date alone names midnight). nullopt when
// the text is neither a date nor a time.
std::optional<std::string> voucherTimeText(std::string_view text);

}  // namespace petty
