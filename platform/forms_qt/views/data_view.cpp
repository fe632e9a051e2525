#include "platform/forms_qt/views/data_view.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "platform/forms_qt/form_view.h"
#include "platform/forms/user_input.h"

namespace forms_qt {

DataView::DataView(forms::DataControl& data, FormView& owner) : ControlView(data, owner), data_(data) {
    auto* bar = new QFrame(&owner);
    bar->setFrameShape(QFrame::Panel);
    bar->setFrameShadow(QFrame::Sunken);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(0);
    caption_ = new QLabel(bar);
    const auto arrow = [this, bar](const char* text, forms::DataControl::Arrow which) {
        auto* button = new QToolButton(bar);
        button->setText(QString::fromLatin1(text));
        button->setFocusPolicy(Qt::NoFocus);
        QObject::connect(button, &QToolButton::clicked, this,
                         [this, which] { userAction([this, which] { forms::user::clickDataArrow(data_, which); }); });
        return button;
    };
    row->addWidget(arrow("|<", forms::DataControl::Arrow::First));
    row->addWidget(arrow("<", forms::DataControl::Arrow::Previous));
    row->addWidget(caption_, 1);
    row->addWidget(arrow(">", forms::DataControl::Arrow::Next));
    row->addWidget(arrow(">|", forms::DataControl::Arrow::Last));
    setWidget(bar);
}

void DataView::changed(forms::Property p) {
    if (p == forms::Property::Caption) caption_->setText(QString::fromStdString(data_.caption()));
    else ControlView::changed(p);
}

}  // namespace forms_qt
