// The Ui service over Qt: message boxes, input boxes, the shell, the screen,
// the mouse pointer and the end of the program.
#include "platform/forms_qt/qt_ui.h"

#include <gmock/gmock.h>

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/forms_qt/user_action.h"
#include "platform/jet/test_support.h"

namespace forms_qt {
namespace {

// Stands in for the desktop: an opener first on PATH that notes the file it
// is given and answers with the exit code given (xdg-open's 3 when the
// desktop has no program for the type).
class DesktopOpener {
public:
    explicit DesktopOpener(int exitCode) : path_(qgetenv("PATH")) {
        const auto script = folder_.path() / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << log().string() << "'\n"
                              << (exitCode ? "echo 'xdg-open: no method available for opening' >&2\n" : "")
                              << "exit " << exitCode << "\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString(folder_.path().string()) + ":" + path_);
    }
    ~DesktopOpener() { qputenv("PATH", path_); }
    // The files the opener was given, one a line.
    std::string opened() const {
        std::ifstream in(log());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path log() const { return folder_.path() / "opened.txt"; }
    jet::testing::TestFolder folder_;
    QByteArray path_;
};

class QtUiTest : public ::testing::Test, private testing::QtApplicationUser {
protected:
    ~QtUiTest() override {
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    }
    QtUi ui{"Ostrelle"};
};

// What a message box showed, and the button the user then pressed (by its text).
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<std::string> buttons;
    std::string defaultButton;
};

// Presses `press` in the next message box, after noting what it shows.
void answerNextBox(ShownBox& shown, const QString& press) {
    QTimer::singleShot(0, [&shown, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) shown.buttons.push_back(b->text().remove('&').toStdString());
        if (box->defaultButton()) shown.defaultButton = box->defaultButton()->text().remove('&').toStdString();
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove('&') == press) b->click();
    });
}

struct BoxCase {
    forms::MsgButtons buttons;
    std::vector<std::string> texts;
    QString press;
    forms::MsgResult result;
};

class MessageBoxes : public QtUiTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxes, ShowTheButtonsAskedForAndAnswerTheOnePressed) {
    const BoxCase& c = GetParam();
    ShownBox shown;
    answerNextBox(shown, c.press);
    EXPECT_EQ(ui.msgBox("Are you sure?", c.buttons, forms::MsgIcon::Question), c.result);
    EXPECT_THAT(shown.buttons, ::testing::UnorderedElementsAreArray(c.texts));
    EXPECT_EQ(shown.defaultButton, c.texts.front());
    EXPECT_EQ(shown.title, "Ostrelle");
    EXPECT_EQ(shown.icon, QMessageBox::Question);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MessageBoxes,
    ::testing::Values(BoxCase{forms::MsgButtons::OkOnly, {"OK"}, "OK", forms::MsgResult::Ok},
                      BoxCase{forms::MsgButtons::OkCancel, {"OK", "Cancel"}, "Cancel", forms::MsgResult::Cancel},
                      BoxCase{forms::MsgButtons::YesNo, {"Yes", "No"}, "No", forms::MsgResult::No},
                      BoxCase{forms::MsgButtons::YesNoCancel, {"Yes", "No", "Cancel"}, "Yes", forms::MsgResult::Yes},
                      BoxCase{forms::MsgButtons::RetryCancel, {"Retry", "Cancel"}, "Retry", forms::MsgResult::Retry},
                      BoxCase{forms::MsgButtons::AbortRetryIgnore,
                              {"Abort", "Retry", "Ignore"},
                              "Ignore",
                              forms::MsgResult::Ignore}));

TEST_F(QtUiTest, AMessageBoxWithItsOwnTitleAndIcon) {
    ShownBox shown;
    answerNextBox(shown, "OK");
    ui.msgBox("Failed to open 'x'", forms::MsgButtons::OkOnly, forms::MsgIcon::Information, "Documents");
    EXPECT_EQ(shown.title, "Documents");
    EXPECT_EQ(shown.text, "Failed to open 'x'");
    EXPECT_EQ(shown.icon, QMessageBox::Information);
}

