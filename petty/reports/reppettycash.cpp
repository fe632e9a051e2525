#include "petty/reports/reppettycash.h"

#include "petty/reports/report_file_names.h"
#include "petty/reports/report_queries.h"
#include "petty/reports/report_run.h"
#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/common.h"
#include "petty/shell/frm_select_date.h"
#include "petty/shell/frm_select_project.h"
#include "petty/shell/frm_select_session.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/report/dispatch_ids.h"
#include "platform/report/formula.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_text.h"
#include "platform/vb/val.h"

namespace petty {

namespace {

using namespace report::dispid;
using forms::vbChecked;
using forms::vbUnchecked;

constexpr const char* kCaption = "Petty-cash reports";
constexpr const char* kUnsettledClause =
    "  and {pettycash.matchrequired}='Yes' and ({pettycash.matched}='No' or {pettycash.matched}='' or "
    "isnull({pettycash.matched})=true ) ";
constexpr const char* kExpensesClause = "  and isnull({pettycash.HEAD})=false and {pettycash.HEAD} <> '' ";

// Captions of the report types by option index (9 is not used).
constexpr const char* kOptionCaptions[] = {
    "Date wise expense-head summary : stacked bar graph",
    "Date wise Pettycash ledger      (",
    "Pettycash receiver grouped report",
    "Receiver grouped expense head sub grouped",
    "Expense head grouped report",
    "Expense head grouped, receiver sub-grouped report",
    "Date wise expense bar graph - expense  head wise",
    "Expenses summary - Pie graph",
    "Advance vouchers not settled  (",
    nullptr,
    "Custom report",
    "Cost-centre wise expense wise detailed",
    "Cost-centre wise expense wise summary",
};

void place(forms::Control& c, forms::Control& container, int left, int top, int width, int height) {
    c.setContainer(container);
    c.move(left, top, width, height);
}

bool ticked(const forms::CheckBox& box) { return box.value() == vbChecked; }

// "date( 2014, 3, 5)": the year in digits, month and day each after one blank.
std::string dateFormula(const vb::DateTime& d) {
    return "date( " + std::to_string(d.year()) + ", " + std::to_string(d.month()) + ", " + std::to_string(d.day()) +
           ")";
}

}  // namespace

reppettycash::reppettycash() : Form("reppettycash") {
    layOut();
    wireEvents();
}

void reppettycash::layOut() {
    setCaption(kCaption);
    move(0, 0, 11040, 7560);
    lblHeading.setCaption("Pettycash Reports");
    lblHeading.setFontSize(14);
    lblHeading.setFontBold(true);
    lblHeading.move(240, 120, 6000, 420);

    Frame2.setCaption("Report type");
    Frame2.move(240, 600, 5520, 5520);
    int top = 300;
    for (int index = 0; index <= 12; ++index) {
        if (!kOptionCaptions[index]) continue;
        forms::OptionButton& option = Option2.add(index);
        option.setCaption(kOptionCaptions[index]);
        place(option, Frame2, 180, top, index == 1 || index == 8 ? 3240 : 5160, 330);
        if (index == 1) {
            Check5.setCaption("Excel export )");
            place(Check5, Frame2, 3480, top, 1860, 330);
        } else if (index == 8) {
            Check3.setCaption("Summary only )");
            place(Check3, Frame2, 3480, top, 1860, 330);
        }
        top += 420;
    }
    Option2[1].setValue(true);
    layOutFilters();

    cmdreport.setCaption("Report");
    cmdreport.move(6960, 6360, 1800, 480);
    cmdreport.setDefault(true);
    cmdclose.setCaption("Close");
    cmdclose.move(8940, 6360, 1800, 480);
    for (int index : {0, 1}) {
        forms::DataControl& data = Data1.add(index);
        data.setVisible(false);
    }
    DBCombo1.setRowSource(Data1[0], "Name");
}

void reppettycash::layOutFilters() {
    Frame5.setCaption("Report data filtering criteria : Period");
    Frame5.move(6000, 600, 4800, 2280);
    const char* periodCaptions[] = {"All pettycash periods till now", "Pettcash Period ID:",
                                    "All pettycash records between"};
    const int periodTops[] = {1800, 1320, 300};
    for (int index : {0, 1, 2}) {
        forms::CheckBox& box = Check1.add(index);
        box.setCaption(periodCaptions[index]);
        place(box, Frame5, 180, periodTops[index], index == 1 ? 2100 : 4200, 330);
    }
    // One row: label, date box and its picker button, twice, none overlapping the next.
    forms::Label& from = Label1.add(5);
    from.setCaption("From date:");
    place(from, Frame5, 240, 750, 900, 300);
    forms::Label& to = Label1.add(4);
    to.setCaption("to date:");
    place(to, Frame5, 2520, 750, 750, 300);
    for (int index : {0, 1}) {
        forms::TextBox& box = Text4.add(index);
        box.setMaxLength(10);
        place(box, Frame5, index == 0 ? 1140 : 3270, 720, 990, 330);
        forms::CommandButton& pick = getdate.add(index);
        pick.setCaption("...");
        pick.setToolTip("Select a date");
        place(pick, Frame5, index == 0 ? 2130 : 4260, 720, 300, 330);
    }
    Text2.setLocked(true);
    place(Text2, Frame5, 2340, 1320, 1560, 330);
    MyButton1.setCaption("...");
    MyButton1.setToolTip("Select a Pettycash Period ID");
    place(MyButton1, Frame5, 3960, 1320, 420, 330);

    Frame3.setCaption("Employee/receiver");
    Frame3.move(6000, 3000, 4800, 1200);
    const char* employeeCaptions[] = {"All staff/receivers", "staff/receiver ="};
    for (int index : {0, 1}) {
        forms::CheckBox& box = Check2.add(index);
        box.setCaption(employeeCaptions[index]);
        place(box, Frame3, 180, index == 1 ? 300 : 720, index == 1 ? 1800 : 4200, 330);
    }
    place(DBCombo1, Frame3, 2040, 300, 2580, 330);

    Frame1.setCaption("Cost-centre / Project");
    Frame1.move(6000, 4320, 4800, 780);
    Label3.setCaption("CC / Project :");
    place(Label3, Frame1, 180, 330, 1260, 300);
    place(Text1, Frame1, 1500, 300, 2580, 330);
    browseCC.setCaption("...");
    browseCC.setToolTip("Select a cost-centre /project");
    place(browseCC, Frame1, 4140, 300, 420, 330);

    Frame4.setCaption("Expenses only");
    Frame4.move(6000, 5220, 4800, 960);
    CheckExpenseonly.setCaption("Expenses only");
    place(CheckExpenseonly, Frame4, 180, 300, 4200, 300);
    Label5.setCaption("  (Cash-fill /carry-over / advances etc willl not be included)");
    place(Label5, Frame4, 180, 600, 4500, 300);
}

void reppettycash::wireEvents() {
    onLoad = [this] { Form_Load(); };
    onUnload = [this](int&) {
        Data1.forEach([](forms::DataControl& data) { data.releaseRecordset(); });
    };
    Option2.forEach([this](forms::OptionButton& o) { o.onClick = [this, i = o.index()] { Option2_Click(i); }; });
    Check1.forEach([this](forms::CheckBox& c) { c.onClick = [this, i = c.index()] { Check1_Click(i); }; });
    Check2.forEach([this](forms::CheckBox& c) { c.onClick = [this, i = c.index()] { Check2_Click(i); }; });
    Text4.forEach([this](forms::TextBox& t) {
        t.onChange = [this] { Text4_Change(); };
        t.onDblClick = [this, i = t.index()] { pickDateInto(i); };
    });
    getdate.forEach([this](forms::CommandButton& b) { b.onClick = [this, i = b.index()] { pickDateInto(i); }; });
    MyButton1.onClick = [this] { MyButton1_Click(); };
    DBCombo1.onChange = [this] { DBCombo1_Change(); };
    browseCC.onClick = [this] { browseCC_Click(); };
    cmdreport.onClick = [this] { cmdreport_Click(); };
    cmdclose.onClick = [this] { unload(); };
}

int reppettycash::selectedOption() const {
    for (int index : Option2.indexes())
        if (Option2[index].value()) return index;
    return 1;
}

void reppettycash::Form_Load() {
    const AppState& state = appState();
    skipOnFailure([this] { Data1.forEach([](forms::DataControl& d) { pointAtBook(d, ""); }); });
    for (int index : {0, 1})
        skipOnFailure([this, index] { Text4[index].setText(vb::formatShortDate(vb::today())); });
    skipOnFailure([&] {
        Frame1.setVisible(state.costCentreEnabled);
        Option2[11].setEnabled(state.costCentreEnabled);
        Option2[12].setEnabled(state.costCentreEnabled);
    });
    skipOnFailure([&] {
        if (!state.noAdvanceMode) return;
        Option2[8].setEnabled(false);
        Check3.setEnabled(false);
    });
    skipOnFailure([this] {
        Data1[0].setRecordSource(kReceiverNamesSql);
        Data1[0].refresh();
    });
    skipOnFailure([this] {
        const int64_t latest = GetLatestPeriodId();
        if (latest != 0) {
            Text2.setText(std::to_string(latest));
            Check1[1].setValue(vbChecked);
        } else {
            Check1[1].setValue(vbUnchecked);
            Text2.setText("");
        }
    });
    skipOnFailure([this] { Option2_Click(1); });
}

int64_t reppettycash::GetLatestPeriodId() {
    forms::DataControl& data = Data1[1];
    for (const char* query : {kLargestOpenPeriodIdSql, kLargestPeriodIdSql}) {
        data.setRecordSource(query);
        data.refresh();
        const jet::Value id = data.recordset().field("mysessionid");
        if (!id.isNull() && id.asLong() != 0) return id.asLong();
    }
    return 0;
}

void reppettycash::forceLedgerFilters() {
    Check2[1].setValue(vbUnchecked);
    Check2[0].setValue(vbChecked);
    setEmployeeFilterEnabled(false);
}

void reppettycash::setEmployeeFilterEnabled(bool on) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Check2[0], &Check2[1], &DBCombo1, &Frame3})
        c->setEnabled(on);
}

