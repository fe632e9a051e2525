#pragma once
// A row of the book's change log: when, by whom, what changed, and which voucher.
#include <cstdint>
#include <string>

#include "platform/forms/controls/data_control.h"

namespace petty {

// Appends the row through the register's write data control, stamped now and
// with the logged-in user; a text beyond what the column holds is cut.
// Database errors reach the caller.
void appendChangeLogRow(forms::DataControl& write, const std::string& text, int32_t voucherId);

}  // namespace petty