TEST_F(QtUiTest, AYesNoBoxCannotBeEscaped) {
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        stillOpen = box->isVisible();
        for (QAbstractButton* b : qobject_cast<QMessageBox*>(box)->buttons())
            if (b->text().remove('&') == "Yes") b->click();
    });
    EXPECT_EQ(ui.msgBox("Exit?", forms::MsgButtons::YesNo), forms::MsgResult::Yes);
    EXPECT_TRUE(stillOpen);
}

TEST_F(QtUiTest, AnInputBoxAnswersTheTextOrNothingOnCancel) {
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        EXPECT_EQ(dialog->textValue(), "0");
        dialog->setTextValue("12");
        dialog->accept();
    });
    EXPECT_EQ(ui.inputBox("Days?", {}, "0"), "12");
    EXPECT_EQ(title, "Ostrelle");
    QTimer::singleShot(0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->reject(); });
    EXPECT_EQ(ui.inputBox("Days?", "Reminder", "5"), "");
}

TEST_F(QtUiTest, OpeningAFileGivesTheShellsNumbers) {
    jet::testing::TestFolder folder;
    const auto pdf = folder.path() / "Pettycash.pdf";
    std::ofstream(pdf) << "%PDF-1.4\n";
    DesktopOpener desktop(0);
    EXPECT_GT(ui.shellOpen((folder.path() / "PETTYCASH.PDF").string()), 32);  // found whatever its letter case
    EXPECT_EQ(desktop.opened(), pdf.string() + "\n");
    EXPECT_EQ(ui.shellOpen((folder.path() / "missing.pdf").string()), 2);
    EXPECT_EQ(ui.shellOpen(pdf.string(), "print"), 31);
    EXPECT_EQ(desktop.opened(), pdf.string() + "\n");
}

// A desktop without a program for the type: the opener's failure is the
// shell's "no association", not a success.
TEST_F(QtUiTest, AFileNoDesktopProgramOpensIsNoAssociation) {
    jet::testing::TestFolder folder;
    const auto pdf = folder.path() / "bill.pdf";
    std::ofstream(pdf) << "%PDF-1.4\n";
    DesktopOpener desktop(3);
    EXPECT_EQ(ui.shellOpen(pdf.string()), 31);
    EXPECT_EQ(desktop.opened(), pdf.string() + "\n");
}

TEST_F(QtUiTest, TheScreenIsMeasuredInTwips) {
    const forms::ScreenInfo screen = ui.screen();
    const QSize pixels = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(screen.widthTwips, pixels.width() * 15);
    EXPECT_EQ(screen.heightTwips, pixels.height() * 15);
    EXPECT_EQ(screen.twipsPerPixelX, 15);
}

TEST_F(QtUiTest, TheMousePointerIsTheApplicationsOverrideCursor) {
    ui.setMousePointer(forms::vbHourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.setMousePointer(forms::vbArrow);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    ui.setMousePointer(forms::vbCustom);  // no cursor file loaded: the arrow
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
    ui.setMousePointer(forms::vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtUiTest, TheCustomPointerIsTheCursorFileWhenItCanBeReadElseTheArrow) {
    jet::testing::TestFolder folder;
    QFile file(QString::fromStdString((folder.path() / "h_point.cur").string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testing::cursorFileBytes(6, 2));
    file.close();
    ui.setMousePointer(forms::vbCustom);
    ui.setMouseIcon((folder.path() / "H_POINT.CUR").string());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(6, 2));

    std::ofstream(folder.path() / "broken.cur") << "no cursor";
    ui.setMouseIcon((folder.path() / "broken.cur").string());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
}

TEST_F(QtUiTest, AMissingCursorFileIsError53) {
    try {
        ui.setMouseIcon("/nonexistent/h_point.cur");
        FAIL() << "no error";
    } catch (const forms::Error& e) {
        EXPECT_EQ(e.number(), 53);
    }
}

TEST_F(QtUiTest, EndingTheProgramQuitsEveryEventLoop) {
    bool afterEnd = false;
    QTimer::singleShot(0, [&] {
        QEventLoop nested;  // a modal form's loop
        QTimer::singleShot(0, [&] {
            act([&] {
                ui.endProgram();
                afterEnd = true;
            });
        });
        nested.exec();
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(afterEnd);
}

}  // namespace
}  // namespace forms_qt

