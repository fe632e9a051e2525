#include "platform/forms_qt/views/activex_view.h"

#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>

#include "platform/forms/testing/fake_face.h"
#include "platform/forms_qt/host_window.h"
#include "platform/forms_qt/qt_test_support.h"
#include "platform/forms_qt/qt_timers.h"
#include "platform/win/gdi_bitmap.h"

namespace forms_qt {
namespace {

using forms::testing::FakeFace;
using testing::settle;
using Journal = std::vector<std::string>;

class ViewerForm : public forms::Form {
public:
    ViewerForm() : Form("frmviewer") {
        move(0, 0, 6000, 4500);
        note.move(120, 120, 1500, 300);
        viewer.move(120, 600, 3000, 1500);  // 200 x 100 pixels
    }
    forms::TextBox note{*this, "txtNote"};
    forms::ActiveXControl viewer{*this, "MvViewer1"};
};

// The parts of a widget painted, as its paint events asked.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class ActiveXViewTest : public testing::QtHostTest {
protected:
    void SetUp() override {
        face = new FakeFace(&freed);
        form.viewer.attach(face->unknown());
        face->Release();
        form.show();
        settle();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.windowOf(form)));
        widget = host.widgetOf(form.viewer);
        ASSERT_NE(widget, nullptr);
        face->take();
    }
    void TearDown() override {
        form.unload();
        QtHostTest::TearDown();
    }
    // The colour at (x, y) of what the widget shows, as 0xAARRGGBB.
    uint32_t shown(int x, int y) const { return widget->grab().toImage().pixel(x, y); }
    // The journal's entries of one kind ("Mouse", "Key", ...).
    Journal entries(const std::string& prefix) {
        Journal found;
        for (const std::string& e : face->take())
            if (e.rfind(prefix, 0) == 0) found.push_back(e);
        return found;
    }

    bool freed = false;
    FakeFace* face = nullptr;
    ViewerForm form;
    QWidget* widget = nullptr;
};

TEST_F(ActiveXViewTest, TheWidgetShowsTheBackBufferAtTheControlsPlace) {
    EXPECT_EQ(widget->geometry(), QRect(8, 40, 200, 100));
    EXPECT_EQ(shown(0, 0), FakeFace::kBackground);
    EXPECT_EQ(shown(199, 99), FakeFace::kBackground);
    face->paint({150, 60, 160, 70}, 0xFF00FF00);
    settle();
    EXPECT_EQ(shown(155, 65), 0xFF00FF00u);
    EXPECT_EQ(shown(149, 65), FakeFace::kBackground);

    // A larger control: the object draws a larger face, and the widget shows all of it.
    form.viewer.move(120, 600, 4500, 2250);
    settle();
    EXPECT_EQ(face->take(), (Journal{"Resize 300x150"}));
    EXPECT_EQ(widget->size(), QSize(300, 150));
    EXPECT_EQ(shown(299, 149), FakeFace::kBackground);
}

TEST_F(ActiveXViewTest, WhatIsDrawnIntoTheControlsWindowShowsOverTheFaceAndLetsTheMouseThrough) {
    const uint32_t window = WindowHandleOf(*widget);
    const win::HDC dc = win::GetDC(window);
    const auto bitmap = win::FindBitmap(win::SelectedBitmap(dc));
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->width, 200);
    for (int y = 10; y < 20; ++y) reinterpret_cast<uint32_t*>(bitmap->row(y))[120] = 0xFF00FF00;
    ASSERT_EQ(win::ReleaseDC(window, dc), 1);
    settle();
    EXPECT_EQ(shown(120, 15), 0xFF00FF00u);
    EXPECT_EQ(shown(121, 15), FakeFace::kBackground);

    // A click where the drawing lies reaches the object beneath, as the desktop delivers it.
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, widget->mapTo(top, QPoint(120, 15)));
    settle();
    EXPECT_EQ(entries("MouseDown"), (Journal{"MouseDown 1 0 120,15"}));
}

TEST_F(ActiveXViewTest, OnlyWhatTheObjectInvalidatesIsPaintedAgain) {
    settle();
    PaintWatch watch(widget);
    face->paint({30, 40, 50, 45}, 0xFF00FF00);
    face->paint({100, 10, 104, 90}, 0xFF00FF00);
    settle();
    EXPECT_EQ(watch.painted, QRegion(30, 40, 20, 5) + QRegion(100, 10, 4, 80));
    // Nothing invalidated: nothing painted.
    watch.painted = {};
    settle();
    EXPECT_TRUE(watch.painted.isEmpty());
}

