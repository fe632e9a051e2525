// The windows of the forms: top-level and modal windows, the MDI frame with
// its children and menus, the close box, and the event loop's end.
#include "platform/forms_qt/qt_host.h"

#include <gmock/gmock.h>

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/forms_qt/qt_ui.h"

namespace forms_qt {
namespace {

using ::testing::ElementsAre;
using testing::EventLog;
using testing::settle;

class Dialog : public forms::Form {
public:
    explicit Dialog(std::string name = "frmdialog") : Form(std::move(name)) {
        move(0, 0, 4500, 2000);
        entry.move(120, 120, 2000, 300);
        ok.move(2400, 120, 1200, 375);
        ok.setCaption("OK");
        ok.setDefault(true);
    }
    forms::TextBox entry{*this, "Text1"};
    forms::CommandButton ok{*this, "cmdOK"};
};

class Frame : public forms::MdiForm {
public:
    Frame() : MdiForm("Pettycashmain") {
        move(0, 0, 12000, 9000);
        setCaption("Ostrelle");
        banner.move(0, 0, 12000, 900);
        strip.move(0, 900, 1800, 8000);
        command.setContainer(strip);
        command.move(60, 60, 1680, 450);
        command.setCaption("Pettycash register ");
        file.setCaption("&File");
        changeLog.setContainer(file);
        changeLog.setCaption("Change log");
        line.setContainer(file);
        line.setCaption("-");
        exit.setContainer(file);
        exit.setCaption("E&xit");
        about.setCaption("About");
        aboutItem.setContainer(about);
        aboutItem.setCaption("About Ostrelle");
    }
    forms::PictureBox banner{*this, "Picture1"};
    forms::PictureBox strip{*this, "Picture2"};
    forms::CommandButton command{*this, "MyButton1", 3};
    forms::MenuItem file{*this, "mnuFile"};
    forms::MenuItem changeLog{*this, "mnuChangeLog"};
    forms::MenuItem line{*this, "mnuLine1"};
    forms::MenuItem exit{*this, "mnuExit"};
    forms::MenuItem about{*this, "mnuAboutMenu"};
    forms::MenuItem aboutItem{*this, "mnuAbout"};
};

class Child : public forms::Form {
public:
    Child(Frame& frame, std::string name) : Form(std::move(name)) {
        setMdiParent(frame);
        move(0, 0, 6000, 3000);
        box.move(120, 120, 2000, 300);
    }
    forms::TextBox box{*this, "Text1"};
};

// Texts of a menu's actions, separators as "-".
std::vector<std::string> actionTexts(const QList<QAction*>& actions) {
    std::vector<std::string> texts;
    for (QAction* a : actions) texts.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return texts;
}

class QtHostTest : public testing::QtHostTest {};

TEST_F(QtHostTest, AFormGetsAWindowWhileItIsShown) {
    Dialog form;
    form.setCaption("select date");
    form.show();
    settle();
    QWidget* window = host.windowOf(form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "select date");
    EXPECT_EQ(window->size(), QSize(300, 133));
    form.setCaption("another");
    EXPECT_EQ(window->windowTitle(), "another");

    form.hide();
    settle();
    EXPECT_EQ(host.windowOf(form), nullptr);
    form.show();
    settle();
    ASSERT_NE(host.windowOf(form), nullptr);
    form.unload();
    settle();
    EXPECT_EQ(host.windowOf(form), nullptr);
}

TEST_F(QtHostTest, AFormDestroyedWhileShownTakesItsWindowWithIt) {
    Frame frame;
    QPointer<QWidget> dialogWindow;
    QPointer<QWidget> childWindow;
    {
        Dialog dialog;
        dialog.show();
        Child child(frame, "frmpettycash");
        child.show();
        settle();
        dialogWindow = host.windowOf(dialog);
        childWindow = host.windowOf(child);
        ASSERT_TRUE(dialogWindow && childWindow);
    }
    EXPECT_FALSE(dialogWindow && dialogWindow->isVisible());
    settle();
    EXPECT_TRUE(dialogWindow.isNull());
    EXPECT_TRUE(childWindow.isNull());
    auto* area = host.windowOf(frame)->findChild<QMdiArea*>();
    EXPECT_TRUE(area->subWindowList().empty());
    frame.unload();
}

TEST_F(QtHostTest, TheUsersResizingIsWrittenBackIntoTheForm) {
    Dialog form;
    form.show();
    settle();
    host.windowOf(form)->resize(400, 200);
    settle();
    EXPECT_EQ(form.width(), 6000);
    EXPECT_EQ(form.height(), 3000);
    form.unload();
}

TEST_F(QtHostTest, AModalFormsLoopReturnsOnceTheFormUnloads) {
    Dialog main("frmmain");
    main.show();
    Dialog dialog;
    EventLog log;
    dialog.onLoad = log.record("Load");
    dialog.onActivate = log.record("Activate");
    dialog.onUnload = [&](int&) { log.entries.push_back("Unload"); };
    dialog.ok.onClick = [&] {
        log.entries.push_back("OK.Click");
        dialog.unload();
    };
    main.ok.onClick = log.record("main.OK.Click");
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(host.windowOf(dialog)->isModal());
        QTest::mouseClick(host.widgetOf(main.ok), Qt::LeftButton);  // below the modal form: refused
        QTest::mouseClick(host.widgetOf(dialog.ok), Qt::LeftButton);
    });
    dialog.showModal();
    log.entries.push_back("returned");
    EXPECT_THAT(log.entries, ElementsAre("Load", "Activate", "OK.Click", "Unload", "returned"));
    EXPECT_EQ(host.windowOf(dialog), nullptr);
    main.unload();
}

