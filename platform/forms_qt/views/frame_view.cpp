#include "platform/forms_qt/views/frame_view.h"

#include <QGroupBox>

#include "platform/forms_qt/form_view.h"

namespace forms_qt {

FrameView::FrameView(forms::Frame& frame, FormView& owner)
    : ControlView(frame, owner), frame_(frame), box_(new QGroupBox(&owner)) {
    setWidget(box_);
    routeMouseClicks(box_);
}

QWidget* FrameView::childArea() const { return box_; }

int FrameView::textWidthNeeded() const { return box_->title().isEmpty() ? 0 : box_->minimumSizeHint().width(); }

QString FrameView::fittedText() const { return box_->title(); }

void FrameView::changed(forms::Property p) {
    if (p == forms::Property::Caption) box_->setTitle(QString::fromStdString(frame_.caption()));
    else ControlView::changed(p);
}

}  // namespace forms_qt
