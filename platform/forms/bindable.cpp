#include "platform/forms/bindable.h"

#include "platform/forms/controls/data_control.h"

namespace forms {

Bindable::~Bindable() {
    if (source_) source_->detach(*this);
}

void Bindable::bind(DataControl& source, std::string field) {
    if (source_) source_->detach(*this);
    source_ = &source;
    field_ = std::move(field);
    source.attach(*this);
    if (source.hasRecordset()) source.fillControl(*this);
}

void Bindable::unbind() {
    if (source_) source_->detach(*this);
    source_ = nullptr;
    field_.clear();
}

void Bindable::fill(const jet::Value& value) {
    filling_ = true;
    try {
        showFieldValue(value);
    } catch (...) {
        filling_ = false;
        throw;
    }
    filling_ = false;
    changed_ = false;
}

}  // namespace forms
