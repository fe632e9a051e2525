#include "petty/register/frm_pettycash.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace petty {

namespace {

// Geometry in twips: a child window that fits the main window's free area.
constexpr int kWindowWidth = 12600;
constexpr int kWindowHeight = 9600;
constexpr int kPageWidth = 12180;
constexpr int kCaptionHeight = 255;
constexpr int kBoxHeight = 315;
// The settlement frame's three rows, and the buttons under it.
constexpr int kSettlementFrameHeight = 1500;
constexpr int kButtonRowTop = 3880 + kSettlementFrameHeight + 120;
constexpr int kButtonHeight = 420;

struct EntryBox {
    int index;
    const char* column;
    int maxLength;  // 0: no limit
    bool locked;
    bool shown;
};

// The entry boxes, each bound to one column of the register's rows.
constexpr EntryBox kEntryBoxes[] = {
    {0, "Date", 0, false, true},
    {1, "Time", 10, false, true},
    {2, "Credit", 8, true, true},
    {3, "Debit", 8, true, true},
    {4, "expensefromadvance", 8, true, true},
    {5, "Runningbalance", 0, true, true},
    {6, "Billno", 20, false, true},
    {7, "Enteredby", 20, true, true},
    {8, "VoucherID", 5, true, true},
    {9, "Matchwith", 8, true, true},
    {10, "Matchrequired", 5, true, true},
    {11, "Matched", 5, true, true},
    {12, "Approvedby", 5, true, false},
    {13, "Closed", 5, true, true},
    {14, "Narration", 100, false, true},
    {15, "TermID", 0, true, false},
    {16, "Approved", 5, true, false},
    {17, "document", 100, true, true},
    {18, "Enteredon", 0, true, true},
    {19, "VoucherIDforGrouping", 0, true, false},
    {20, "Modified", 0, true, false},
    {21, "VoucherIDforGrouping", 0, true, false},
    {22, "VoucherIDforGrouping", 0, true, true},
};

struct CaptionLabel {
    int index;
    const char* caption;
};

constexpr CaptionLabel kCaptions[] = {
    {0, ""},          {1, "Date"},          {2, "Time"},       {3, "spent from adv"},
    {4, ""},          {5, "Narration:"},    {6, "Expense Head"}, {7, "Transaction Type"},
    {8, "Cash-out"},  {9, "Cash-in"},       {10, "R.Balance"}, {11, "Bill No"},
    {12, "Employee"}, {13, "VoucherNo"},    {14, "Entered by"}, {15, ""},
    {16, "Closed"},   {17, ""},             {18, "on"},        {19, "CC / Project ID "},
    {20, "Op  Bal"},
};

constexpr const char* kVoucherNumberTip = "Voucher number is automatically created by system for each voucher";
constexpr const char* kPeriodIdTip = "Period ID is automatically created by system for each pettycash period";

struct GridColumnSpec {
    const char* caption;
    const char* field;
};

constexpr GridColumnSpec kRegisterColumns[] = {
    {"VoucherID", "VoucherID"},      {"Date", "Date"},
    {"Time", "Time"},                {"Employee", "Employee"},
    {"Transaction Type", "TransType"}, {"Expense Head", "Head"},
    {"OpenBal", "OpeningBalance"},   {"Cash-in", "Debit"},
    {"Cash-out", "Credit"},          {"Balance", "Runningbalance"},
    {"SFA", "expensefromadvance"},   {"Narration", "Narration"},
    {"Settle with", "Matchwith"},    {"Settled", "Matched"},
    {"Enteredby", "Enteredby"},      {"Closed", "Closed"},
    {"Billno", "Billno"},            {"Prj", "Projectcode"},
};

constexpr GridColumnSpec kSettlementColumns[] = {
    {"VoucherID", "VoucherID"}, {"Date", "Date"},          {"Time", "Time"},
    {"Employee", "Employee"},   {"Type", "TransType"},     {"Head", "Head"},
    {"Cash-in", "Debit"},       {"Cash-out", "Credit"},    {"", ""},
    {"SFA", "expensefromadvance"}, {"Billno", "Billno"},   {"Settle with", "Matchwith"},
    {"Settled", "Matched"},     {"Enteredby", "Enteredby"}, {"Closed", "Closed"},
};

void place(forms::Control& control, forms::Control& container, int tab, int left, int top, int width, int height) {
    control.setContainer(container, tab);
    control.move(left, top, width, height);
}

void place(forms::Control& control, forms::Control& container, int left, int top, int width, int height) {
    place(control, container, -1, left, top, width, height);
}

void button(forms::CommandButton& b, const char* caption, const char* toolTip) {
    b.setCaption(caption);
    b.setToolTip(toolTip);
}

}  // namespace

