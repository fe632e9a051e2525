#pragma once
// The plain text of an amount in messages and captions.
#include <string>

#include "platform/vb/currency.h"
#include "platform/vb/locale.h"

namespace vb {

// No thousands separator, only the decimals the value needs (at most four), a
// leading minus when negative, the locale's decimal separator: 1500, 12.5,
// -40.25, 0.0001.
std::string amountText(Currency amount, const Locale& = currentLocale());

}  // namespace vb
