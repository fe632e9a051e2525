#include "platform/forms/controls/data_combo.h"

#include "platform/forms/controls/data_control.h"

namespace forms {

DataCombo::DataCombo(Form& form, std::string name, int index)
    : ComboBox(form, ControlKind::DataCombo, std::move(name), index) {}

DataCombo::~DataCombo() {
    if (rowSource_) rowSource_->detach(*this);
}

void DataCombo::setRowSource(DataControl& source, std::string listField) {
    if (rowSource_) rowSource_->detach(*this);
    rowSource_ = &source;
    listField_ = std::move(listField);
    source.attach(*this);
    refill();
}

void DataCombo::refill() {
    if (!rowSource_ || !rowSource_->hasRecordset()) return;
    DataRecordset& rs = rowSource_->recordset();
    const size_t field = rs.fieldIndex(listField_);
    std::vector<std::string> items;
    const int64_t count = rs.recordCount();
    for (int64_t row = 0; row < count; ++row) items.push_back(rs.rowAt(row).at(field).asText());
    replaceItems(std::move(items));
}

}  // namespace forms