frmpettycash::frmpettycash() : Form("frmpettycash") {
    setCaption("Petty cash");
    move(0, 0, kWindowWidth, kWindowHeight);
    createControls();
    onLoad = [this] { Form_Load(); };
    observe([this](forms::Property p) {
        if (p == forms::Property::Geometry) Form_Resize();
    });
    cmdScanDoc.onClick = [this] { cmdScanDoc_Click(); };
    cmdViewBill.onClick = [this] { cmdViewBill_Click(); };
    wireSearchPanel();
    wireVoucherEntry();
    wireRecordDisplay();
    wireEntryFieldChecks();
    wireSettlementMatching();
    wireReportButtons();
    wireSaveAndClose();
}

void frmpettycash::createControls() {
    for (forms::DataControl* data : {&datPrimaryRS, &DatPrimaryRSread, &Datacommon, &Datacommonwrite, &Data1}) {
        data->setVisible(false);
        // The data controls' own errors answer with two beeps instead of their message.
        data->onError = [](int, int& response) {
            forms::ui().beep();
            forms::ui().beep();
            response = forms::vbDataErrContinue;
        };
    }
    Label2.setCaption("Petty cash");
    Label2.move(120, 60, kPageWidth, 300);

    SSTab2.move(60, 420, kPageWidth + 240, kWindowHeight - 900);
    SSTab2.setTabCaption(0, " Petty cash register - Grid view ");
    SSTab2.setTabCaption(1, "  Add / view  Pettycash Voucher");

    TDBGrid1.setCaption("Pettycash records");
    TDBGrid1.setDataSource(datPrimaryRS);
    place(TDBGrid1, SSTab2, 0, 60, 420, kPageWidth, 3600);
    TDBGrid2.setCaption("Pettycash records matched against an advance");
    TDBGrid2.setDataSource(DatPrimaryRSread);
    place(TDBGrid2, SSTab2, 0, 60, 4080, kPageWidth, 1560);
    createGridColumns();
    place(LabelVoucherno, SSTab2, 0, 60, 5700, 3000, kCaptionHeight);
    LabelVoucherno.setVisible(false);
    place(LabelRecCount.add(0), SSTab2, 0, 5400, 5700, kPageWidth - 5400, kCaptionHeight);
    LabelRecCount[0].setCaption("Record 0 of 0");

    place(SSTab1, SSTab2, 0, 60, 6000, kPageWidth, 2600);
    SSTab1.setTabCaption(0, " Search Petty cash records");
    SSTab1.setTabCaption(1, "Close Pettycash period");
    createSearchPanel();
    button(cmdClosepettycash, "Close current pettycash period and start new period ( week/month..)",
           "You can use it at the end of a week or a month to close pettycash, and start a new pettycash period. "
           "Net balance of this period  will be carried over to the next week.");
    place(cmdClosepettycash, SSTab1, 1, 240, 600, 7000, 600);

    createVoucherTab();
}

// The main window maximised gives the register more room than its layout: the
// tab control grows with the window, the register grid takes the extra height,
// and what stands below the grid on its tab moves down. A smaller window keeps
// the layout as it is.
void frmpettycash::Form_Resize() {
    if (windowState() == forms::WindowState::Minimized) return;
    const int extraWidth = std::max(0, width() - kWindowWidth);
    const int extraHeight = std::max(0, height() - kWindowHeight);
    const int dw = extraWidth - grownWidth;
    const int dh = extraHeight - grownHeight;
    if (dw == 0 && dh == 0) return;
    grownWidth = extraWidth;
    grownHeight = extraHeight;
    SSTab2.move(SSTab2.left(), SSTab2.top(), SSTab2.width() + dw, SSTab2.height() + dh);
    Label2.setWidth(Label2.width() + dw);
    TDBGrid1.move(TDBGrid1.left(), TDBGrid1.top(), TDBGrid1.width() + dw, TDBGrid1.height() + dh);
    TDBGrid2.move(TDBGrid2.left(), TDBGrid2.top() + dh, TDBGrid2.width() + dw, TDBGrid2.height());
    registerGridHeight += dh;
    for (forms::Control* below : std::initializer_list<forms::Control*>{&LabelVoucherno, &LabelRecCount[0], &SSTab1})
        below->move(below->left(), below->top() + dh, below->width(), below->height());
}

