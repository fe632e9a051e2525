#pragma once
// A month calendar: a click on a day is the runtime's date pick; moving to
// another month or year only changes the page shown.
#include "platform/forms/controls/calendar.h"
#include "platform/forms_qt/control_view.h"

class QCalendarWidget;

namespace forms_qt {

class CalendarView : public ControlView {
public:
    CalendarView(forms::Calendar& calendar, FormView& owner);

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;

private:
    forms::Calendar& calendar_;
    QCalendarWidget* month_;
};

}  // namespace forms_qt
