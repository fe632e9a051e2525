#pragma once
// A month calendar: its value is a date. A click on a day (pickCalendarDate)
// makes that day the value and raises Click.
#include "platform/forms/control.h"
#include "platform/vb/date_time.h"

namespace forms {

class Calendar : public Control {
public:
    Calendar(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::Calendar, std::move(name), index) {}

    const vb::DateTime& value() const { return value_; }
    void setValue(vb::DateTime date) {  // the time of day is dropped
        value_ = date.dateOnly();
        changed(Property::Value);
    }

    bool canTakeFocus() const override { return true; }

private:
    vb::DateTime value_;
};

}  // namespace forms
