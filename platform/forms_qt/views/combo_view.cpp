#include "platform/forms_qt/views/combo_view.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "platform/forms_qt/form_view.h"
#include "platform/forms/user_input.h"

namespace forms_qt {

namespace {

class RuntimeComboBox : public QComboBox {
public:
    RuntimeComboBox(const forms::ComboBox& combo, QWidget* parent) : QComboBox(parent), combo_(combo) {}
    void showPopup() override {
        if (!combo_.locked()) QComboBox::showPopup();
    }

private:
    const forms::ComboBox& combo_;
};

}  // namespace

ComboView::ComboView(forms::ComboBox& combo, FormView& owner)
    : ControlView(combo, owner), combo_(combo), box_(new RuntimeComboBox(combo, &owner)) {
    box_->setFocusPolicy(Qt::ClickFocus);
    box_->setInsertPolicy(QComboBox::NoInsert);
    setWidget(box_);
    routeKeysAndFocus(box_);
    routeMouseClicks(box_);
    QObject::connect(box_, &QComboBox::activated, this,
                     [this](int index) { userAction([this, index] { forms::user::selectComboItem(combo_, index); }); });
}

void ComboView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Style: showStyle(); break;
        case forms::Property::List: showList(); break;
        case forms::Property::Text:
        case forms::Property::ListIndex: showRuntimeState(); break;
        case forms::Property::Locked:
            if (surface_) surface_->setReadOnly(combo_.locked());
            break;
        default: ControlView::changed(p);
    }
}

void ComboView::showStyle() {
    const bool editable = combo_.style() != forms::vbComboDropdownList;
    if (editable == box_->isEditable() && (surface_ != nullptr) == editable) return;
    const QSignalBlocker quiet(box_);
    box_->setEditable(editable);
    surface_.reset();
    if (!editable) routeMouseClicks(box_);
    if (editable) {
        QLineEdit* field = box_->lineEdit();
        box_->setCompleter(nullptr);
        surface_ = lineSurface(*field);
        surface_->setReadOnly(combo_.locked());
        // The field takes the mouse of an editable combo: its clicks and double clicks are the combo's.
        routeMouseClicks(field);
        QObject::connect(field, &QLineEdit::textEdited, this, [this] {
            const std::string edited = surface_->text().toStdString();
            userAction([this, edited] { forms::user::editText(combo_, edited); });
        });
    }
    showRuntimeState();
}

void ComboView::showList() {
    const QSignalBlocker quiet(box_);
    box_->clear();
    for (const std::string& item : combo_.items()) box_->addItem(QString::fromStdString(item));
    showRuntimeState();
}

void ComboView::showRuntimeState() {
    const QSignalBlocker quiet(box_);
    if (box_->count() != combo_.listCount()) showList();
    box_->setCurrentIndex(combo_.listIndex());
    if (surface_) showText(*surface_, combo_);
}

// The longest of the items, beside the arrow, inside the frame.
int ComboView::textWidthNeeded() const {
    const QString longest = fittedText();
    if (longest.isEmpty()) return 0;
    QStyleOptionComboBox option;
    option.initFrom(box_);
    option.editable = box_->isEditable();
    const QSize text(box_->fontMetrics().horizontalAdvance(longest) + 2, box_->fontMetrics().height());
    return box_->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, box_).width();
}

QString ComboView::fittedText() const {
    QString longest;
    const QFontMetrics metrics = box_->fontMetrics();
    for (const std::string& item : combo_.items()) {
        const QString text = QString::fromStdString(item);
        if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(longest)) longest = text;
    }
    return longest;
}

bool ComboView::keyPressed(QKeyEvent& event) {
    if (!surface_ || !isTypingKey(event)) return ControlView::keyPressed(event);
    userAction([&] { typeKey(*surface_, combo_, event); });
    return true;
}

}  // namespace forms_qt
