#include "petty/register/change_log_text.h"

#include <optional>

#include "platform/forms/text_editing.h"
#include "platform/vb/amount_text.h"
#include "platform/vb/numeric_text.h"

namespace petty {

namespace {

// A box whose number is beyond the currency range counts as changed.
bool amountChanged(vb::Currency before, const std::string& boxText) {
    const std::optional<vb::Currency> now = vb::boxNumber(boxText);
    return !now || *now != before;
}

}  // namespace

std::string changeLogText(const VoucherSnapshot& before, const VoucherEntryTexts& now) {
    struct Amount {
        const char* name;
        vb::Currency before;
        const std::string& now;
    };
    std::string text;
    for (const Amount& a : {Amount{"Debit", before.debit, now.debit}, Amount{"Credit", before.credit, now.credit},
                            Amount{"Expense", before.expenseFromAdvance, now.expenseFromAdvance}})
        if (amountChanged(a.before, a.now))
            text = std::string(a.name) + " changed from " + vb::amountText(a.before) + " to " + a.now;
    if (now.employee != before.employee) text += " " + before.employee + " -> " + now.employee;
    if (now.transType != before.transType) text += " " + before.transType + " -> " + now.transType;
    return text;
}

std::string cutToChangeLogLength(const std::string& text) {
    size_t end = 0;
    for (size_t n = 0; n < kChangeLogLength && end < text.size(); ++n) end = forms::characterEnd(text, end);
    return text.substr(0, end);
}

}  // namespace petty
