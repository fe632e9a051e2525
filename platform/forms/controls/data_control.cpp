#include "platform/forms/controls/data_control.h"

#include <algorithm>

#include "platform/forms/bindable.h"
#include "platform/forms/controls/data_combo.h"
#include "platform/forms/controls/grid.h"
#include "platform/forms/error.h"
#include "platform/forms/ui.h"
#include "platform/jet/error.h"

namespace forms {

DataControl::DataControl(Form& form, std::string name, int index)
    : Control(form, ControlKind::Data, std::move(name), index) {}

DataControl::~DataControl() {
    for (Bindable* b : bound_) b->detachFromSource();
    for (DataCombo* c : combos_) c->detachRowSource();
    for (Grid* g : grids_) g->detachSource();
}

void DataControl::setDatabaseName(std::string path) { databaseName_ = std::move(path); }
void DataControl::setConnect(std::string connect) { connect_ = std::move(connect); }
void DataControl::setRecordSource(std::string source) { setRecordSource(std::move(source), {}); }

void DataControl::setRecordSource(std::string source, std::vector<jet::Value> parameters) {
    recordSource_ = std::move(source);
    parameters_ = std::move(parameters);
}

void DataControl::setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }

void DataControl::refresh() {
    if (!db_ || openedName_ != databaseName_ || openedConnect_ != connect_) {
        rs_.reset();
        db_.reset();
        db_.emplace(jet::Database::open(databaseName_, connect_));
        openedName_ = databaseName_;
        openedConnect_ = connect_;
    }
    // The new set replaces the old one only once it opened: a failing query keeps the old rows.
    jet::Recordset fresh = db_->openRecordset(recordSource_, parameters_);
    rs_.reset();
    rs_.emplace(std::move(fresh));
    rowsChanged();
    afterMove();
}

bool DataControl::refreshMovingRow(int64_t rowid, std::optional<int64_t> beforeRowid, uint64_t changedFrom) {
    if (!rs_ || !rs_->requeryMovingRow(rowid, beforeRowid, changedFrom)) return false;
    rowsChanged();
    afterMove();
    return true;
}

bool DataControl::addingRow() const { return rs_.has_value() && rs_->editMode() == jet::EditMode::Add; }

DataRecordset& DataControl::recordset() {
    if (!rs_) throw errors::objectNotSet();
    return facade_;
}

void DataControl::releaseRecordset() {
    if (!rs_) return;
    closeRecordset();
}

void DataControl::closeRecordset() {
    // Nothing to show any more; grids go blank without row events.
    rs_.reset();
    clearFlags();
    for (Grid* g : grids_) g->sourceClosed();
    changed(Property::Rows);
}

jet::Database& DataControl::database() {
    if (!db_) throw errors::objectNotSet();
    return *db_;
}

jet::Recordset& DataControl::rs() {
    if (!rs_) throw errors::objectNotSet();
    return *rs_;
}

bool DataControl::anyControlChanged() const {
    return std::any_of(bound_.begin(), bound_.end(), [](const Bindable* b) { return !b->displayOnly() && b->dataChanged(); });
}

bool DataControl::validate(int action, bool& save) {
    save = anyControlChanged();
    int answer = action;
    if (onValidate) onValidate(answer, save);
    return answer != vbDataActionCancel;
}

DataControl::Entry DataControl::pendingEntry() const {
    Entry entry;
    entry.adding = addingRow();
    for (Bindable* b : bound_)
        if (!b->displayOnly() && b->dataChanged()) entry.values.emplace_back(b, b->valueForField());
    return entry;
}

void DataControl::restoreEntry(const Entry& entry) {
    jet::Recordset& r = rs();
    if (entry.adding) {
        r.requery();
        r.addNew();
    } else if (r.editMode() != jet::EditMode::None) {
        r.cancelUpdate();
    }
    rowsChanged();
    afterMove();
    for (const auto& [control, value] : entry.values) {
        if (std::find(bound_.begin(), bound_.end(), control) == bound_.end()) continue;
        control->fill(value);
        control->setDataChanged(true);
    }
}

void DataControl::writeFlaggedIntoBuffer() {
    jet::Recordset& r = rs();
    for (Bindable* b : bound_) {
        if (b->displayOnly() || !b->dataChanged()) continue;
        size_t field;
        try {
            field = r.fieldIndex(b->dataField());
        } catch (const jet::Error&) {
            continue;  // the query does not return the control's field
        }
        if (!r.fieldInfo(field).updatable) continue;  // counters and expressions are never written
        r.setField(field, b->valueForField());
    }
}

void DataControl::writeBack(bool save) {
    if (!save || !anyControlChanged()) return;
    jet::Recordset& r = rs();
    const bool startedEdit = r.editMode() == jet::EditMode::None;
    if (startedEdit) {
        if (r.eof() || r.bof()) return;
        r.edit();
    }
    try {
        writeFlaggedIntoBuffer();
        r.update();
    } catch (...) {
        if (startedEdit && r.editMode() != jet::EditMode::None) r.cancelUpdate();
        throw;
    }
    clearFlags();
    changed(Property::Rows);
    for (Grid* g : grids_) g->dataChanged();
}

