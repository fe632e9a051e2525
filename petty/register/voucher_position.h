#pragma once
// Putting the register's cursor on one voucher by its number, so that the
// voucher a user just saved or scanned a bill for stays the one shown.
#include <cstdint>

#include "platform/forms/controls/data_control.h"

namespace petty {

// Moves `display` to the row whose VoucherID is `voucherId` (its events run and
// its bound controls follow). False, with the cursor left where it was, when
// the set holds no such row.
bool showVoucherById(forms::DataControl& display, int64_t voucherId);

}  // namespace petty
