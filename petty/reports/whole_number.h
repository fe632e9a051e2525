#pragma once
// Voucher numbers typed or shown in a box.
#include <cstdint>
#include <optional>
#include <string_view>

namespace petty {

// The number a text holds when it is a positive whole number of at most
// 2,147,483,647 (blanks around it allowed): "12" and " 7 " but not "0",
// "-3", "1.5", "1e3", "+4", "12a" or "".
std::optional<int64_t> positiveWholeNumber(std::string_view text);

}  // namespace petty
