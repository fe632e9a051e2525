#include "petty/register/voucher_time.h"

#include "platform/vb/date_text.h"

namespace petty {

std::optional<std::string> voucherTimeText(std::string_view text) {
    if (!vb::isDate(text)) return std::nullopt;
    const std::optional<vb::DateTime> time = vb::parseTimeText(text);
    if (!time) return std::nullopt;
    return vb::formatLongTime(*time);
}

}  // namespace petty
