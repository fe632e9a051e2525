#include "petty/reports/frm_sessions.h"

#include <cctype>
#include <cstdint>
#include <string>

#include "petty/reports/report_queries.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/date_text.h"
#include "platform/vb/month_names.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

constexpr const char* kLineBreak = "\r\n";

// The period ID's digits, YYMMDDHHMM: ten of them, a leading zero put back
// for the periods of 2000 to 2009.
std::string periodDigits(int64_t periodId) {
    std::string digits = std::to_string(periodId);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), '0');
    return digits;
}

// Characters `from` (1-based) on, `count` of them, as far as the text goes.
std::string mid(const std::string& text, size_t from, size_t count) {
    return from - 1 < text.size() ? text.substr(from - 1, count) : std::string();
}

std::string monthOf(const std::string& pair) {
    const bool twoDigits = pair.size() == 2 && std::isdigit(static_cast<unsigned char>(pair[0])) &&
                           std::isdigit(static_cast<unsigned char>(pair[1]));
    const std::string_view name = twoDigits ? vb::monthName(std::stoi(pair)) : std::string_view();
    return name.empty() ? pair : std::string(name);
}

std::string creationLine(const std::string& digits) {
    return "Pettycash period " + digits + " was created on 20" + mid(digits, 1, 2) + " - " +
           monthOf(mid(digits, 3, 2)) + " - " + mid(digits, 5, 2) + " at " + mid(digits, 7, 2) + " : " +
           mid(digits, 9, 2);
}

std::string statusLine(const jet::Value& closed) {
    const std::string state = vb::ucase(closed.asText());
    if (state == "YES") return "Period Status : Closed";
    if (state == "NO") return "Period Status : Open";
    return state;
}

}  // namespace

frmSessions::frmSessions() : Form("frmSessions") {
    setCaption("Pettycash periods");
    move(0, 0, 9000, 5760);
    Label1.setCaption("Pettycash periods");
    Label1.move(240, 120, 4000, 300);
    datPrimaryRS.setVisible(false);
    Datacommon.setVisible(false);
    DBGrid1.setDataSource(datPrimaryRS);
    DBGrid1.move(240, 480, 3720, 4560);
    DBGrid1.addColumn("Period ID", "TermID").setWidth(1800);
    DBGrid1.addColumn("Closed", "Closed").setWidth(1000);
    Label3.setCaption("Period ID:");
    Label3.move(4200, 540, 1000, 300);
    Label2.bind(datPrimaryRS, "TermID");
    Label2.move(5280, 540, 2400, 300);
    Text1.setMultiLine(true);
    Text1.setLocked(true);
    Text1.move(4200, 960, 4560, 3000);
    srch.setCaption("Query");
    srch.setToolTip("Search customers");
    srch.move(7800, 480, 960, 360);
    cmdclose.setCaption("Close");
    cmdclose.setToolTip("Cancel and exit from the selection screen");
    cmdclose.move(7380, 4620, 1380, 420);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    onUnload = [this](int&) { datPrimaryRS.releaseRecordset(); };
    srch.onClick = [this] { srch_Click(); };
    Text1.onGotFocus = [this] { srch.setDefault(true); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
    datPrimaryRS.onReposition = [this] { ShowPeriodDetails(); };
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
}

void frmSessions::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, ""); });
    skipOnFailure([this] { pointAtBook(Datacommon, ""); });
}

void frmSessions::srch_Click() {
    skipOnFailure([this] {
        datPrimaryRS.setRecordSource(kPeriodListInOrderSql);
        datPrimaryRS.refresh();
    });
    skipOnFailure([this] { datPrimaryRS.recordset().moveLast(); });
    skipOnFailure([this] {
        DBGrid1.setCaption(std::to_string(datPrimaryRS.recordset().recordCount()) + " Pettycash periods");
    });
}

void frmSessions::ShowPeriodDetails() {
    int64_t rows = 0;
    skipOnFailure([&] {
        forms::DataRecordset& list = datPrimaryRS.recordset();
        rows = list.recordCount();
        DBGrid1.setCaption("Record " + std::to_string(list.absolutePosition() + 1) + "  of  " +
                           std::to_string(rows) + " records");
    });
    if (rows == 0) {
        Label2.setCaption("No records");
        Text1.setText("No pettycash periods found!");
        return;
    }
    Text1.setText("");
    jet::Value periodId;
    jet::Value closed;
    skipOnFailure([&] {
        periodId = datPrimaryRS.recordset().field("TermID");
        closed = datPrimaryRS.recordset().field("Closed");
    });
    if (periodId.isNull()) return;
    const int64_t period = periodId.asLong();

    int64_t count = 0;
    skipOnFailure([&] {
        Datacommon.setRecordSource(kPeriodRowCountSql, {periodId});
        Datacommon.refresh();
        forms::DataRecordset& result = Datacommon.recordset();
        if (!result.eof() && !result.field("mycount").isNull()) count = result.field("mycount").asLong();
    });
    std::string totals = "Total number of records in this period : " + std::to_string(count);
    const auto appendDate = [&](const char* order, const char* caption) {
        skipOnFailure([&] {
            Datacommon.setRecordSource(
                std::string(kPeriodEdgeDateSql) + order, {periodId});
            Datacommon.refresh();
            forms::DataRecordset& result = Datacommon.recordset();
            if (result.eof() || result.field("date").isNull()) return;
            totals += std::string(kLineBreak) + kLineBreak + caption + vb::formatShortDate(result.field("date").asDate());
        });
    };
    if (count > 0) appendDate("asc", "First transaction on : ");
    if (count > 1) appendDate("desc", "Last transaction on : ");

    Text1.setText(creationLine(periodDigits(period)) + kLineBreak + kLineBreak + statusLine(closed) + kLineBreak +
                  kLineBreak + totals);
}

void frmSessions::cmdclose_Click() {
    datPrimaryRS.releaseRecordset();
    Datacommon.releaseRecordset();
    unload();
}

}  // namespace petty