void reppettycash::clearCostCentre(bool enableAfter) {
    if (!Text1.text().empty()) {
        Text1.setText("");
        Text1.setEnabled(enableAfter);
        browseCC.setEnabled(enableAfter);
    }
}

void reppettycash::setDateRangeEnabled(bool on) {
    if (!on) Check1[2].setValue(vbUnchecked);
    Check1[2].setEnabled(on);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label1[5], &Label1[4], &Text4[0], &Text4[1],
                                                                    &getdate[0], &getdate[1]})
        c->setEnabled(on);
}

void reppettycash::Option2_Click(int index) {
    const int selected = selectedOption();
    if (selected == 1) {
        forceLedgerFilters();
        clearCostCentre(false);
        Frame1.setEnabled(false);
        setDateRangeEnabled(false);
        CheckExpenseonly.setValue(vbUnchecked);
        CheckExpenseonly.setEnabled(false);
    }
    if (selected == 2 || selected == 8) {
        setEmployeeFilterEnabled(true);
        clearCostCentre(false);
        Frame1.setEnabled(false);
        CheckExpenseonly.setValue(vbUnchecked);
        CheckExpenseonly.setEnabled(false);
        setDateRangeEnabled(false);
    }
    switch (index) {
        case 1:
        case 2:
        case 8:
        case 10:
            CheckExpenseonly.setValue(vbUnchecked);
            CheckExpenseonly.setEnabled(false);
            break;
        case 0:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 11:
        case 12:
            CheckExpenseonly.setValue(vbChecked);
            CheckExpenseonly.setEnabled(false);
            setEmployeeFilterEnabled(true);
            clearCostCentre(true);
            Frame1.setEnabled(true);
            setDateRangeEnabled(true);
            break;
        default: break;
    }
}

