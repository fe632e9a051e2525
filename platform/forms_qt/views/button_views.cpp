#include "platform/forms_qt/views/button_views.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>

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

// The caption beside its picture, inside the button's frame and margins.
int CommandButtonView::textWidthNeeded() const {
    if (push_->text().isEmpty()) return 0;
    const QStyle& style = *push_->style();
    int width = push_->fontMetrics().size(Qt::TextShowMnemonic, push_->text()).width();
    if (!push_->icon().isNull()) width += push_->iconSize().width() + 4;
    return width + 2 * (style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, push_) / 2 +
                        style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push_));
}

QString CommandButtonView::fittedText() const { return push_->text(); }

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

int TickBoxView::textWidthNeeded() const { return box_->text().isEmpty() ? 0 : box_->sizeHint().width(); }

QString TickBoxView::fittedText() const { return box_->text(); }

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
