#include "platform/forms_qt/views/button_views.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/forms/user_input.h"
#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/pictures.h"

namespace forms_qt {

namespace {

// A box whose state only the runtime changes.
template <class Base>
class RuntimeTickedBox : public Base {
public:
    using Base::Base;

protected:
    void nextCheckState() override {}
    // The whole box takes the click, not only its tick and caption.
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

}  // namespace

CommandButtonView::CommandButtonView(forms::CommandButton& button, FormView& owner)
    : ControlView(button, owner), button_(button), push_(new QPushButton(&owner)) {
    push_->setAutoDefault(false);
    // The runtime gives the focus as part of the click, after LostFocus elsewhere.
    push_->setFocusPolicy(Qt::TabFocus);
    setWidget(push_);
    routeKeysAndFocus(push_);
    QObject::connect(push_, &QPushButton::clicked, this,
                     [this] { userAction([this] { forms::user::click(button_); }); });
}

void CommandButtonView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Caption:
        case forms::Property::Picture: showCaptionAndPicture(); break;
        case forms::Property::Default: push_->setDefault(button_.isDefault()); break;
        default: ControlView::changed(p);
    }
}

void CommandButtonView::showCaptionAndPicture() {
    push_->setText(QString::fromStdString(button_.caption()));
    push_->setIcon(pictureIcon(button_.picture()));
}

TickBoxView::TickBoxView(forms::Control& control, FormView& owner, QAbstractButton* box)
    : ControlView(control, owner), box_(box) {
    box_->setFocusPolicy(Qt::TabFocus);
    setWidget(box_);
    routeKeysAndFocus(box_);
    QObject::connect(box_, &QAbstractButton::clicked, this,
                     [this] { userAction([this] { forms::user::click(this->control()); }); });
}

CheckBoxView::CheckBoxView(forms::CheckBox& check, FormView& owner)
    : TickBoxView(check, owner, new RuntimeTickedBox<QCheckBox>(&owner)), check_(check) {}

void CheckBoxView::changed(forms::Property p) {
    if (p == forms::Property::Caption) box()->setText(QString::fromStdString(check_.caption()));
    else if (p == forms::Property::Value) showRuntimeState();
    else TickBoxView::changed(p);
}

void CheckBoxView::showRuntimeState() {
    auto* check = static_cast<QCheckBox*>(box());
    const QSignalBlocker quiet(check);
    check->setTristate(check_.value() == forms::vbGrayed);
    check->setCheckState(check_.value() == forms::vbChecked  ? Qt::Checked
                         : check_.value() == forms::vbGrayed ? Qt::PartiallyChecked
                                                             : Qt::Unchecked);
}

OptionButtonView::OptionButtonView(forms::OptionButton& option, FormView& owner)
    : TickBoxView(option, owner, new RuntimeTickedBox<QRadioButton>(&owner)), option_(option) {
    box()->setAutoExclusive(false);  // the runtime clears the other options of the container
}

void OptionButtonView::changed(forms::Property p) {
    if (p == forms::Property::Caption) box()->setText(QString::fromStdString(option_.caption()));
    else if (p == forms::Property::Value) showRuntimeState();
    else TickBoxView::changed(p);
}

void OptionButtonView::showRuntimeState() {
    const QSignalBlocker quiet(box());
    box()->setChecked(option_.value());
}

}  // namespace forms_qt