void reppettycash::Check1_Click(int index) {
    if (!ticked(Check1[index])) return;
    for (int other : {0, 1, 2})
        if (other != index) Check1[other].setValue(vbUnchecked);
}

void reppettycash::Check2_Click(int index) {
    if (ticked(Check2[index])) Check2[1 - index].setValue(vbUnchecked);
}

void reppettycash::Text4_Change() {
    if (vb::isDate(Text4[0].text()) && vb::isDate(Text4[1].text()) && Check1[2].enabled() && !ticked(Check1[2]))
        Check1[2].setValue(vbChecked);
}

void reppettycash::pickDateInto(int index) {
    const std::string picked = pickDate();
    if (picked.empty()) return;
    skipOnFailure([&] {
        const std::optional<vb::DateTime> date = vb::parseDateText(picked);
        Text4[index].setText(date ? vb::formatShortDate(*date) : picked);
    });
}

void reppettycash::MyButton1_Click() {
    const int64_t period = pickPeriod();
    if (period == 0) return;
    Text2.setText(std::to_string(period));
    Check1[1].setValue(vbChecked);
}

void reppettycash::DBCombo1_Change() {
    if (DBCombo1.text().empty()) return;
    Check2[0].setValue(vbUnchecked);
    Check2[1].setValue(vbChecked);
}

void reppettycash::browseCC_Click() {
    Text1.setText(pickProjectCode());
}