TEST_F(QtHostTest, HidingAModalFormAlsoEndsItsLoopAndModalFormsNest) {
    Dialog outer("frmouter");
    Dialog inner("frminner");
    std::vector<std::string> order;
    inner.ok.onClick = [&] { inner.hide(); };
    outer.ok.onClick = [&] {
        QTimer::singleShot(0, [&] { QTest::keyClick(host.widgetOf(inner.entry), Qt::Key_Return); });
        inner.showModal();
        order.push_back("inner returned");
        outer.hide();
    };
    QTimer::singleShot(0, [&] { QTest::mouseClick(host.widgetOf(outer.ok), Qt::LeftButton); });
    outer.showModal();
    order.push_back("outer returned");
    EXPECT_THAT(order, ElementsAre("inner returned", "outer returned"));
    EXPECT_TRUE(inner.isLoaded());
    inner.unload();
    outer.unload();
}

TEST_F(QtHostTest, AnMdiFrameHasItsMenusAndItsChildrenInTheChildArea) {
    Frame frame;
    Child child(frame, "frmpettycash");
    EventLog log;
    frame.changeLog.onClick = log.record("ChangeLog.Click");
    child.show();
    settle();

    auto* main = qobject_cast<QMainWindow*>(host.windowOf(frame));
    ASSERT_NE(main, nullptr);
    const QList<QAction*> menus = main->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    ASSERT_NE(menus[0]->menu(), nullptr);
    EXPECT_THAT(actionTexts(menus[0]->menu()->actions()), ElementsAre("Change log", "-", "E&xit"));

    auto* area = main->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->geometry().topLeft(), QPoint(120, 60));  // beside the strip, below the banner
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->subWindowList()[0], host.windowOf(child));
    EXPECT_EQ(host.widgetOf(frame.command)->parentWidget(), host.widgetOf(frame.strip));

    menus[0]->menu()->actions()[0]->trigger();
    settle();
    EXPECT_THAT(log.entries, ElementsAre("ChangeLog.Click"));

    frame.exit.setVisible(false);
    frame.line.setVisible(false);
    frame.changeLog.setEnabled(false);
    settle();
    const QList<QAction*> items = main->menuBar()->actions()[0]->menu()->actions();
    EXPECT_THAT(actionTexts(items), ElementsAre("Change log"));
    EXPECT_FALSE(items[0]->isEnabled());
    frame.unload();
}