void frmpettycash::createGridColumns() {
    for (const GridColumnSpec& c : kRegisterColumns) TDBGrid1.addColumn(c.caption, c.field);
    for (const GridColumnSpec& c : kSettlementColumns) TDBGrid2.addColumn(c.caption, c.field);
    TDBGrid1.column(13).addValueItem("Yes", "tick");
    TDBGrid1.column(13).addValueItem("No", "cross");
}

void frmpettycash::createSearchPanel() {
    place(Frame31, SSTab1, 0, 60, 380, kPageWidth - 120, 2100);
    Check1.setCaption("Received by all staff /");
    place(Check1, Frame31, 120, 300, 2200, 300);
    DBCombo1.setRowSource(Data1, "name");
    place(DBCombo1, Frame31, 120, 660, 2200, kBoxHeight);
    Label6.setCaption("Voucher Type");
    place(Label6, Frame31, 2460, 300, 1800, kCaptionHeight);
    place(Combo1, Frame31, 2460, 660, 2800, kBoxHeight);
    Label7.setCaption("Field search");
    place(Label7, Frame31, 5400, 300, 1800, kCaptionHeight);
    place(Combo2, Frame31, 5400, 660, 2000, kBoxHeight);
    Label5.setCaption("=");
    place(Label5, Frame31, 7460, 700, 200, kCaptionHeight);
    combo2Text.setMaxLength(10);
    combo2Text.setLocked(true);
    place(combo2Text, Frame31, 7700, 660, 1500, kBoxHeight);
    button(Query, "Search", "Search for pettycash records based on the filter conditions on the left");
    place(Query, Frame31, 9400, 600, 1300, kButtonHeight);

    button(Printvoucher.add(1), "voucher", "Print voucher for the selected/current transaction");
    place(Printvoucher[1], Frame31, 120, 1260, 1300, kButtonHeight);
    button(cmdCSV, "Excel ",
           "Take out data in excel format file (data export), for a specific pettycash period.");
    place(cmdCSV, Frame31, 1500, 1260, 1300, kButtonHeight);
    MyButtonExpand.setPicture("expand");
    MyButtonExpand.setToolTip("Make the grid bigger by hiding settlement records - toggles on/off");
    place(MyButtonExpand, Frame31, 2880, 1260, 500, kButtonHeight);
    button(detailview, "Detail view",
           "View individual pettycash records or Add/edit/delete pettycash records. Same as selecting a tab above");
    place(detailview, Frame31, 3460, 1260, 1500, kButtonHeight);
}

void frmpettycash::createVoucherTab() {
    place(Label9.add(1), SSTab2, 1, 120, 420, 900, kCaptionHeight);
    Label9[1].setCaption("Period ID:");
    place(Label9.add(0), SSTab2, 1, 1040, 420, 1100, kCaptionHeight);
    // The row summary (employee, type, what is left of an advance) has a line of its own.
    place(Label9.add(2), SSTab2, 1, 120, 720, kPageWidth - 120, kCaptionHeight);
    Label9[2].setCaption("- settled");
    for (int i : {0, 1}) Label9[i].setToolTip(kPeriodIdTip);
    place(LabelPettycashID, SSTab2, 1, 2260, 420, 900, kCaptionHeight);
    LabelPettycashID.setToolTip(kVoucherNumberTip);
    place(Image1.add(0), SSTab2, 1, 3250, 400, 240, 240);
    Image1[0].setPicture("greenmark");
    Image1[0].setToolTip("This pettycash transaction is settled - Expenses are settled against advance.");
    place(Image1.add(1), SSTab2, 1, 3550, 400, 240, 240);
    Image1[1].setPicture("redmark");
    Image1[1].setToolTip(
        "This pettycash transaction is not settled - Advance and settlements are not matched yet");
    // Wide enough for "Petty cash record: 123 of 456  Period ID: 2026-September-30 23:59".
    place(LabelRecCount.add(1), SSTab2, 1, 5400, 420, kPageWidth - 5400, kCaptionHeight);
    LabelRecCount[1].setCaption("Record 0 of 0");

    Frame1.setCaption("Petty cash entry");
    place(Frame1, SSTab2, 1, 60, 1080, kPageWidth, 1100);
    Frame2.setCaption("Details");
    place(Frame2, SSTab2, 1, 60, 2280, 8000, 1500);
    Frame3.setCaption("Status");
    place(Frame3, SSTab2, 1, 8160, 2280, kPageWidth - 8100, 1500);
    Frame4.setCaption("Settlement against advance");
    place(Frame4, SSTab2, 1, 60, 3880, kPageWidth, kSettlementFrameHeight);

    createEntryBoxes();
    createButtons();
}

