// The scan dialogs driven as a user drives them: clicks and keys.
#include "platform/forms_qt/scan_dialogs_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/win/pending_messages.h"

namespace forms_qt {
namespace {

QPushButton* buttonNamed(QWidget* dialog, const QString& text) {
    for (auto* button : dialog->findChildren<QPushButton*>())
        if (button->text().remove('&') == text) return button;
    return nullptr;
}

// Runs `user` on the modal dialog once it is shown.
void whenShown(std::function<void(QWidget*)> user) {
    QTimer::singleShot(0, [user] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        user(dialog);
    });
}

class ScanDialogsQtTest : public ::testing::Test {
protected:
    ScanDialogsQtTest() { testing::qtApp(); }
    ScopedQtScanDialogs dialogs;
};

TEST_F(ScanDialogsQtTest, SourceListPicksTheClickedDevice) {
    whenShown([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select Source");
        auto* list = dialog->findChild<QListWidget*>("sources");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->currentRow(), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QTest::mouseClick(buttonNamed(dialog, "Select"), Qt::LeftButton);
    });
    size_t chosen = 9;
    EXPECT_EQ(win::ChooseScanSource({0, {"test:0 (Noname)", "test:1 (Noname)"}, 0}, chosen), win::DialogAnswer::Accepted);
    EXPECT_EQ(chosen, 1u);
}

TEST_F(ScanDialogsQtTest, SourceListCancelChoosesNothing) {
    whenShown([](QWidget* dialog) { QTest::mouseClick(buttonNamed(dialog, "Cancel"), Qt::LeftButton); });
    size_t chosen = 9;
    EXPECT_EQ(win::ChooseScanSource({0, {"a", "b"}, 1}, chosen), win::DialogAnswer::Cancelled);
    EXPECT_EQ(chosen, 9u);
}

TEST_F(ScanDialogsQtTest, SetupDialogAppliesWhatTheUserChangedOnOk) {
    win::ScanSetupRequest request;
    request.sourceName = "test:0";
    win::ScanSetting resolution;
    resolution.name = "resolution";
    resolution.title = "Resolution";
    resolution.unit = "dpi";
    resolution.minimum = 1;
    resolution.maximum = 1200;
    resolution.value = 50;
    win::ScanSetting mode;
    mode.name = "mode";
    mode.kind = win::ScanSetting::Kind::TextChoice;
    mode.choices = {"Gray", "Color"};
    mode.text = "Gray";
    win::ScanSetting depth;
    depth.name = "depth";
    depth.kind = win::ScanSetting::Kind::NumberChoice;
    depth.numbers = {1, 8, 16};
    depth.value = 8;
    win::ScanSetting preview;
    preview.name = "preview";
    preview.kind = win::ScanSetting::Kind::Toggle;
    request.settings = {resolution, mode, depth, preview};

    whenShown([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "test:0");
        auto* spin = dialog->findChild<QDoubleSpinBox*>("resolution");
        ASSERT_NE(spin, nullptr);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, "300");
        auto* modeBox = dialog->findChild<QComboBox*>("mode");
        modeBox->setFocus();
        QTest::keyClick(modeBox, Qt::Key_Down);
        auto* depthBox = dialog->findChild<QComboBox*>("depth");
        depthBox->setFocus();
        QTest::keyClick(depthBox, Qt::Key_Down);
        auto* box = dialog->findChild<QCheckBox*>("preview");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QTest::mouseClick(buttonNamed(dialog, "OK"), Qt::LeftButton);
    });
    ASSERT_EQ(win::EditScanSetup(request), win::DialogAnswer::Accepted);
    EXPECT_EQ(request.settings[0].value, 300);
    EXPECT_EQ(request.settings[1].text, "Color");
    EXPECT_EQ(request.settings[2].value, 16);
    EXPECT_EQ(request.settings[3].value, 1);
}

TEST_F(ScanDialogsQtTest, SetupDialogCancelKeepsTheValues) {
    win::ScanSetupRequest request;
    win::ScanSetting resolution;
    resolution.name = "resolution";
    resolution.maximum = 1200;
    resolution.value = 50;
    request.settings = {resolution};
    whenShown([](QWidget* dialog) {
        auto* spin = dialog->findChild<QDoubleSpinBox*>("resolution");
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Up);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(win::EditScanSetup(request), win::DialogAnswer::Cancelled);
    EXPECT_EQ(request.settings[0].value, 50);
}

TEST_F(ScanDialogsQtTest, ProgressWindowCancelStopsTheScan) {
    EXPECT_TRUE(win::ShowScanProgress({"test:0", 1, 1 << 20, 4 << 20}));
    auto* window = [] {
        for (auto* w : QApplication::topLevelWidgets())
            if (w->objectName() == "scanProgress" && w->isVisible()) return w;
        return static_cast<QWidget*>(nullptr);
    }();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(buttonNamed(window, "Cancel"), Qt::LeftButton);
    win::RunPendingMessages();
    EXPECT_FALSE(win::ShowScanProgress({"test:0", 1, 2 << 20, 4 << 20}));
    win::CloseScanProgress();
    testing::settle();
    for (auto* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->objectName() == "scanProgress" && w->isVisible());
    // The next scan starts with a fresh window.
    EXPECT_TRUE(win::ShowScanProgress({"test:0", 1, 0, 0}));
    win::CloseScanProgress();
}

// A scan runs from a modal window: the progress window is that window's own
// (above it, not blocked by it), and closing it by its title bar cancels the
// scan as its button does; it stays, saying so, until the engine closes it.
TEST_F(ScanDialogsQtTest, ProgressWindowBelongsToTheScanWindowAndItsCloseCancels) {
    QWidget scanWindow;
    scanWindow.setWindowModality(Qt::ApplicationModal);
    scanWindow.show();
    testing::settle();
    EXPECT_TRUE(win::ShowScanProgress({"test:0", 1, 1 << 20, 4 << 20}));
    QWidget* window = scanWindow.findChild<QWidget*>("scanProgress");
    ASSERT_NE(window, nullptr) << "the progress window belongs to the scan window";
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    window->close();
    testing::settle();
    EXPECT_FALSE(win::ShowScanProgress({"test:0", 1, 2 << 20, 4 << 20}));
    EXPECT_EQ(scanWindow.findChild<QWidget*>("scanProgress"), window);
    EXPECT_TRUE(window->isVisible());
    win::CloseScanProgress();
    testing::settle();
    EXPECT_EQ(scanWindow.findChild<QWidget*>("scanProgress"), nullptr);
}

TEST_F(ScanDialogsQtTest, PendingMessagesRunQueuedWork) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    win::RunPendingMessages();
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace forms_qt