TEST_F(QtHostTest, BringingAChildToTheFrontActivatesItsSubWindowAndTheUsersChoiceActivatesTheForm) {
    Frame frame;
    Child first(frame, "frmfirst");
    Child second(frame, "frmsecond");
    first.show();
    second.show();
    settle();
    auto* area = host.windowOf(frame)->findChild<QMdiArea*>();
    EXPECT_EQ(area->activeSubWindow(), host.windowOf(second));
    frame.bringToFront(first);
    settle();
    EXPECT_EQ(area->activeSubWindow(), host.windowOf(first));

    area->setActiveSubWindow(static_cast<QMdiSubWindow*>(host.windowOf(second)));
    settle();
    EXPECT_EQ(forms::app().activeForm(), &second);
    EXPECT_EQ(frame.activeChild(), &second);
    frame.unload();
}

TEST_F(QtHostTest, TheCloseBoxGoesThroughQueryUnload) {
    Dialog form;
    std::vector<int> modes;
    bool refuse = true;
    form.onQueryUnload = [&](int& cancel, int mode) {
        modes.push_back(mode);
        if (refuse) cancel = 1;
    };
    form.show();
    settle();
    host.windowOf(form)->close();
    settle();
    EXPECT_TRUE(form.isLoaded());
    EXPECT_TRUE(host.windowOf(form)->isVisible());
    refuse = false;
    host.windowOf(form)->close();
    settle();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_THAT(modes, ElementsAre(forms::vbFormControlMenu, forms::vbFormControlMenu));
}

TEST_F(QtHostTest, AFormWithoutItsCloseBoxCannotBeClosedFromTheTitleBar) {
    Frame frame;
    frame.onLoad = [&] { frame.setCloseBoxEnabled(false); };
    int queries = 0;
    frame.onQueryUnload = [&](int&, int) { ++queries; };
    frame.show();
    settle();
    QWidget* window = host.windowOf(frame);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    window->close();
    settle();
    EXPECT_TRUE(frame.isLoaded());
    EXPECT_EQ(queries, 0);
    frame.setCloseBoxEnabled(true);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window->isVisible());
    frame.unload();
}

TEST_F(QtHostTest, TheEventLoopEndsWhenTheLastFormUnloads) {
    Dialog form;
    form.ok.onClick = [&] { form.unload(); };
    const int code = host.run([&] {
        form.show();
        QTimer::singleShot(0, [&] { QTest::mouseClick(host.widgetOf(form.ok), Qt::LeftButton); });
    });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(form.isLoaded());
}

TEST_F(QtHostTest, TheUserActivatingAWindowActivatesItsForm) {
    Dialog first("frmfirst");
    Dialog second("frmsecond");
    EventLog log;
    first.onActivate = log.record("first.Activate");
    second.onDeactivate = log.record("second.Deactivate");
    first.show();
    second.show();
    settle();
    ASSERT_EQ(forms::app().activeForm(), &second);
    QWidget* window = host.windowOf(first);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    settle();
    EXPECT_EQ(forms::app().activeForm(), &first);
    EXPECT_THAT(log.entries, ElementsAre("first.Activate", "second.Deactivate", "first.Activate"));
    second.unload();
    first.unload();
}

TEST_F(QtHostTest, TheProgramsEndLeavesAModalFormsLoopAndRunsNothingAfterIt) {
    QtUi qtUi("Ostrelle");
    forms::ScopedUi useQtUi(qtUi);
    Dialog main("frmmain");
    Dialog dialog;
    bool afterModal = false;
    main.ok.onClick = [&] {
        QTimer::singleShot(0, [&] { QTest::mouseClick(host.widgetOf(dialog.ok), Qt::LeftButton); });
        dialog.showModal();
        afterModal = true;
    };
    dialog.ok.onClick = [] { forms::ui().endProgram(); };
    const int code = host.run([&] {
        main.show();
        QTimer::singleShot(0, [&] { QTest::mouseClick(host.widgetOf(main.ok), Qt::LeftButton); });
    });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(afterModal);
    EXPECT_TRUE(dialog.isLoaded());  // no unload logic runs at the end
    EXPECT_FALSE(host.windowOf(main)->isVisible());
}

TEST_F(QtHostTest, RunReturnsAtOnceWhenTheStartLeavesNoFormLoaded) {
    Dialog form;
    form.onLoad = [&] { form.unload(); };
    EXPECT_EQ(host.run([&] { form.show(); }), 0);
}

}  // namespace
}  // namespace forms_qt
