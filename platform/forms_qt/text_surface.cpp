#include "platform/forms_qt/text_surface.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

#include "platform/forms/controls/text_control.h"
#include "platform/forms_qt/text_input.h"

namespace forms_qt {

namespace {

class LineSurface : public TextSurface {
public:
    explicit LineSurface(QLineEdit& field) : field_(field) {}
    QWidget* widget() const override { return &field_; }
    QString text() const override { return field_.text(); }
    void setText(const QString& text) override {
        const QSignalBlocker quiet(&field_);
        field_.setText(text);
    }
    int selectionStart() const override {
        return field_.hasSelectedText() ? field_.selectionStart() : field_.cursorPosition();
    }
    int selectionLength() const override { return field_.hasSelectedText() ? field_.selectedText().size() : 0; }
    void setCaret(int position) override { field_.setCursorPosition(position); }
    void setReadOnly(bool on) override { field_.setReadOnly(on); }

private:
    QLineEdit& field_;
};

// The field shows "\n" where the runtime's text holds "\r\n".
class MultiLineSurface : public TextSurface {
public:
    explicit MultiLineSurface(QPlainTextEdit& field) : field_(field) {}
    QWidget* widget() const override { return &field_; }
    QString text() const override {
        QString text = field_.toPlainText();
        return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    void setText(const QString& text) override {
        const QSignalBlocker quiet(&field_);
        field_.setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        field_.moveCursor(QTextCursor::End);
    }
    int selectionStart() const override { return toRuntime(field_.textCursor().selectionStart()); }
    int selectionLength() const override {
        const QTextCursor cursor = field_.textCursor();
        return toRuntime(cursor.selectionEnd()) - toRuntime(cursor.selectionStart());
    }
    void setCaret(int position) override {
        QTextCursor cursor = field_.textCursor();
        cursor.setPosition(toField(position));
        field_.setTextCursor(cursor);
    }
    void setReadOnly(bool on) override { field_.setReadOnly(on); }

private:
    int toRuntime(int fieldPosition) const {
        return fieldPosition + static_cast<int>(field_.toPlainText().left(fieldPosition).count(QLatin1Char('\n')));
    }
    int toField(int runtimePosition) const {
        const QString runtimeText = text().left(runtimePosition);
        return runtimePosition - static_cast<int>(runtimeText.count(QLatin1String("\r\n")));
    }
    QPlainTextEdit& field_;
};

size_t bytesBefore(const QString& text, int position) {
    return static_cast<size_t>(text.left(position).toUtf8().size());
}

int positionAfterBytes(const std::string& text, size_t bytes) {
    return static_cast<int>(QString::fromStdString(text.substr(0, std::min(bytes, text.size()))).size());
}

bool typesCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (!c.isPrint()) return false;
    return true;
}

}  // namespace

std::unique_ptr<TextSurface> lineSurface(QLineEdit& field) { return std::make_unique<LineSurface>(field); }
std::unique_ptr<TextSurface> multiLineSurface(QPlainTextEdit& field) {
    return std::make_unique<MultiLineSurface>(field);
}

void showText(TextSurface& surface, const forms::TextControl& control) {
    const QString text = QString::fromStdString(control.text());
    if (surface.text() != text) surface.setText(text);
}

bool isTypingKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete)
        return (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    return typesCharacter(event);
}

void typeKey(TextSurface& surface, forms::TextControl& control, const QKeyEvent& event) {
    const bool backspace = event.key() == Qt::Key_Backspace;
    const bool del = event.key() == Qt::Key_Delete;

    const QString shown = surface.text();
    const forms::TextSelection at{bytesBefore(shown, surface.selectionStart()),
                           bytesBefore(shown, surface.selectionStart() + surface.selectionLength()) -
                               bytesBefore(shown, surface.selectionStart())};
    size_t caret;
    if (backspace) {
        caret = pressBackspace(control, at);
    } else if (del) {
        caret = pressDelete(control, at);
    } else {
        caret = typeCharacter(control, event.text().toStdString(), at);
    }
    // A key that changed nothing leaves the caret and the selection as they were.
    if (control.text() == shown.toStdString()) return;
    showText(surface, control);
    surface.setCaret(positionAfterBytes(control.text(), caret));
}

}  // namespace forms_qt
