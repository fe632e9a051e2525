#include "petty/register/box_number.h"

#include "platform/vb/numeric_text.h"
#include "platform/vb/rounding.h"

namespace petty {

vb::Currency boxAmount(std::string_view text) { return vb::boxNumber(text).value_or(vb::Currency{}); }

int32_t boxWholeNumber(std::string_view text) { return vb::cLng(boxAmount(text).toDouble()).value_or(0); }

}  // namespace petty
