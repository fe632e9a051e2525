#pragma once
// The recordset of a Data control as the program reaches it
// (`datPrimaryRS.Recordset`): the database layer's recordset, with every
// change of the current row routed through the Data control so that its
// events run and its bound controls follow (the handlers rely on that):
//
// - MoveFirst/MoveLast/MoveNext/MovePrevious, SetBookmark: Validate (with the
//   move's action and Save = whether a bound control is flagged); a handler
//   may cancel (the row stays, nothing is raised). Otherwise the flagged
//   controls are written into the row (when Save stays set), the move runs,
//   the bound controls are filled from the new row and Reposition follows.
// - AddNew: Validate (vbDataActionAddNew), write-back of the row left, then a
//   new empty row; the bound controls show it empty; Reposition.
// - Update: Validate (vbDataActionUpdate); the flagged controls are written
//   into the edit or add buffer and the row is stored; the controls are filled
//   again from the current row (after an addition, the row that was current
//   before it, and Reposition follows).
// - CancelUpdate: drops the buffer and fills the controls again (Reposition
//   after a dropped addition).
// - Delete: Validate (vbDataActionDelete); the row is deleted and every
//   changed flag cleared (there is nothing left to write); no Reposition until
//   the next move.
// - Requery: the set is read again, the controls filled, Reposition.
// - Edit, fields, bookmarks and counts pass straight through.
// Database errors raised by these calls reach the calling code as jet::Error,
// as run-time errors did; only actions the user starts (the Data control's
// arrows, a click in a bound grid) go to the Data control's Error event.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/jet/recordset.h"

namespace forms {

class DataControl;

class DataRecordset {
public:
    bool eof() const;
    bool bof() const;
    int64_t recordCount() const;
    int64_t absolutePosition() const;
    jet::EditMode editMode() const;
    bool updatable() const;

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRecord();
    void requery();

    jet::Bookmark bookmark() const;
    void setBookmark(const jet::Bookmark& bookmark);
    jet::Bookmark lastModified() const;

    size_t fieldCount() const;
    const jet::FieldInfo& fieldInfo(size_t index) const;
    size_t fieldIndex(std::string_view name) const;
    jet::Value field(std::string_view name) const;
    jet::Value field(size_t index) const;
    void setField(std::string_view name, const jet::Value& value);
    void setField(size_t index, const jet::Value& value);
    std::vector<jet::Value> rowAt(int64_t position) const;

    // The database layer's recordset itself: changes made through it bypass
    // the Data control's events and bound controls.
    jet::Recordset& raw() const;

private:
    friend class DataControl;
    explicit DataRecordset(DataControl& owner) : owner_(owner) {}
    DataControl& owner_;
};

}  // namespace forms