bool reppettycash::periodPiece(std::string& formula, std::string& title) {
    if (ticked(Check1[2])) {
        const std::optional<vb::DateTime> from = vb::isDate(Text4[0].text()) ? vb::parseDateText(Text4[0].text())
                                                                             : std::nullopt;
        const std::optional<vb::DateTime> to = vb::isDate(Text4[1].text()) ? vb::parseDateText(Text4[1].text())
                                                                           : std::nullopt;
        if (!from || !to) {
            forms::ui().beep();
            forms::ui().msgBox("Wrong date format !");
            return false;
        }
        formula = "({pettycash.Date} >=" + dateFormula(*from) + " and {pettycash.Date} <=" + dateFormula(*to) + ")";
        title = " Date Between : " + Text4[0].text() + " and " + Text4[1].text();
    } else if (ticked(Check1[1])) {
        if (Text2.text().empty() || Text2.text() == "0") {
            forms::ui().beep();
            forms::ui().msgBox("Pettycash Period ID !");
            return false;
        }
        formula = "{pettycash.termid} =" + std::to_string(static_cast<int64_t>(vb::val(Text2.text())));
        title = " Pettycash Term ID : " + Text2.text() + "  ";
    } else if (ticked(Check1[0])) {
        formula = "{pettycash.termid} > 0 ";
        title = " All pettycash records till date ";
    } else {
        forms::ui().beep();
        forms::ui().msgBox("Select one of the options !");
        return false;
    }
    return true;
}

bool reppettycash::employeePiece(std::string& formula, std::string& title) {
    if (ticked(Check2[1])) {
        const std::string name = DBCombo1.text();
        if (name.empty()) {
            forms::ui().beep();
            forms::ui().msgBox("Select employee !");
            return false;
        }
        // The name as a formula text: a quote in it is doubled, so it can neither break nor widen the selection.
        formula += "  and {pettycash.EMPLOYEE}= " + report::formulaText(name);
        title += " - Receiver : " + name + "  ";
    } else if (ticked(Check2[0])) {
        title += " - All staff ";
    }
    return true;
}

void reppettycash::cmdreport_Click() {
    const AppState& state = appState();
    report::ReportControl& control = CrystalReport1;
    std::string formula, title;
    skipOnFailure([&] { control.invoke(kReset); });
    skipOnFailure([&] { control.putIndexed(kDataFiles, 0, state.businessDbPath); });
    if (!periodPiece(formula, title)) return;
    if (!employeePiece(formula, title)) return;

    const int option = selectedOption();
    if (option == 1 && ticked(Check5)) {
        skipOnFailure([&] { control.put(kDestination, kToFile); });
        skipOnFailure([&] { control.put(kPrintFileType, kSpreadsheetExport); });
    }
    if (option == 8) formula += kUnsettledClause;
    const std::string file = reportFileName({.option = option,
                                             .excelExport = ticked(Check5),
                                             .summaryOnly = ticked(Check3),
                                             .advances = !state.noAdvanceMode,
                                             .costCentres = state.costCentreEnabled});
    skipOnFailure([&] { control.put(kReportFileName, state.appFolder + file); });
    if (ticked(CheckExpenseonly)) formula += kExpensesClause;
    if (!Text1.text().empty() && state.costCentreEnabled) {
        formula += "  and isnull({pettycash.projectcode})=false and {pettycash.projectcode} = " +
                   report::formulaText(Text1.text()) + " ";
        title += "  Cost-centre: " + Text1.text() + " ";
    }
    skipOnFailure([&] { control.put(kSelectionFormula, formula); });
    if (ticked(CheckExpenseonly)) title += " - expenses only ";

    std::string reportFile;
    skipOnFailure([&] { reportFile = std::get<std::string>(control.get(kReportFileName)); });
    if (!CheckFileExists(reportFile)) return;
    // Title and company are formula texts too: a quote in either is doubled.
    skipOnFailure([&] { control.putIndexed(kFormulas, 1, "TITLE= " + report::formulaText(title)); });
    skipOnFailure([&] { control.putIndexed(kFormulas, 0, "company= " + report::formulaText(state.companyName)); });
    setSwitchesAndRun();
}

void reppettycash::setSwitchesAndRun() {
    report::ReportControl& control = CrystalReport1;
    skipOnFailure([&] { control.put(kAllowDrillDown, false); });
    skipOnFailure([&] { control.put(kShowGroupTree, selectedOption() != 1); });
    for (int32_t id : {kShowNavigation, kShowStatusBar, kShowPrintButton, kShowExportButton, kShowSearchButton,
                       kShowCloseButton})
        skipOnFailure([&] { control.put(id, true); });
    skipOnFailure([&] { control.put(kWindowTitle, caption()); });
    connectReportToBook(control);
    loadReportCursor();
    skipOnFailure([] { forms::ui().setMousePointer(forms::vbHourglass); });
    skipOnFailure([&] { control.put(kAction, int32_t{1}); });
    skipOnFailure([] { forms::ui().setMousePointer(forms::vbCustom); });
}

}  // namespace petty
