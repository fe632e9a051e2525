#pragma once
// Numbers the register reads from its entry boxes: the number at the start of
// the text (an optional sign, digits, a decimal point), the rest ignored; an
// empty box or a text without a leading number reads 0.
#include <cstdint>
#include <string_view>

#include "platform/vb/currency.h"

namespace petty {

// As an amount of four decimals; a number beyond the range of an amount reads 0.
vb::Currency boxAmount(std::string_view text);

// To the nearest whole number, halves to the even neighbour; 0 beyond the
// range of a 32-bit integer.
int32_t boxWholeNumber(std::string_view text);

}  // namespace petty
