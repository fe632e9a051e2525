#include "platform/forms_qt/views/calendar_view.h"

#include <QCalendarWidget>
#include <QSignalBlocker>

#include "platform/forms_qt/form_view.h"
#include "platform/forms/user_input.h"

namespace forms_qt {

CalendarView::CalendarView(forms::Calendar& calendar, FormView& owner)
    : ControlView(calendar, owner), calendar_(calendar), month_(new QCalendarWidget(&owner)) {
    month_->setFocusPolicy(Qt::ClickFocus);
    month_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setWidget(month_);
    routeKeysAndFocus(month_);
    QObject::connect(month_, &QCalendarWidget::clicked, this, [this](QDate day) {
        const auto date = vb::DateTime::fromParts(day.year(), day.month(), day.day());
        if (!date) return;
        userAction([this, date] { forms::user::pickCalendarDate(calendar_, *date); });
    });
}

void CalendarView::changed(forms::Property p) {
    if (p == forms::Property::Value) showRuntimeState();
    else ControlView::changed(p);
}

void CalendarView::showRuntimeState() {
    const vb::DateTime& value = calendar_.value();
    const QSignalBlocker quiet(month_);
    month_->setSelectedDate(QDate(value.year(), value.month(), value.day()));
}

}  // namespace forms_qt
