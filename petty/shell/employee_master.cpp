#include "petty/shell/employee_master.h"

#include "petty/shell/app_state.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/error_report.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

struct BoundField {
    int index;
    int frame;  // 1 or 2
    const char* label;
    const char* column;
    const char* toolTip;
};

// Top to bottom in each frame.
constexpr BoundField kFields[] = {
    {1, 1, "Employee Code:", "Employeecode",
     "Unique code - Used only for smart-card interface and for linking to other packages which are code-based."},
    {2, 1, "Name:", "Name", "This is the name used through out the package for identification, quotation etc."},
    {34, 1, "Full Name:", "Full Name", ""},
    {4, 1, "Group/Dept:", "Department", ""},
    {9, 1, "Designation/title:", "Title", ""},
    {6, 2, "Tel. Extension:", "Extn", ""},
    {28, 2, "E-mail :", "e-mail", ""},
    {14, 2, "Mobile No:", "Mobileno", ""},
    {3, 2, "Residence Phone No:", "Residence No", ""},
    {25, 2, nullptr, "mobilemail", "This is used for sending SMS to employees using Email to SMS gate way"},
};
constexpr int kServiceStaff = 18;

struct GridColumnText {
    const char* caption;
    const char* field;
    int width;
};
constexpr GridColumnText kGridColumns[] = {
    {"Name", "Name", 2100},          {"Group", "Department", 1500},
    {"Email", "e-mail", 2300},       {"SMSmailID", "mobilemail", 2000},
    {"Mobile No", "Mobileno", 1400}, {"Designation", "Title", 1500},
};

// Layout, in twips.
constexpr int kMargin = 240;
constexpr int kInnerWidth = 11040;
constexpr int kFrameTop = 3480;
constexpr int kFrameWidth = 5460;
constexpr int kFrameHeight = 2880;
constexpr MasterFieldColumns kFieldColumns{150, 1800, 3360};

}  // namespace

frmemployeemaster::frmemployeemaster()
    : MasterDataForm("frmemployeemaster",
                     {kEmployeeMasterSql, "Enter Employee Name!",
                      "Are you sure that you want to delete this employee ?",
                      "\n Also, please note that employee Name and Code should not be repeated.", 1}) {
    setCaption("Employees and other Pettycash receivers");
    lblTitle.setCaption("Employees and other Pettycash receivers");
    lblTitle.move(kMargin, 120, kInnerWidth, 300);
    datPrimaryRS.setVisible(false);  // the previous/next buttons and the grid move through the rows
    DBGrid1.move(kMargin, 480, kInnerWidth, 2880);
    for (const GridColumnText& column : kGridColumns)
        DBGrid1.addColumn(column.caption, column.field).setWidth(column.width);

    Frame1.move(kMargin, kFrameTop, kFrameWidth, kFrameHeight);
    Frame1.setCaption("Employee");
    Frame2.move(kMargin + kInnerWidth - kFrameWidth, kFrameTop, kFrameWidth, kFrameHeight);
    Frame2.setCaption("Contact");
    buildFields();

    const int buttonTop = kFrameTop + kFrameHeight + 240;
    forms::CommandButton& previous = Moov.add(0);
    previous.setCaption("<");
    previous.setToolTip("Move to previous record");
    previous.move(kMargin, buttonTop, 600, 420);
    forms::CommandButton& next = Moov.add(1);
    next.setCaption(">");
    next.setToolTip("Move to next record");
    next.move(kMargin + 660, buttonTop, 600, 420);
    Moov.forEach([this](forms::CommandButton& button) {
        button.onClick = [this, index = button.index()] { Moov_Click(index); };
    });
    cmdadd.setCaption("Add record");
    cmdadd.setToolTip("Press this button, enter data and press save button to save data");
    placeButtons(buttonTop, kMargin + kInnerWidth);
    move(0, 0, kInnerWidth + 2 * kMargin, buttonTop + 420 + kMargin);

    setTabOrder({&txtFields[1], &txtFields[2], &txtFields[34], &txtFields[4], &txtFields[9], &chkFields[kServiceStaff],
                 &txtFields[6], &txtFields[28], &txtFields[14], &txtFields[3], &txtFields[25], &cmdadd, &cmdupdate,
                 &cmdDelete, &cmdclose, &Moov[0], &Moov[1], &DBGrid1});
}

