#include "platform/forms_qt/views/scroll_bar_view.h"

#include <QScrollBar>
#include <QSignalBlocker>

#include "platform/forms/user_input.h"
#include "platform/forms_qt/form_view.h"

namespace forms_qt {

ScrollBarView::ScrollBarView(forms::ScrollBar& bar, FormView& owner)
    : ControlView(bar, owner), bar_(bar), widget_(new QScrollBar(Qt::Horizontal, &owner)) {
    widget_->setFocusPolicy(Qt::StrongFocus);
    setWidget(widget_);
    routeKeysAndFocus(widget_);
    QObject::connect(widget_, &QScrollBar::valueChanged, this, [this](int value) {
        userAction([this, value] { forms::user::scrollTo(bar_, value); });
        // The runtime may have refused the move (a disabled form): show what it holds.
        showRuntimeState();
    });
}

void ScrollBarView::changed(forms::Property p) {
    if (p == forms::Property::Value) showRuntimeState();
    else ControlView::changed(p);
}

void ScrollBarView::showRuntimeState() {
    const QSignalBlocker quiet(widget_);
    widget_->setRange(bar_.min(), bar_.max());
    widget_->setSingleStep(bar_.smallChange());
    widget_->setPageStep(bar_.largeChange());
    widget_->setValue(bar_.value());
}

}  // namespace forms_qt
