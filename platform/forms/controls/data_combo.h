#pragma once
// The data-bound combo: its list is one field (ListField) of every row of a
// row-source Data control, refilled whenever that Data control refreshes or
// re-queries and on ReFill; its text is bound like any combo's. Picking an
// item raises Change as well as Click.
#include "platform/forms/controls/combo_box.h"

namespace forms {

class DataControl;

class DataCombo : public ComboBox {
public:
    DataCombo(Form& form, std::string name, int index = -1);
    ~DataCombo() override;

    void setRowSource(DataControl& source, std::string listField);
    DataControl* rowSource() const { return rowSource_; }
    const std::string& listField() const { return listField_; }
    // Reads the list again from the row source (VB's ReFill); a row source
    // without a recordset leaves the list as it is.
    void refill();

protected:
    bool changeOnPick() const override { return true; }

private:
    friend class DataControl;
    void detachRowSource() { rowSource_ = nullptr; }
    DataControl* rowSource_ = nullptr;
    std::string listField_;
};

}  // namespace forms