void frmemployeemaster::buildFields() {
    int rows[2] = {0, 0};
    for (const BoundField& field : kFields) {
        forms::Frame& frame = field.frame == 1 ? Frame1 : Frame2;
        forms::TextBox& box = txtFields.add(field.index);
        box.bind(datPrimaryRS, field.column);
        box.setToolTip(field.toolTip);
        forms::Label* label = field.label ? &lblLabels.add(field.index) : nullptr;
        placeField(frame, label, field.label ? field.label : "", box, rows[field.frame - 1]++, kFieldColumns);
    }
    forms::CheckBox& serviceStaff = chkFields.add(kServiceStaff);
    serviceStaff.setCaption("Service staff");
    serviceStaff.bind(datPrimaryRS, "service staff");
    placeField(Frame1, nullptr, "", serviceStaff, rows[0], kFieldColumns);
}

void frmemployeemaster::Form_Load() {
    setCloseBoxEnabled(false);  // only the Close button closes the window
    MasterDataForm::Form_Load();
}

void frmemployeemaster::showPosition(int64_t position) {
    DBGrid1.setCaption("Employee " + std::to_string(position) + " of " + std::to_string(rowCount()));
}

void frmemployeemaster::Moov_Click(int index) {
    if (!datPrimaryRS.hasRecordset()) return;
    forms::DataRecordset& rows = datPrimaryRS.recordset();
    if (rows.eof() || rows.bof()) return;  // no current row, or no rows at all
    if (adding()) {
        forms::ui().msgBox("Record is not fully updated. You cannot move to the another record!");
        return;
    }
    try {
        if (index == 0) {
            rows.movePrevious();
            if (rows.bof()) rows.moveFirst();
        } else {
            rows.moveNext();
            if (rows.eof()) rows.moveLast();
        }
    } catch (const std::exception&) {
        // A move that fails leaves the row where it was.
    }
}

void frmemployeemaster::cmdadd_Click() {
    if (rowState() != RowState::Browsing) {
        forms::ui().msgBox("You have made some changes! Save the record and then add new one!");
        return;
    }
    reportOnFailure([this] { enableFrames(true); });
    reportOnFailure([this] { datPrimaryRS.recordset().addNew(); });
    reportOnFailure([this] { keyBox().setFocus(); });
}

void frmemployeemaster::prepareSave() {
    forms::TextBox& name = keyBox();
    if (const std::string trimmed = vb::trim(name.text()); trimmed != name.text()) name.setText(trimmed);
    // Raised before the write, so also when the write then fails.
    if (adding()) appState().employeeListChanged = true;
}

bool frmemployeemaster::anotherRowHolds(const char* column, const std::string& typed) {
    if (typed.empty()) return false;
    forms::DataRecordset& rows = datPrimaryRS.recordset();
    // An edit the book refused was taken back: the current row shows what is stored.
    const jet::Value stored = rows.field(column);
    if (!adding() && !stored.isNull() && vb::lcase(stored.asText()) == vb::lcase(typed)) return false;
    const std::string sql = std::string("select count(*) from employeemaster where [") + column + "] = ?";
    return datPrimaryRS.database().openRecordset(sql, {jet::Value(typed)}).field(size_t{0}).asLong() > 0;
}

std::string frmemployeemaster::repeatedKeyMessage() {
    const std::string name = vb::trim(keyBox().text());
    if (anotherRowHolds("Name", name)) return "An employee named " + name + " exists already.";
    const std::string code = vb::trim(txtFields[1].text());
    if (anotherRowHolds("Employeecode", code)) return "An employee with the code " + code + " exists already.";
    return {};
}

}  // namespace petty
