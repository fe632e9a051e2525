#pragma once
// Voucher printing from the register's "Print" / "voucher" buttons: decides
// which vouchers print with the current one and opens the print window
// (rep_voucherprint.h) for them.
//
// - A fund voucher ("Cash transfer to PC", "Previous balance CF") prints alone.
// - With advances in use, a voucher that needs settling prints its whole
//   settlement group: the advance and every row matched with it.
// - Otherwise the vouchers the same employee has on the same date within 8
//   minutes of this one print as one range of voucher numbers.
#include <cstdint>
#include <string>

#include "platform/forms/controls/data_control.h"
#include "platform/vb/date_time.h"

namespace petty {

// Told when the vouchers asked for are not in the book.
inline constexpr const char* kNoVoucherToPrint = "No vouchers found to print!";

// What the print window prints; numbers are voucher numbers, 0 for none.
struct VoucherPrintRequest {
    int64_t fromVoucherId = 0;
    int64_t toVoucherId = 0;  // 0: the window uses fromVoucherId
    int64_t settlementVoucherId = 0;  // the advance whose settlement group prints
    std::string employee;     // "" for no employee condition
};

// The register's boxes of the current voucher, as they stand.
struct VoucherOnScreen {
    std::string date;           // Textpcash(0)
    std::string time;           // Textpcash(1)
    std::string voucherId;      // Textpcash(8)
    std::string matchWith;      // Textpcash(9)
    std::string matchRequired;  // Textpcash(10)
    std::string transType;      // Combopcashtype
    std::string employee;       // DBCombo2
};

// The print procedure. `registerRows` is the register's row source
// (datPrimaryRS), `query` its query source (Datacommon), which a range
// search leaves on its query. Refusals and a search that finds nothing are
// told to the user; otherwise the print window opens.
void printVoucher(forms::DataControl& registerRows, const VoucherOnScreen& voucher, forms::DataControl& query);

// The range search over the rows of `query` (the employee's vouchers of the
// day in time order): the first and the last voucher less than 8 minute
// boundaries away from `voucherTime` (10:00:59 and 10:07:00 are 7 apart,
// 10:08:00 is 8). A row without a time ends the search where it stands.
void FindVoucherPrintRange(forms::DataControl& query, const vb::DateTime& voucherTime, VoucherPrintRequest& request);

// The minute boundaries between two times of day.
int64_t minuteBoundariesBetween(const vb::DateTime& a, const vb::DateTime& b);

}  // namespace petty