void frmpettycash::createEntryBoxes() {
    for (const CaptionLabel& c : kCaptions) {
        Label1.add(c.index).setCaption(c.caption);
        if (c.caption[0] == '\0') Label1[c.index].setVisible(false);
    }
    Label1[13].setToolTip(kVoucherNumberTip);
    Label1[16].setToolTip("Whether the pettycash transaction belongs to a closed period");
    for (const EntryBox& e : kEntryBoxes) {
        forms::TextBox& box = Textpcash.add(e.index);
        box.bind(datPrimaryRS, e.column);
        box.setMaxLength(e.maxLength);
        box.setLocked(e.locked);
        box.setBackColor(e.locked ? forms::vbButtonFace : kOpenFieldColor);
        box.setVisible(e.shown);
    }
    Textpcash[8].setToolTip(kVoucherNumberTip);
    Textpcash[22].setDisplayOnly(true);

    Combopcashtype.bind(datPrimaryRS, "TransType");
    Combopcashhead.bind(datPrimaryRS, "Head");
    Combopcashhead.setToolTip("Expense type - You can configure these types yourself");
    DBCombo2.bind(datPrimaryRS, "Employee");
    DBCombo2.setRowSource(Data1, "name");
    dbCombo3.bind(datPrimaryRS, "Projectcode");
    Label9[0].bind(datPrimaryRS, "TermID");
    LabelPettycashID.bind(datPrimaryRS, "VoucherID");

    // The entry frame, left to right: each field under its caption.
    struct Field {
        forms::Control& control;
        int caption;
        int width;
    };
    // The widths give each caption room at the stand-in font, the longest
    // being the employee's "by employee/receiver" and "spent from adv".
    const std::vector<Field> entryRow = {
        {Textpcash[8], 13, 820},       {Textpcash[0], 1, 950},      {Textpcash[1], 2, 750},
        {Combopcashtype, 7, 2450},     {DBCombo2, 12, 1480},        {Combopcashhead, 6, 1250},
        {Textpcash[22], 20, 650},      {Textpcash[3], 9, 800},      {Textpcash[2], 8, 800},
        {Textpcash[4], 3, 1040},       {Textpcash[5], 10, 700},
    };
    int left = 120;
    for (const Field& f : entryRow) {
        place(Label1[f.caption], Frame1, left, 300, f.width, kCaptionHeight);
        place(f.control, Frame1, left, 600, f.width, kBoxHeight);
        left += f.width + 30;
    }
    FlagBalance.setPicture("flag");
    FlagBalance.setToolTip(
        "This employee has balances to be settled - click to see details of settlement balance");
    FlagBalance.setVisible(false);
    place(FlagBalance, Frame1, Label1[12].left() + 900, 260, 300, 300);

    // Details.
    place(Label1[5], Frame2, 120, 260, 1200, kCaptionHeight);
    place(Textpcash[14], Frame2, 120, 540, 5200, kBoxHeight);
    place(Label1[19], Frame2, 5440, 260, 2400, kCaptionHeight);
    place(dbCombo3, Frame2, 5440, 540, 2400, kBoxHeight);
    place(Label1[11], Frame2, 120, 1000, 900, kCaptionHeight);
    place(Textpcash[6], Frame2, 1060, 960, 2000, kBoxHeight);
    Label10.setCaption("Scanned doc/bill");
    place(Label10, Frame2, 3200, 1000, 1400, kCaptionHeight);
    place(Textpcash[17], Frame2, 4640, 960, 3200, kBoxHeight);

    // Status, with the hidden boxes that keep their binding.
    place(Label1[14], Frame3, 120, 300, 1000, kCaptionHeight);
    place(Textpcash[7], Frame3, 1200, 260, 2700, kBoxHeight);
    place(Label1[18], Frame3, 120, 700, 1000, kCaptionHeight);
    place(Textpcash[18], Frame3, 1200, 660, 2700, kBoxHeight);
    place(Label1[16], Frame3, 120, 1100, 1000, kCaptionHeight);
    place(Textpcash[13], Frame3, 1200, 1060, 900, kBoxHeight);
    for (int i : {12, 15, 16, 21}) place(Textpcash[i], Frame3, 2200, 1060, 400, kBoxHeight);
    for (int i : {0, 4, 15, 17}) place(Label1[i], Frame3, 2200, 1060, 400, kCaptionHeight);

    // Settlement against an advance.
    Label8.add(0).setCaption("Settlement required:");
    place(Label8[0], Frame4, 120, 300, 1800, kCaptionHeight);
    place(Textpcash[10], Frame4, 2000, 260, 700, kBoxHeight);
    Label8.add(1).setCaption("This voucher is settled against advance:");
    place(Label8[1], Frame4, 2900, 300, 3300, kCaptionHeight);
    place(Textpcash[11], Frame4, 6300, 260, 700, kBoxHeight);
    Label4.setCaption("Tally this with advance amount in voucher no:");
    place(Label4, Frame4, 120, 700, 3400, kCaptionHeight);
    place(Textpcash[9], Frame4, 3600, 660, 1000, kBoxHeight);
    button(ButtonMatchwith, "select voucher",
           "Browse a list of unsettled advances, and select a specific pettycash record against which this cash "
           "is to be settled.");
    place(ButtonMatchwith, Frame4, 4700, 620, 1500, 380);
    // The advance's account ("(vouch. no ...) Advance : ...   total settled
    // before this : ...   balance before this: ...") runs to some 110
    // characters: a line of its own across the frame, so no figure is cut off.
    place(LabelVoucherBalance, Frame4, 120, 1100, kPageWidth - 240, kCaptionHeight);
    LabelVoucherBalance.setVisible(false);
    for (int i : {19, 20}) place(Textpcash[i], Frame4, 6400, 260, 400, kBoxHeight);
}

