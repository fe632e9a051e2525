#include "platform/forms_qt/views/label_view.h"

#include <QLabel>

#include "platform/forms_qt/form_view.h"

namespace forms_qt {

LabelView::LabelView(forms::Label& label, FormView& owner)
    : ControlView(label, owner), label_(label), text_(new QLabel(&owner)) {
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(text_);
    routeMouseClicks(text_);
}

void LabelView::changed(forms::Property p) {
    if (p == forms::Property::Caption) text_->setText(QString::fromStdString(label_.caption()));
    else ControlView::changed(p);
}

}  // namespace forms_qt
