#pragma once
// A control bound to one column of a Data control's current row (DataSource +
// DataField): text boxes, combos, data combos, labels and check boxes.
//
// The bound control shows the column's value of the current row (Null as the
// empty text) and carries a changed flag (VB's DataChanged): it is set when
// the control's value changes after the Data control filled it, whether the
// user typed or the program wrote it, and cleared whenever the Data control
// fills the control again (a move, Refresh, Requery, AddNew, CancelUpdate,
// a write-back) or when the program clears it. When the Data control writes
// the row back, it writes the value of every flagged control into its column
// and nothing else. A display-only control is never written back; labels are
// always display-only.
#include <string>

#include "platform/jet/value.h"

namespace forms {

class DataControl;

class Bindable {
public:
    Bindable() = default;
    Bindable(const Bindable&) = delete;
    Bindable& operator=(const Bindable&) = delete;
    virtual ~Bindable();

    // Binds to a column of the data control's recordset (matched without regard
    // to letter case); an open recordset fills the control at once. Rebinding
    // moves the control to the new source.
    void bind(DataControl& source, std::string field);
    void unbind();
    DataControl* dataSource() const { return source_; }
    const std::string& dataField() const { return field_; }

    bool dataChanged() const { return changed_; }
    void setDataChanged(bool on) { changed_ = on; }

    virtual bool displayOnly() const { return displayOnly_; }
    void setDisplayOnly(bool on) { displayOnly_ = on; }

    // The value the Data control writes into the column.
    virtual jet::Value valueForField() const = 0;

protected:
    // The control shows a value of its column (called while filling).
    virtual void showFieldValue(const jet::Value& value) = 0;
    // Called by the control whenever its bound value changed.
    void noteValueChanged() {
        if (!filling_) changed_ = true;
    }

private:
    friend class DataControl;
    void fill(const jet::Value& value);  // shows the value and clears the flag
    void detachFromSource() { source_ = nullptr; }

    DataControl* source_ = nullptr;
    std::string field_;
    bool changed_ = false;
    bool displayOnly_ = false;
    bool filling_ = false;
};

}  // namespace forms