TEST_F(ActiveXViewTest, MouseAndWheelReachTheObjectAndAPressTakesTheFocus) {
    ASSERT_TRUE(form.note.hasFocus());
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
    settle();
    EXPECT_TRUE(form.viewer.hasFocus());
    EXPECT_TRUE(widget->hasFocus());
    EXPECT_EQ(entries("Mouse"), (Journal{"MouseDown 1 0 20,30", "MouseUp 1 0 20,30"}));
    // The press painted a mark, and the screen shows it.
    EXPECT_EQ(shown(22, 32), FakeFace::kMark);

    QTest::mousePress(widget, Qt::RightButton, Qt::ShiftModifier, QPoint(60, 70));
    QTest::mouseMove(widget, QPoint(65, 72));
    QTest::mouseRelease(widget, Qt::RightButton, Qt::ShiftModifier, QPoint(66, 73));
    testing::doubleClick(widget, QPoint(5, 6));
    QWheelEvent wheel(QPointF(40, 50), widget->mapToGlobal(QPointF(40, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    settle();
    const Journal got = entries("Mouse");
    const Journal want{"MouseDown 2 1 60,70", "MouseUp 2 1 66,73", "MouseDown 1 0 5,6", "MouseUp 1 0 5,6",
                       "MouseDown 1 0 5,6", "MouseUp 1 0 5,6", "MouseWheel -120 2 40,50"};
    Journal withoutMoves;
    std::copy_if(got.begin(), got.end(), std::back_inserter(withoutMoves),
                 [](const std::string& e) { return e.rfind("MouseMove", 0) != 0; });
    EXPECT_EQ(withoutMoves, want);
    // A move with the button held carries it.
    EXPECT_TRUE(std::any_of(got.begin(), got.end(), [](const std::string& e) {
        return e.rfind("MouseMove 2 ", 0) == 0 && e.find(" 65,72") != std::string::npos;
    })) << ::testing::PrintToString(got);
}

TEST_F(ActiveXViewTest, ADoubleClickReachesTheObjectAsItsSecondPress) {
    testing::doubleClick(widget, QPoint(5, 6));
    settle();
    Journal got;
    for (const std::string& e : entries("")) {
        if (e.rfind("MouseMove", 0) != 0) got.push_back(e);
    }
    EXPECT_EQ(got, (Journal{"FocusIn", "MouseDown 1 0 5,6", "MouseUp 1 0 5,6", "MouseDown 1 0 5,6",
                            "DoubleClick 1 0 5,6", "MouseUp 1 0 5,6"}));
}

TEST_F(ActiveXViewTest, KeysAndFocusReachTheObject) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    settle();
    face->take();
    QTest::keyClick(widget, Qt::Key_A);
    QTest::keyClick(widget, Qt::Key_Left, Qt::ShiftModifier);
    settle();
    // The shift key itself is a key too.
    EXPECT_EQ(entries("Key"), (Journal{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0", "KeyDown 16 1", "KeyDown 37 1",
                                       "KeyUp 37 1", "KeyUp 16 0"}));
    QTest::keyPress(widget, Qt::Key_Tab);
    settle();
    EXPECT_TRUE(form.note.hasFocus());
    EXPECT_EQ(face->take(), (Journal{"FocusOut"}));  // Tab moved the focus and was not the object's
}

TEST_F(ActiveXViewTest, TimersRunOnQtTimers) {
    ScopedQtTimers timers;
    ASSERT_EQ(face->site()->SetTimer(3, 5), com::S_OK);
    EXPECT_TRUE(QTest::qWaitFor([&] { return entries("TimerFired").size() >= 1; }, 2000));
    ASSERT_EQ(face->site()->KillTimer(3), com::S_OK);
    settle();
    face->take();
    QTest::qWait(30);
    EXPECT_EQ(entries("TimerFired"), Journal{});
    EXPECT_EQ(timers.running(), 0u);
}

TEST_F(ActiveXViewTest, DroppedLocalFilesReachAnObjectThatTakesThem) {
    EXPECT_FALSE(widget->acceptDrops());
    ASSERT_EQ(face->site()->AcceptFiles(1), com::S_OK);
    EXPECT_TRUE(widget->acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/bill one.png")});
    QDragEnterEvent enter(QPoint(10, 12), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 12), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    settle();
    EXPECT_EQ(entries("Files"), (Journal{"FilesDropped /tmp/bill one.png @10,12"}));

    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/bill.png")});
    QDragEnterEvent refused(QPoint(10, 12), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(widget, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(ActiveXViewTest, ThePointerIsTheOneTheObjectAsksFor) {
    ASSERT_EQ(face->site()->SetCursor(2, nullptr), com::S_OK);
    EXPECT_EQ(widget->cursor().shape(), Qt::CrossCursor);
    const uint32_t pixels[4] = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
    const com::ControlCursorImage hand{pixels, 2, 2, 1, 0};
    ASSERT_EQ(face->site()->SetCursor(com::kControlCursorCustom, &hand), com::S_OK);
    EXPECT_EQ(widget->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(widget->cursor().hotSpot(), QPoint(1, 0));
}

TEST_F(ActiveXViewTest, TheObjectsContextMenuOpensAndAnswersTheChoice) {
    const com::ControlMenuItem items[] = {
        {u"&Zoom", 0, -1, 0},
        {u"Fit", 11, 0, com::kControlMenuChecked},
        {u"", 0, -1, com::kControlMenuSeparator},
        {u"Hidden", 15, -1, com::kControlMenuHidden},
        {u"&Close", 20, -1, 0},
    };
    QStringList seen;
    bool fitChecked = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            seen << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->menu())
                for (QAction* inner : action->menu()->actions()) fitChecked = inner->text() == "Fit" && inner->isChecked();
        }
        menu->setActiveAction(menu->actions().back());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    int32_t chosen = 0;
    ASSERT_EQ(face->site()->ShowPopupMenu(items, 5, 10, 10, &chosen), com::S_OK);
    EXPECT_EQ(chosen, 20);
    EXPECT_EQ(seen, (QStringList{"&Zoom", "-", "&Close"}));
    EXPECT_TRUE(fitChecked);

    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    });
    ASSERT_EQ(face->site()->ShowPopupMenu(items, 5, 10, 10, &chosen), com::S_OK);
    EXPECT_EQ(chosen, 0);  // dismissed
}

TEST_F(ActiveXViewTest, AMenuAskedForAfterTheFormClosedIsDismissed) {
    form.unload();
    settle();
    ASSERT_EQ(host.widgetOf(form.viewer), nullptr);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            opened = true;
            menu->close();
        }
    });
    const com::ControlMenuItem items[] = {{u"&Close", 20, -1, 0}};
    int32_t chosen = -1;
    ASSERT_EQ(face->site()->ShowPopupMenu(items, 1, 1, 1, &chosen), com::S_OK);
    EXPECT_EQ(chosen, 0);
    EXPECT_FALSE(opened);
}

