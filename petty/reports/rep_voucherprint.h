#pragma once
// repVoucherprint: shows the voucher numbers that will print, lets the user
// change a range, and runs the voucher report either into the preview window
// ("Generate voucher") or straight to the printer ("Print voucher directly").
// Make a new one for each opening: it starts from the request it is given.
#include "petty/reports/voucher_print.h"
#include "platform/forms/forms.h"
#include "platform/report/report_control.h"

namespace petty {

class repVoucherprint : public forms::Form {
public:
    explicit repVoucherprint(VoucherPrintRequest request);

    forms::Label Label2{*this, "Label2"};
    forms::Frame Frame1{*this, "Frame1"};
    forms::ControlArray<forms::Label> Label3{*this, "Label3"};
    forms::ControlArray<forms::TextBox> Text1{*this, "Text1"};  // from, to, settlement advance
    forms::CheckBox Check1{*this, "Check1"};
    forms::ControlArray<forms::CommandButton> cmdreport{*this, "cmdreport"};  // preview, printer
    forms::CommandButton cmdclose{*this, "cmdclose"};
    report::ReportControl CrystalReport1;

    const VoucherPrintRequest& request() const { return request_; }

private:
    void Form_Load();
    void cmdreport_Click(int index);

    VoucherPrintRequest request_;
};

}  // namespace petty
