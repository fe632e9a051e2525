#pragma once
// The editing field of a text box or an editable combo (a QLineEdit, or a
// QPlainTextEdit for a multi-line box), seen one way: its text as the runtime
// holds it, the caret and the selection. The field never edits itself on a
// typed key: the key goes to the runtime (text_input.h) and the field shows
// the text the runtime ends with; edits the field makes natively (paste, cut,
// undo, drop) go to the runtime as whole-text edits.
#include <QString>
#include <memory>

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace forms {
class TextControl;
}

namespace forms_qt {

class TextSurface {
public:
    virtual ~TextSurface() = default;
    virtual QWidget* widget() const = 0;
    // The text in the runtime's form (a multi-line box's lines end in "\r\n").
    virtual QString text() const = 0;
    // Shows the text (with the field's signals blocked), caret at the end.
    virtual void setText(const QString& text) = 0;
    virtual int selectionStart() const = 0;  // the caret when nothing is selected
    virtual int selectionLength() const = 0;
    virtual void setCaret(int position) = 0;
    virtual void setReadOnly(bool on) = 0;
};

std::unique_ptr<TextSurface> lineSurface(QLineEdit& field);
std::unique_ptr<TextSurface> multiLineSurface(QPlainTextEdit& field);

// Shows the control's text unless the field already shows it (keeping the caret).
void showText(TextSurface& surface, const forms::TextControl& control);

// Whether the key types into the field: a character, Backspace or Delete.
bool isTypingKey(const QKeyEvent& event);
// A typing key goes to the runtime at the caret; the field shows the outcome.
void typeKey(TextSurface& surface, forms::TextControl& control, const QKeyEvent& event);

}  // namespace forms_qt