void frmpettycash::createButtons() {
    button(cmdadd, "Add Petty cash entry",
           "Press this button, enter the pettycash data, scan the bill if required, and then press save button.");
    button(cmdupdate, "Save pettycash entry",
           "Press this button, after entering the pettycash data to save the record.");
    button(cmddelete, "Cancel", "");
    button(cmdEdit, "Edit entry", "");
    button(gridview, "Grid view", "Show all transactions in a tabular grid format (first tab)");
    button(Moove.add(0), "Prev", "Move to previous petty-cash record");
    button(Moove.add(1), "Next", "Move to next petty-cash record");
    button(cmdScanDoc, "scan", "Scan a document and attach it to the pettycash voucher");
    button(cmdViewBill, "view bill", "View the attached scanned document ( if available)");
    button(Printvoucher.add(0), "Print", "Print voucher");
    // The add and save buttons carry the long captions, the delete button
    // "Delete voucher" or "Cancel voucher".
    int left = 60;
    for (forms::CommandButton* b : buttonRow()) {
        const int width = (b == &cmdadd || b == &cmdupdate) ? 1725 : b == &cmddelete ? 1350 : 980;
        place(*b, SSTab2, 1, left, kButtonRowTop, width, 600);
        left += width + 50;
    }
}

std::vector<forms::CommandButton*> frmpettycash::buttonRow() {
    return {&cmdadd, &cmdupdate, &cmddelete, &cmdEdit, &gridview, &Moove[0], &Moove[1],
            &cmdScanDoc, &cmdViewBill, &Printvoucher[0]};
}

}  // namespace petty
