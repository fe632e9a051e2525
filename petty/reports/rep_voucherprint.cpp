#include "petty/reports/rep_voucherprint.h"

#include <string>

#include "petty/reports/report_run.h"
#include "petty/reports/whole_number.h"
#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/common.h"
#include "petty/shell/error_report.h"
#include "petty/shell/program_look.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/jet/database.h"
#include "platform/report/dispatch_ids.h"
#include "platform/report/formula.h"

namespace petty {

namespace {

namespace id = report::dispid;

constexpr const char* kNotVoucherNumbers = "Voucher numbers must be positive whole numbers!";

// The preview switches of a voucher run, in the order they are set.
constexpr std::pair<int32_t, bool> kPreviewSwitches[] = {
    {id::kAllowDrillDown, false}, {id::kShowGroupTree, false},   {id::kShowNavigation, false},
    {id::kShowStatusBar, false},  {id::kShowPrintButton, true},  {id::kShowExportButton, true},
    {id::kShowSearchButton, false}, {id::kShowCloseButton, true},
};

void greyOut(forms::TextBox& box) {
    box.setEnabled(false);
    box.setBackColor(forms::vbButtonFace);
}

// Whether the book holds a row the selection formula selects. When that
// cannot be told (a formula or a book the check cannot read) the report
// itself decides.
bool selectsAnyVoucher(const std::string& formula) {
    try {
        const report::SqlCondition condition = report::translateSelectionFormula(formula, "pettycash");
        jet::Database book = jet::Database::open(resolveProgramPath(appState().businessDbPath), kBookConnect);
        jet::Recordset count =
            book.openRecordset("select count(*) as n from pettycash where " + condition.sql, condition.params);
        return count.field("n").asLong() > 0;
    } catch (const std::exception&) {
        return true;
    }
}

}  // namespace

repVoucherprint::repVoucherprint(VoucherPrintRequest request) : Form("repVoucherprint"), request_(std::move(request)) {
    setCaption("Petty-cash voucher");
    move(0, 0, 6600, 4320);
    Label2.setCaption("Print Pettycash voucher");
    Label2.setFont(look::kFieldLabelFont);
    Label2.move(240, 120, 6000, 360);
    Frame1.move(240, 600, 6000, 2400);
    const auto inFrame = [this](forms::Control& control, int left, int top, int width, int height) {
        control.setContainer(Frame1);
        control.move(left, top, width, height);
    };
    inFrame(Label3.add(0), 240, 440, 1800, 300);
    Label3[0].setCaption("From voucher no :");
    inFrame(Text1.add(0), 2160, 400, 1200, 315);
    inFrame(Label3.add(1), 240, 920, 1800, 300);
    Label3[1].setCaption("To voucher no :");
    inFrame(Text1.add(1), 2160, 880, 1200, 315);
    Check1.setCaption("Print all vouchers in this settlement voucher no");
    inFrame(Check1, 240, 1500, 4200, 300);
    inFrame(Text1.add(2), 4560, 1460, 1200, 315);
    cmdreport.add(0).setCaption("Generate voucher");
    cmdreport[0].setToolTip(
        "After generating the voucher, you can press the print button on the voucher for printing if required..");
    cmdreport[0].move(240, 3240, 2400, 480);
    cmdreport.add(1).setCaption("Print voucher directly");
    cmdreport[1].setToolTip("Print the voucher directly without displaying it on the screen");
    cmdreport[1].move(2760, 3240, 2400, 480);
    cmdclose.setCaption("Close");
    cmdclose.move(5280, 3240, 960, 480);

    onLoad = [this] { Form_Load(); };
    cmdreport[0].onClick = [this] { cmdreport_Click(0); };
    cmdreport[1].onClick = [this] { cmdreport_Click(1); };
    cmdclose.onClick = [this] { unload(); };
}

void repVoucherprint::Form_Load() {
    if (appState().noAdvanceMode) {
        Check1.setEnabled(false);
        Check1.setVisible(false);
        Text1[2].setVisible(false);
        Frame1.setHeight(Frame1.height() * 3 / 4);
    }
    if (!request_.employee.empty()) Frame1.setCaption(request_.employee);
    if (request_.settlementVoucherId != 0) {
        Check1.setValue(forms::vbChecked);
        greyOut(Text1[0]);
        greyOut(Text1[1]);
        Text1[2].setText(std::to_string(request_.settlementVoucherId));
        Check1.setEnabled(false);
    } else {
        Check1.setValue(forms::vbUnchecked);
        Check1.setEnabled(false);
        greyOut(Text1[2]);
        Text1[0].setText(std::to_string(request_.fromVoucherId));
        const int64_t to = request_.toVoucherId != 0 ? request_.toVoucherId : request_.fromVoucherId;
        Text1[1].setText(std::to_string(to));
    }
}

void repVoucherprint::cmdreport_Click(int index) {
    std::string formula;
    if (Check1.value() == forms::vbChecked) {
        const std::optional<int64_t> advance = positiveWholeNumber(Text1[2].text());
        if (!advance) return refuse(kNotVoucherNumbers);
        formula = "{pettycash.voucherID} =  " + std::to_string(*advance) +
                  " or {pettycash.matchwith}= " + std::to_string(*advance);
    } else {
        const std::optional<int64_t> from = positiveWholeNumber(Text1[0].text());
        const std::optional<int64_t> to = positiveWholeNumber(Text1[1].text());
        if (!from || !to) return refuse(kNotVoucherNumbers);
        formula = "{pettycash.voucherID}>= " + std::to_string(*from) + " and {pettycash.voucherID} <= " +
                  std::to_string(*to);
    }
    if (!request_.employee.empty())
        formula += "  and {pettycash.EMPLOYEE}= " + report::formulaText(request_.employee);
    if (!selectsAnyVoucher(formula)) return refuse(kNoVoucherToPrint);

    const AppState& state = appState();
    report::ReportControl& control = CrystalReport1;
    skipOnFailure([&] { control.invoke(id::kReset); });
    skipOnFailure([&] { control.putIndexed(id::kDataFiles, 0, state.businessDbPath); });
    const bool settlementForm = !state.noAdvanceMode && request_.settlementVoucherId != 0;
    skipOnFailure([&] { control.put(id::kReportFileName, state.appFolder + (settlementForm ? "voucher2" : "voucher1")); });
    skipOnFailure([&] {
        const std::string stem = std::get<std::string>(control.get(id::kReportFileName));
        control.put(id::kReportFileName, stem + (state.costCentreEnabled ? "c.RPT" : ".RPT"));
    });
    skipOnFailure([&] { control.put(id::kSelectionFormula, formula); });
    std::string reportFile;
    skipOnFailure([&] { reportFile = std::get<std::string>(control.get(id::kReportFileName)); });
    if (!CheckFileExists(reportFile)) return;
    skipOnFailure([&] { control.putIndexed(id::kFormulas, 0, "company= " + report::formulaText(state.companyName)); });
    for (const auto& previewSwitch : kPreviewSwitches)
        skipOnFailure([&] { control.put(previewSwitch.first, previewSwitch.second); });
    skipOnFailure([&] { control.put(id::kWindowTitle, caption()); });
    connectReportToBook(control);
    skipOnFailure([&] { control.put(id::kDestination, index == 0 ? id::kToWindow : id::kToPrinter); });
    loadReportCursor();
    skipOnFailure([&] { control.put(id::kAction, int32_t{1}); });
}

}  // namespace petty