void DataControl::fillControls() {
    if (!rs_) return;
    const auto bound = bound_;  // a fill handler may bind or unbind
    for (Bindable* b : bound) fillControl(*b);
}

void DataControl::fillControl(Bindable& control) {
    jet::Recordset& r = rs();
    jet::Value value;
    if (r.editMode() == jet::EditMode::Add || !(r.eof() || r.bof())) {
        try {
            value = r.field(control.dataField());
        } catch (const jet::Error&) {
            value = jet::Value();  // no such field, or the row is gone
        }
    }
    control.fill(value);
}

void DataControl::updateControls() { fillControls(); }

void DataControl::clearFlags() {
    for (Bindable* b : bound_) b->setDataChanged(false);
}

void DataControl::afterMove() {
    fillControls();
    for (Grid* g : grids_) g->currentChanged();
    changed(Property::CurrentRow);
    fire(onReposition);
}

void DataControl::rowsChanged() {
    for (DataCombo* c : combos_) {
        try {
            c->refill();
        } catch (const std::exception&) {
            // A list field the row source lacks leaves the list as it was.
        }
    }
    for (Grid* g : grids_) g->dataChanged();
    changed(Property::Rows);
}

void DataControl::navigate(int action, const std::function<void(jet::Recordset&)>& move) {
    bool save = false;
    if (!validate(action, save)) return;
    writeBack(save);
    move(rs());
    afterMove();
}

void DataControl::updateRecord() {
    jet::Recordset& r = rs();
    const jet::EditMode mode = r.editMode();
    if (mode == jet::EditMode::None) {
        if (!anyControlChanged() || r.eof() || r.bof()) return;
        r.edit();
    }
    try {
        writeFlaggedIntoBuffer();
        r.update();
    } catch (...) {
        if (mode == jet::EditMode::None && r.editMode() != jet::EditMode::None) r.cancelUpdate();
        throw;
    }
    rowsChanged();
    if (mode == jet::EditMode::Add) afterMove();  // the row that was current before the addition
    else fillControls();
}

void DataControl::reportUserError(const std::exception& error) {
    int number = 0;
    std::string text = error.what();
    if (const auto* e = dynamic_cast<const Error*>(&error)) {
        number = e->number();
        text = e->description();
    }
    int response = vbDataErrDisplay;
    if (onError) onError(number, response);
    if (response == vbDataErrDisplay) ui().msgBox(text);
}

void DataControl::userArrow(Arrow arrow) {
    try {
        if (!rs_ || (rs_->eof() && rs_->bof() && rs_->editMode() != jet::EditMode::Add)) return;
        switch (arrow) {
            case Arrow::First:
                navigate(vbDataActionMoveFirst, [](jet::Recordset& r) { r.moveFirst(); });
                break;
            case Arrow::Last:
                navigate(vbDataActionMoveLast, [](jet::Recordset& r) { r.moveLast(); });
                break;
            case Arrow::Previous:
                navigate(vbDataActionMovePrevious, [this](jet::Recordset& r) {
                    if (!r.bof()) r.movePrevious();
                    if (r.bof() && bofAction_ == vbBOFActionMoveFirst) r.moveFirst();
                });
                break;
            case Arrow::Next:
                navigate(vbDataActionMoveNext, [this](jet::Recordset& r) {
                    if (!r.eof()) r.moveNext();
                    if (r.eof() && eofAction_ == vbEOFActionMoveLast) r.moveLast();
                    else if (r.eof() && eofAction_ == vbEOFActionAddNew) r.addNew();
                });
                break;
        }
    } catch (const std::exception& e) {
        reportUserError(e);
    }
}

void DataControl::userMoveToPosition(int64_t position) {
    try {
        navigate(vbDataActionBookmark, [position](jet::Recordset& r) {
            r.moveFirst();
            for (int64_t i = 0; i < position; ++i) r.moveNext();
        });
    } catch (const std::exception& e) {
        reportUserError(e);
    }
}

void DataControl::formUnloading() {
    if (!rs_) return;
    try {
        bool save = false;
        if (validate(vbDataActionUnload, save)) writeBack(save);
    } catch (const std::exception& e) {
        reportUserError(e);
    }
    closeRecordset();
}

void DataControl::attach(Bindable& control) { bound_.push_back(&control); }
void DataControl::detach(Bindable& control) { std::erase(bound_, &control); }
void DataControl::attach(DataCombo& combo) { combos_.push_back(&combo); }
void DataControl::detach(DataCombo& combo) { std::erase(combos_, &combo); }
void DataControl::attach(Grid& grid) { grids_.push_back(&grid); }
void DataControl::detach(Grid& grid) { std::erase(grids_, &grid); }

}  // namespace forms
