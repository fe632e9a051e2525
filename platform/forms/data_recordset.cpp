#include "platform/forms/data_recordset.h"

#include "platform/forms/controls/data_control.h"
#include "platform/jet/error.h"

namespace forms {

jet::Recordset& DataRecordset::raw() const { return owner_.rs(); }

bool DataRecordset::eof() const { return raw().eof(); }
bool DataRecordset::bof() const { return raw().bof(); }
int64_t DataRecordset::recordCount() const { return raw().recordCount(); }
int64_t DataRecordset::absolutePosition() const { return raw().absolutePosition(); }
jet::EditMode DataRecordset::editMode() const { return raw().editMode(); }
bool DataRecordset::updatable() const { return raw().updatable(); }

void DataRecordset::moveFirst() {
    owner_.navigate(vbDataActionMoveFirst, [](jet::Recordset& r) { r.moveFirst(); });
}
void DataRecordset::moveLast() {
    owner_.navigate(vbDataActionMoveLast, [](jet::Recordset& r) { r.moveLast(); });
}
void DataRecordset::moveNext() {
    owner_.navigate(vbDataActionMoveNext, [](jet::Recordset& r) { r.moveNext(); });
}
void DataRecordset::movePrevious() {
    owner_.navigate(vbDataActionMovePrevious, [](jet::Recordset& r) { r.movePrevious(); });
}
void DataRecordset::setBookmark(const jet::Bookmark& bookmark) {
    owner_.navigate(vbDataActionBookmark, [&bookmark](jet::Recordset& r) { r.setBookmark(bookmark); });
}

void DataRecordset::addNew() {
    owner_.navigate(vbDataActionAddNew, [](jet::Recordset& r) { r.addNew(); });
}

void DataRecordset::edit() { raw().edit(); }

void DataRecordset::update() {
    jet::Recordset& r = raw();
    bool save = false;
    if (!owner_.validate(vbDataActionUpdate, save)) return;
    const jet::EditMode mode = r.editMode();
    if (mode == jet::EditMode::None) throw jet::errors::updateWithoutEdit();
    if (save) owner_.writeFlaggedIntoBuffer();
    r.update();
    owner_.rowsChanged();
    if (mode == jet::EditMode::Add) owner_.afterMove();
    else owner_.fillControls();
}

void DataRecordset::cancelUpdate() {
    jet::Recordset& r = raw();
    const jet::EditMode mode = r.editMode();
    r.cancelUpdate();
    if (mode == jet::EditMode::Add) owner_.afterMove();
    else owner_.fillControls();
}

void DataRecordset::deleteRecord() {
    jet::Recordset& r = raw();
    bool save = false;
    if (!owner_.validate(vbDataActionDelete, save)) return;
    r.deleteRecord();
    owner_.clearFlags();  // the row is gone: nothing of it is left to write
    owner_.rowsChanged();
}

void DataRecordset::requery() {
    raw().requery();
    owner_.rowsChanged();
    owner_.afterMove();
}

jet::Bookmark DataRecordset::bookmark() const { return raw().bookmark(); }
jet::Bookmark DataRecordset::lastModified() const { return raw().lastModified(); }
size_t DataRecordset::fieldCount() const { return raw().fieldCount(); }
const jet::FieldInfo& DataRecordset::fieldInfo(size_t index) const { return raw().fieldInfo(index); }
size_t DataRecordset::fieldIndex(std::string_view name) const { return raw().fieldIndex(name); }
jet::Value DataRecordset::field(std::string_view name) const { return raw().field(name); }
jet::Value DataRecordset::field(size_t index) const { return raw().field(index); }
void DataRecordset::setField(std::string_view name, const jet::Value& value) { raw().setField(name, value); }
void DataRecordset::setField(size_t index, const jet::Value& value) { raw().setField(index, value); }
std::vector<jet::Value> DataRecordset::rowAt(int64_t position) const { return raw().rowAt(position); }

}  // namespace forms
