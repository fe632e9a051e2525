#include "platform/forms_qt/views/text_box_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>

#include "platform/forms_qt/form_view.h"
#include "platform/forms/user_input.h"

namespace forms_qt {

namespace {

// Draws the box's own password character instead of the style's.
class PasswordStyle : public QProxyStyle {
public:
    explicit PasswordStyle(QChar mask) : mask_(mask) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return mask_.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar mask_;
};

}  // namespace

TextBoxView::TextBoxView(forms::TextBox& box, FormView& owner) : ControlView(box, owner), box_(box) {
    if (box.multiLine()) {
        auto* field = new QPlainTextEdit(&owner);
        surface_ = multiLineSurface(*field);
        QObject::connect(field, &QPlainTextEdit::textChanged, this, [this] { fieldEdited(); });
        routeMouseClicks(field->viewport());
    } else {
        auto* field = new QLineEdit(&owner);
        surface_ = lineSurface(*field);
        QObject::connect(field, &QLineEdit::textEdited, this, [this] { fieldEdited(); });
        routeMouseClicks(field);
    }
    surface_->widget()->setFocusPolicy(Qt::ClickFocus);
    setWidget(surface_->widget());
    routeKeysAndFocus(surface_->widget());
}

void TextBoxView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Text: showRuntimeState(); break;
        case forms::Property::Locked: surface_->setReadOnly(box_.locked()); break;
        case forms::Property::PasswordChar: showPasswordChar(); break;
        default: ControlView::changed(p);
    }
}

void TextBoxView::showRuntimeState() { showText(*surface_, box_); }

bool TextBoxView::keyPressed(QKeyEvent& event) {
    if (!isTypingKey(event)) return ControlView::keyPressed(event);
    userAction([&] { typeKey(*surface_, box_, event); });
    return true;
}

void TextBoxView::showPasswordChar() {
    auto* field = qobject_cast<QLineEdit*>(surface_->widget());
    if (!field) return;
    QStyle* previous = field->style();
    if (box_.passwordChar() == '\0') {
        field->setEchoMode(QLineEdit::Normal);
        field->setStyle(QApplication::style());
    } else {
        auto* style = new PasswordStyle(QChar::fromLatin1(box_.passwordChar()));
        style->setParent(field);
        field->setStyle(style);
        field->setEchoMode(QLineEdit::Password);
    }
    if (dynamic_cast<PasswordStyle*>(previous)) previous->deleteLater();
}

void TextBoxView::fieldEdited() {
    const std::string edited = surface_->text().toStdString();
    userAction([this, edited] { forms::user::editText(box_, edited); });
}

}  // namespace forms_qt
