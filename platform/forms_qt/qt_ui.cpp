#include "platform/forms_qt/qt_ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/forms/error.h"
#include "platform/forms_qt/desktop_opener.h"
#include "platform/forms_qt/cursor_file.h"
#include "platform/forms_qt/mouse_pointers.h"
#include "platform/forms_qt/twips.h"
#include "platform/jet/file_name.h"

namespace forms_qt {

namespace {

constexpr int kShellOpened = 42;
constexpr int kShellFileNotFound = 2;
constexpr int kShellNoAssociation = 31;

// A message box that cannot be escaped or closed unless it has a Cancel button
// or a single button: the caller needs one of the answers it offered.
class MessageBox : public QMessageBox {
public:
    MessageBox(Icon icon, const QString& title, const QString& text, bool escapable, QWidget* parent)
        : QMessageBox(icon, title, text, NoButton, parent), escapable_(escapable) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && !escapable_) return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (!escapable_) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool escapable_;
};

struct ButtonChoice {
    QMessageBox::StandardButton button;
    forms::MsgResult result;
};

std::vector<ButtonChoice> buttonsOf(forms::MsgButtons buttons) {
    using B = QMessageBox;
    using R = forms::MsgResult;
    switch (buttons) {
        case forms::MsgButtons::OkOnly: return {{B::Ok, R::Ok}};
        case forms::MsgButtons::OkCancel: return {{B::Ok, R::Ok}, {B::Cancel, R::Cancel}};
        case forms::MsgButtons::AbortRetryIgnore: return {{B::Abort, R::Abort}, {B::Retry, R::Retry}, {B::Ignore, R::Ignore}};
        case forms::MsgButtons::YesNoCancel: return {{B::Yes, R::Yes}, {B::No, R::No}, {B::Cancel, R::Cancel}};
        case forms::MsgButtons::YesNo: return {{B::Yes, R::Yes}, {B::No, R::No}};
        case forms::MsgButtons::RetryCancel: return {{B::Retry, R::Retry}, {B::Cancel, R::Cancel}};
    }
    return {{B::Ok, R::Ok}};
}

QMessageBox::Icon iconOf(forms::MsgIcon icon) {
    switch (icon) {
        case forms::MsgIcon::Critical: return QMessageBox::Critical;
        case forms::MsgIcon::Question: return QMessageBox::Question;
        case forms::MsgIcon::Exclamation: return QMessageBox::Warning;
        case forms::MsgIcon::Information: return QMessageBox::Information;
        case forms::MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QtUi::QtUi(std::string programTitle) : programTitle_(std::move(programTitle)) {}

QtUi::~QtUi() {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

std::string QtUi::titleOr(std::string_view title) const { return title.empty() ? programTitle_ : std::string(title); }

forms::MsgResult QtUi::msgBox(std::string_view message, forms::MsgButtons buttons, forms::MsgIcon icon,
                              std::string_view title) {
    const auto choices = buttonsOf(buttons);
    const bool hasCancel = std::any_of(choices.begin(), choices.end(),
                                       [](const ButtonChoice& c) { return c.result == forms::MsgResult::Cancel; });
    MessageBox box(iconOf(icon), text(titleOr(title)), text(message), hasCancel || choices.size() == 1,
                   QApplication::activeWindow());
    for (const ButtonChoice& choice : choices) box.addButton(choice.button);
    box.setDefaultButton(choices.front().button);
    if (hasCancel) box.setEscapeButton(QMessageBox::Cancel);
    else if (choices.size() == 1) box.setEscapeButton(choices.front().button);
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const ButtonChoice& choice : choices)
        if (choice.button == clicked) return choice.result;
    return choices.front().result;
}

std::string QtUi::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(text(titleOr(title)));
    dialog.setLabelText(text(prompt));
    dialog.setTextValue(text(defaultText));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

void QtUi::beep() { QApplication::beep(); }

void QtUi::setMousePointer(int pointer) {
    pointer_ = pointer;
    showPointer();
}

void QtUi::showPointer() {
    if (pointer_ == forms::vbDefault) {
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
        return;
    }
    const QCursor cursor = pointer_ == forms::vbCustom && custom_ ? *custom_ : QCursor(pointerShape(pointer_));
    if (QGuiApplication::overrideCursor()) QGuiApplication::changeOverrideCursor(cursor);
    else QGuiApplication::setOverrideCursor(cursor);
}

void QtUi::setMouseIcon(const std::string& cursorFile) {
    const auto file = jet::findIgnoringCase(cursorFile);
    if (!file) throw forms::errors::fileNotFound();
    custom_ = loadCursorFile(QString::fromStdString(file->string()));
    if (pointer_ == forms::vbCustom) showPointer();
}

int QtUi::shellOpen(const std::string& path, std::string_view verb) {
    std::string lowered(verb);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](unsigned char c) { return std::tolower(c); });
    if (!lowered.empty() && lowered != "open") return kShellNoAssociation;
    const auto file = jet::findIgnoringCase(path);
    if (!file) return kShellFileNotFound;
    return OpenWithDesktopProgram(file->string()) ? kShellOpened : kShellNoAssociation;
}

bool QtUi::shellRun(const std::string& commandLine) {
    QStringList parts = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (parts.isEmpty()) return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

forms::ScreenInfo QtUi::screen() const {
    forms::ScreenInfo info;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        info.widthTwips = toTwips(primary->size().width());
        info.heightTwips = toTwips(primary->size().height());
    }
    info.twipsPerPixelX = kTwipsPerPixel;
    info.twipsPerPixelY = kTwipsPerPixel;
    return info;
}

void QtUi::endProgram() {
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QCoreApplication::exit(0);
    throw forms::ProgramEnded{};
}

}  // namespace forms_qt
