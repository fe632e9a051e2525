#pragma once
// reppettycash: the report chooser. The user picks one of twelve report
// types, a period filter (a date range, one period or all periods), an
// employee filter, optionally a cost centre, and presses "Report"; the window
// then drives its report control: the report file of the chosen type, a
// selection formula built from the filters (every text in it quoted with its
// quotes doubled), the title and company formulas, the book and its connect
// string and the preview switches, then the run. It writes nothing to the book.
// The main window's reports command shows it modally; make a new one for each opening.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/forms/forms.h"
#include "platform/report/report_control.h"

namespace petty {

// The shell's date and cost-centre pickers as the chooser opens them: each
// shows its window modally and answers its process-wide result afterwards
// (selectedDate: the last date picked, which the chooser never clears;
// selectedProjectCode: empty when closed without a choice). Until the program
// sets them, the date and cost-centre buttons open nothing.
struct ReportPickers {
    std::function<std::string()> pickDate;
    std::function<std::string()> pickProject;
};
void setReportPickers(ReportPickers pickers);

class reppettycash : public forms::Form {
public:
    reppettycash();

    forms::Label lblHeading{*this, "lblHeading"};
    forms::Frame Frame2{*this, "Frame2"};  // Report type
    forms::ControlArray<forms::OptionButton> Option2{*this, "Option2"};
    forms::CheckBox Check5{*this, "Check5"};  // Excel export of the ledger
    forms::CheckBox Check3{*this, "Check3"};  // Summary only (option 8)

    forms::Frame Frame5{*this, "Frame5"};  // Period
    forms::ControlArray<forms::CheckBox> Check1{*this, "Check1"};  // 0 all periods, 1 one period, 2 date range
    forms::ControlArray<forms::Label> Label1{*this, "Label1"};     // 5 "From date:", 4 "to date:"
    forms::ControlArray<forms::TextBox> Text4{*this, "Text4"};     // 0 from date, 1 to date
    forms::ControlArray<forms::CommandButton> getdate{*this, "getdate"};
    forms::TextBox Text2{*this, "Text2"};  // the period ID
    forms::CommandButton MyButton1{*this, "MyButton1"};

    forms::Frame Frame3{*this, "Frame3"};  // Employee/receiver
    forms::ControlArray<forms::CheckBox> Check2{*this, "Check2"};  // 0 all staff, 1 one employee
    forms::DataCombo DBCombo1{*this, "DBCombo1"};

    forms::Frame Frame1{*this, "Frame1"};  // Cost-centre / Project
    forms::Label Label3{*this, "Label3"};
    forms::TextBox Text1{*this, "Text1"};
    forms::CommandButton browseCC{*this, "browseCC"};

    forms::Frame Frame4{*this, "Frame4"};  // Expenses only
    forms::CheckBox CheckExpenseonly{*this, "CheckExpenseonly"};
    forms::Label Label5{*this, "Label5"};

    forms::CommandButton cmdreport{*this, "cmdreport"};
    forms::CommandButton cmdclose{*this, "cmdclose"};
    forms::ControlArray<forms::DataControl> Data1{*this, "Data1"};  // 0 employees, 1 latest period

    report::ReportControl CrystalReport1;

    // The option button that is set (1 when none is).
    int selectedOption() const;

private:
    void layOut();
    void layOutFilters();
    void wireEvents();

    void Form_Load();
    int64_t GetLatestPeriodId();
    void Option2_Click(int index);
    void Check1_Click(int index);
    void Check2_Click(int index);
    void Text4_Change();
    void pickDateInto(int index);
    void MyButton1_Click();
    void DBCombo1_Change();
    void browseCC_Click();
    void cmdreport_Click();

    // The filters of the report types: released or forced as each type allows.
    void forceLedgerFilters();
    void setEmployeeFilterEnabled(bool on);
    void clearCostCentre(bool enableAfter);
    void setDateRangeEnabled(bool on);
    // The period and employee pieces of formula and title; false after refusing.
    bool periodPiece(std::string& formula, std::string& title);
    bool employeePiece(std::string& formula, std::string& title);
    void setSwitchesAndRun();
};

}  // namespace petty
