#include "petty/reports/voucher_print.h"

#include <cstdlib>
#include <optional>

#include "petty/reports/rep_voucherprint.h"
#include "petty/reports/report_queries.h"
#include "petty/reports/whole_number.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "platform/vb/date_text.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

constexpr int64_t kMinutesApart = 8;

bool isFundVoucher(const std::string& transType) {
    const std::string type = vb::trim(transType);
    return type == "Cash transfer to PC" || type == "Previous balance CF";
}

void openPrintWindow(const VoucherPrintRequest& request) {
    repVoucherprint window(request);
    window.showModal();
}

// The time a row of the range search was entered at; nullopt for an empty one.
std::optional<vb::DateTime> rowTime(forms::DataRecordset& rows, bool& empty) {
    const jet::Value value = rows.field("time");
    empty = value.isNull() || vb::trim(value.asText()).empty();
    if (empty) return std::nullopt;
    return vb::parseTimeText(value.asText());
}

bool nearInTime(const std::optional<vb::DateTime>& time, const vb::DateTime& voucherTime) {
    return time && minuteBoundariesBetween(*time, voucherTime) < kMinutesApart;
}

// The vouchers of the employee on the voucher's date near its time.
void searchRange(forms::DataControl& query, const VoucherOnScreen& voucher, const vb::DateTime& voucherTime,
                 VoucherPrintRequest& request) {
    query.setRecordSource(kDaysVouchersOfEmployeeSql, {jet::Value(voucher.employee), jet::Value(voucher.date)});
    query.refresh();
    forms::DataRecordset& rows = query.recordset();
    if (rows.eof()) return;
    rows.moveLast();
    const int64_t count = rows.recordCount();
    rows.moveFirst();
    if (count == 1)
        request.fromVoucherId = positiveWholeNumber(voucher.voucherId).value_or(0);
    else
        FindVoucherPrintRange(query, voucherTime, request);
}

}  // namespace

int64_t minuteBoundariesBetween(const vb::DateTime& a, const vb::DateTime& b) {
    const auto minuteOf = [](const vb::DateTime& t) {
        return vb::DateTime().daysUntil(t) * 1440 + t.hour() * 60 + t.minute();
    };
    return std::llabs(minuteOf(a) - minuteOf(b));
}

void FindVoucherPrintRange(forms::DataControl& query, const vb::DateTime& voucherTime, VoucherPrintRequest& request) {
    request.toVoucherId = 0;
    forms::DataRecordset& rows = query.recordset();
    rows.moveLast();
    rows.moveFirst();
    bool empty = false;
    for (; !rows.eof(); rows.moveNext()) {
        const std::optional<vb::DateTime> time = rowTime(rows, empty);
        if (empty) return;
        if (nearInTime(time, voucherTime)) {
            request.fromVoucherId = rows.field("voucherid").asLong();
            break;
        }
    }
    for (rows.moveLast(); !rows.bof(); rows.movePrevious()) {
        const std::optional<vb::DateTime> time = rowTime(rows, empty);
        if (empty) return;
        if (nearInTime(time, voucherTime)) {
            request.toVoucherId = rows.field("voucherid").asLong();
            return;
        }
    }
}

void printVoucher(forms::DataControl& registerRows, const VoucherOnScreen& voucher, forms::DataControl& query) {
    VoucherPrintRequest request;
    if (registerRows.addingRow()) return refuse("Save the record and them print voucher!'");
    if (!registerRows.hasRecordset() || registerRows.recordset().recordCount() == 0) return refuse("No records!'");
    if (voucher.voucherId.empty()) return refuse("Not a valid record!'");
    const std::optional<int64_t> voucherId = positiveWholeNumber(voucher.voucherId);
    if (!voucherId) return refuse("Not a valid record!'");

    if (isFundVoucher(voucher.transType)) {
        request.fromVoucherId = *voucherId;
        return openPrintWindow(request);
    }
    if (voucher.employee.empty()) return refuse("Receiver/employee column is blank!'");
    request.employee = vb::trim(voucher.employee);

    const bool settlementGroup = !appState().noAdvanceMode && vb::ucase(voucher.matchRequired) == "YES";
    if (settlementGroup) {
        // A voucher matched with no advance (Matchwith empty or 0) is the advance itself.
        request.settlementVoucherId = positiveWholeNumber(voucher.matchWith).value_or(*voucherId);
    } else {
        const std::optional<vb::DateTime> voucherTime = vb::parseTimeText(voucher.time);
        if (!voucherTime) return refuse("Not a valid voucher time!");
        if (!vb::parseShortDate(voucher.date)) return refuse("Not a valid voucher date!");
        try {
            searchRange(query, voucher, *voucherTime, request);
        } catch (const std::exception& error) {
            return reportRunError(error);
        }
    }
    if (request.settlementVoucherId == 0 && request.fromVoucherId == 0 && request.toVoucherId == 0)
        return refuse(kNoVoucherToPrint);
    openPrintWindow(request);
}

}  // namespace petty
