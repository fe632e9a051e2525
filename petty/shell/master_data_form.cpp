#include "petty/shell/master_data_form.h"

#include "petty/shell/book_data_control.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/jet/error.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

// Layout, in twips.
constexpr int kFirstFieldTop = 300;
constexpr int kFieldPitch = 420;
constexpr int kBoxHeight = 315;
constexpr int kLabelHeight = 255;
constexpr int kButtonWidth = 1380;
constexpr int kButtonHeight = 420;
constexpr int kButtonGap = 120;

bool userAgrees(const std::string& question) {
    return forms::ui().msgBox(question, forms::MsgButtons::YesNo) == forms::MsgResult::Yes;
}

}  // namespace

MasterDataForm::MasterDataForm(std::string name, Family family) : Form(std::move(name)), family_(std::move(family)) {
    DBGrid1.setDataSource(datPrimaryRS);
    cmdupdate.setCaption("Save");
    cmdupdate.setToolTip("Save record");
    cmdDelete.setCaption("Delete");
    cmdDelete.setToolTip("Delete record");
    cmdclose.setCaption("Close");

    onLoad = [this] { Form_Load(); };
    datPrimaryRS.onReposition = [this] { showCurrentRow(); };
    answerDataErrorsWithBeeps(datPrimaryRS, family_.dataErrorBeeps);
    cmdadd.onClick = [this] { cmdadd_Click(); };
    cmdupdate.onClick = [this] { cmdupdate_Click(); };
    cmdDelete.onClick = [this] { cmdDelete_Click(); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
}

MasterDataForm::RowState MasterDataForm::rowState() {
    if (!datPrimaryRS.hasRecordset()) return RowState::Browsing;
    switch (datPrimaryRS.recordset().editMode()) {
        case jet::EditMode::Add: return RowState::Adding;
        case jet::EditMode::Edit: return RowState::Editing;
        case jet::EditMode::None: break;
    }
    return datPrimaryRS.anyControlChanged() ? RowState::Editing : RowState::Browsing;
}

int64_t MasterDataForm::rowCount() { return datPrimaryRS.hasRecordset() ? datPrimaryRS.recordset().recordCount() : 0; }

void MasterDataForm::enableFrames(bool on) {
    for (forms::Frame* frame : frames()) frame->setEnabled(on);
}

void MasterDataForm::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, family_.recordSource); });
    skipOnFailure([this] { datPrimaryRS.refresh(); });
    showCurrentRow();  // also when the book could not be opened: an empty window
}

void MasterDataForm::showCurrentRow() {
    skipOnFailure([this] {
        int64_t position = 0;
        if (datPrimaryRS.hasRecordset() && !adding()) position = datPrimaryRS.recordset().absolutePosition() + 1;
        showPosition(position);
    });
    const RowState state = rowState();
    cmdDelete.setCaption(state == RowState::Browsing ? "Delete" : "Cancel");
    enableFrames(state == RowState::Adding || rowCount() > 0);
}

void MasterDataForm::cmdupdate_Click() {
    // A key of blanks only would be stored as an empty key: refused like a missing one.
    if (vb::trim(keyBox().text()).empty()) {
        forms::ui().beep();
        forms::ui().msgBox(family_.keyMissing);
        return;
    }
    prepareSave();
    writeRow();
}

void MasterDataForm::writeRow() {
    // Nothing typed: nothing to write, and no row of this save to move to.
    if (rowState() == RowState::Browsing) return;
    // A refused write leaves the typed values in the boxes for the user to mend.
    try {
        datPrimaryRS.updateRecord();
    } catch (const std::exception& error) {
        const auto* refusal = dynamic_cast<const jet::Error*>(&error);
        std::string own;
        if (refusal && refusal->number() == jet::errors::duplicateKey().number())
            skipOnFailure([this, &own] { own = repeatedKeyMessage(); });
        if (own.empty()) reportRunError(error, family_.saveErrorNote);
        else refuse(own);
        return;
    }
    reportOnFailure(
        [this] {
            forms::DataRecordset& rows = datPrimaryRS.recordset();
            rows.setBookmark(rows.lastModified());
        },
        family_.saveErrorNote);
}

void MasterDataForm::cmdDelete_Click() {
    if (adding()) {
        forms::ui().beep();
        if (!userAgrees("You have added a record, but have not saved it yet. Are you sure that you want to discard "
                        "this record ?"))
            return;
        skipOnFailure([this] { datPrimaryRS.recordset().cancelUpdate(); });
        showCurrentRow();
        if (rowCount() > 0) skipOnFailure([this] { datPrimaryRS.recordset().moveLast(); });
        return;
    }
    if (rowCount() == 0) {
        forms::ui().beep();
        forms::ui().msgBox("No records to delete!");
        return;
    }
    if (deletionRefused()) return;
    forms::ui().beep();
    if (!userAgrees(family_.deleteQuestion)) return;
    skipOnFailure([this] { datPrimaryRS.recordset().deleteRecord(); });
    skipOnFailure([this] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        rows.moveNext();
        if (rows.eof()) rows.moveLast();
    });
    showCurrentRow();  // also when no row is left to move to
}

void MasterDataForm::cmdclose_Click() {
    if (rowState() != RowState::Browsing && !userAgrees("You have not updated the data. Discard the changes?")) return;
    datPrimaryRS.releaseRecordset();  // drops the pending change: nothing is written on the way out
    unload();
}

void MasterDataForm::placeField(forms::Frame& frame, forms::Label* label, std::string caption, forms::Control& box,
                                int row, MasterFieldColumns columns) {
    const int top = kFirstFieldTop + row * kFieldPitch;
    if (label) {
        label->setContainer(frame);
        label->setCaption(std::move(caption));
        label->move(columns.left, top + (kBoxHeight - kLabelHeight) / 2, columns.labelWidth, kLabelHeight);
    }
    box.setContainer(frame);
    box.move(columns.left + columns.labelWidth, top, columns.boxWidth, kBoxHeight);
}

void MasterDataForm::placeButtons(int top, int right) {
    int left = right - 4 * kButtonWidth - 3 * kButtonGap;
    for (forms::CommandButton* button : {&cmdadd, &cmdupdate, &cmdDelete, &cmdclose}) {
        button->move(left, top, kButtonWidth, kButtonHeight);
        left += kButtonWidth + kButtonGap;
    }
}

void MasterDataForm::setTabOrder(const std::vector<forms::Control*>& controls) {
    int index = 0;
    for (forms::Control* control : controls) control->setTabIndex(index++);
}

}  // namespace petty