TEST_F(ActiveXViewTest, TheSiteHandsTheWindowBehindTheFaceWithoutTheFaceItself) {
    std::vector<uint32_t> pixels(200 * 100, 0);
    const com::ControlBackBuffer buffer{pixels.data(), 200, 100, 200 * 4};
    ASSERT_EQ(face->site()->GetBackdrop(&buffer), com::S_OK);
    QWidget* parent = widget->parentWidget();
    ASSERT_NE(parent, nullptr);
    const uint32_t behind = parent->palette().color(parent->backgroundRole()).rgba();
    ASSERT_EQ(shown(100, 50), FakeFace::kBackground);
    EXPECT_NE(behind, FakeFace::kBackground);
    EXPECT_EQ(pixels[50 * 200 + 100], behind);
    EXPECT_EQ(pixels[0], behind);
    EXPECT_EQ(pixels.back(), behind);
    form.unload();
    settle();
    EXPECT_NE(face->site()->GetBackdrop(&buffer), com::S_OK) << "no window, nothing behind";
}

TEST_F(ActiveXViewTest, TheObjectMayHoldTheMouse) {
    ASSERT_EQ(face->site()->SetCapture(1), com::S_OK);
    EXPECT_EQ(QWidget::mouseGrabber(), widget);
    ASSERT_EQ(face->site()->SetCapture(0), com::S_OK);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ActiveXViewTest, AFormWithAFacelessObjectShowsNothingForIt) {
    form.viewer.release();
    settle();
    EXPECT_TRUE(freed);
    EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(widget->testAttribute(Qt::WA_TransparentForMouseEvents));
    // The form shows through where the face was.
    const QImage window = host.windowOf(form)->grab().toImage();
    const QPoint inside = widget->mapTo(host.windowOf(form), QPoint(10, 10));
    const QPoint beside = widget->mapTo(host.windowOf(form), QPoint(-4, 10));
    EXPECT_EQ(window.pixel(inside), window.pixel(beside));
    EXPECT_NE(window.pixel(inside), FakeFace::kBackground);
}

}  // namespace
}  // namespace forms_qt
