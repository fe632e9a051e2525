#include "petty/register/voucher_position.h"

#include <optional>

namespace petty {

namespace {

// The bookmark of the row holding `voucherId`, found on the bare recordset
// (no events, no bound controls), which is put back where it was.
std::optional<jet::Bookmark> bookmarkOfVoucher(jet::Recordset& rows, int64_t voucherId) {
    if (rows.eof() && rows.bof()) return std::nullopt;
    const bool hadRow = !rows.eof() && !rows.bof();
    const jet::Bookmark start = hadRow ? rows.bookmark() : jet::Bookmark{};
    std::optional<jet::Bookmark> found;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        const jet::Value id = rows.field("VoucherID");
        if (!id.isNull() && id.asLong() == voucherId) {
            found = rows.bookmark();
            break;
        }
    }
    if (hadRow) rows.setBookmark(start);
    return found;
}

}  // namespace

bool showVoucherById(forms::DataControl& display, int64_t voucherId) {
    if (!display.hasRecordset()) return false;
    forms::DataRecordset& rows = display.recordset();
    const std::optional<jet::Bookmark> found = bookmarkOfVoucher(rows.raw(), voucherId);
    if (!found) return false;
    rows.setBookmark(*found);
    return true;
}

}  // namespace petty
