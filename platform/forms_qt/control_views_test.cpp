// Properties reach the widgets of every kind of control, and what the user
// does to the widgets reaches the runtime in the order the handlers expect.
#include <gmock/gmock.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "platform/forms_qt/qt_test_support.h"

namespace forms_qt {
namespace {

using ::testing::ElementsAre;
using testing::EventLog;
using testing::settle;

class SampleForm : public forms::Form {
public:
    SampleForm() : Form("frmsample") {
        move(0, 0, 7500, 6000);
        title.move(120, 120, 1800, 300);
        title.setCaption("Voucher:");
        name.move(2000, 120, 1800, 300);
        amount.move(2000, 540, 1800, 300);
        ok.move(4000, 120, 1200, 375);
        ok.setCaption("OK");
        ok.setDefault(true);
        cancel.move(4000, 600, 1200, 375);
        cancel.setCaption("Cancel");
        cancel.setCancel(true);
        check.move(120, 1000, 1800, 300);
        check.setCaption("Settled");
        optionA.move(120, 1400, 1800, 300);
        optionA.setCaption("Cash");
        optionB.move(120, 1700, 1800, 300);
        optionB.setCaption("Bank");
        combo.move(2000, 1000, 1800, 315);
        combo.setStyle(forms::vbComboDropdownList);
        for (const char* item : {"All", "Open", "Closed"}) combo.addItem(item);
        frame.move(120, 2100, 3000, 1200);
        frame.setCaption("Details");
        inFrame.setContainer(frame);
        inFrame.move(150, 300, 1500, 300);
        tabs.move(3300, 2100, 3000, 1800);
        tabs.setTabCaption(0, "Search");
        tabs.setTabCaption(1, "Close period");
        onSecondTab.setContainer(tabs, 1);
        onSecondTab.move(200, 600, 1200, 375);
        onSecondTab.setCaption("Close");
        mark.move(120, 3500, 240, 240);
        mark.setPicture("tick");
        calendar.move(120, 3900, 3600, 2000);
        brightness.move(3900, 3900, 3000, 255);
        brightness.setRange(-1000, 1000);
        brightness.setSteps(10, 100);
    }

    forms::Label title{*this, "Label1"};
    forms::TextBox name{*this, "Text1"};
    forms::TextBox amount{*this, "Text2"};
    forms::CommandButton ok{*this, "cmdOK"};
    forms::CommandButton cancel{*this, "cmdCancel"};
    forms::CheckBox check{*this, "Check1"};
    forms::OptionButton optionA{*this, "Option1", 0};
    forms::OptionButton optionB{*this, "Option1", 1};
    forms::ComboBox combo{*this, "Combo1"};
    forms::Frame frame{*this, "Frame1"};
    forms::TextBox inFrame{*this, "Text3"};
    forms::TabControl tabs{*this, "SSTab1", -1, 2};
    forms::CommandButton onSecondTab{*this, "cmdClose"};
    forms::Image mark{*this, "Image1"};
    forms::Calendar calendar{*this, "Calendar1"};
    forms::ScrollBar brightness{*this, "HBrightness"};
};

class ControlViewsTest : public testing::QtHostTest {
protected:
    void SetUp() override {
        form.show();
        settle();
        QWidget* window = host.windowOf(form);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    void TearDown() override {
        form.unload();
        QtHostTest::TearDown();
    }
    void click(const forms::Control& control) {
        QWidget* widget = host.widgetOf(control);
        ASSERT_NE(widget, nullptr) << control.displayName();
        QTest::mouseClick(widget, Qt::LeftButton);
        settle();
    }

    SampleForm form;
    EventLog log;
};

TEST_F(ControlViewsTest, EveryKindShowsItsPropertiesAtItsPlace) {
    auto* title = widgetOf<QLabel>(form.title);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Voucher:");
    EXPECT_EQ(title->geometry(), QRect(8, 8, 120, 20));

    auto* ok = widgetOf<QPushButton>(form.ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());

    auto* combo = widgetOf<QComboBox>(form.combo);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), -1);

    auto* frame = widgetOf<QGroupBox>(form.frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Details");
    EXPECT_EQ(host.widgetOf(form.inFrame)->parentWidget(), frame);
    EXPECT_EQ(host.widgetOf(form.inFrame)->geometry(), QRect(10, 20, 100, 20));

    auto* tabs = widgetOf<QTabWidget>(form.tabs);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), "Close period");
    EXPECT_FALSE(host.widgetOf(form.onSecondTab)->isVisible());

    auto* mark = widgetOf<QLabel>(form.mark);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->pixmap().size(), QSize(16, 16));

    ASSERT_NE(widgetOf<QCalendarWidget>(form.calendar), nullptr);
    ASSERT_NE(widgetOf<QCheckBox>(form.check), nullptr);
    ASSERT_NE(widgetOf<QRadioButton>(form.optionB), nullptr);
}

TEST_F(ControlViewsTest, TheProgramsChangesReachTheWidgets) {
    form.name.setText("petrol");
    form.name.setLocked(true);
    form.name.setToolTip("Who received the cash");
    form.name.setBackColor(forms::rgb(186, 193, 207));
    form.amount.setPasswordChar('*');
    form.title.setCaption("Amount:");
    form.ok.setEnabled(false);
    form.cancel.setVisible(false);
    form.check.setValue(forms::vbGrayed);
    form.optionB.setValue(true);
    form.combo.setListIndex(2);
    form.tabs.setTab(1);
    form.calendar.setValue(*vb::DateTime::fromParts(2024, 5, 17));
    form.mark.move(300, 3500, 480, 480);
    form.title.setFont({"Arial", 14, true, false, false});
    form.ok.setFontUnderline(true);
    form.setFontItalic(true);  // the form's own font: not its controls'
    settle();

    auto* name = widgetOf<QLineEdit>(form.name);
    EXPECT_EQ(name->text(), "petrol");
    EXPECT_TRUE(name->isReadOnly());
    EXPECT_EQ(name->toolTip(), "Who received the cash");
    EXPECT_EQ(name->palette().color(QPalette::Base), QColor(186, 193, 207));
    EXPECT_EQ(widgetOf<QLineEdit>(form.amount)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(widgetOf<QLabel>(form.title)->text(), "Amount:");
    EXPECT_FALSE(host.widgetOf(form.ok)->isEnabled());
    EXPECT_FALSE(host.widgetOf(form.cancel)->isVisible());
    EXPECT_EQ(widgetOf<QCheckBox>(form.check)->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(widgetOf<QRadioButton>(form.optionB)->isChecked());
    EXPECT_FALSE(widgetOf<QRadioButton>(form.optionA)->isChecked());
    EXPECT_EQ(widgetOf<QComboBox>(form.combo)->currentText(), "Closed");
    EXPECT_EQ(widgetOf<QTabWidget>(form.tabs)->currentIndex(), 1);
    EXPECT_TRUE(host.widgetOf(form.onSecondTab)->isVisible());
    EXPECT_EQ(widgetOf<QCalendarWidget>(form.calendar)->selectedDate(), QDate(2024, 5, 17));
    EXPECT_EQ(host.widgetOf(form.mark)->geometry(), QRect(20, 233, 32, 32));
    const QFont titleFont = host.widgetOf(form.title)->font();
    EXPECT_EQ(titleFont.pixelSize(), 19);
    EXPECT_TRUE(titleFont.bold());
    EXPECT_FALSE(titleFont.italic());
    EXPECT_TRUE(host.widgetOf(form.ok)->font().underline());
    EXPECT_FALSE(host.widgetOf(form.cancel)->font().underline());
    EXPECT_TRUE(host.widgetOf(form.title)->parentWidget()->font().italic());
}

TEST_F(ControlViewsTest, AControlDisabledByItsFrameKeepsItsLookAndOneDisabledItselfIsGreyed) {
    form.inFrame.setText("Asha");
    form.frame.setEnabled(false);
    form.name.setEnabled(false);
    settle();
    auto* inFrame = widgetOf<QLineEdit>(form.inFrame);
    EXPECT_FALSE(inFrame->isEnabled());  // takes no input
    const QPalette& shown = inFrame->palette();
    EXPECT_EQ(shown.color(QPalette::Disabled, QPalette::Text), shown.color(QPalette::Active, QPalette::Text));
    const QPalette& greyed = widgetOf<QLineEdit>(form.name)->palette();
    EXPECT_EQ(greyed.color(QPalette::Disabled, QPalette::Text), QPalette().color(QPalette::Disabled, QPalette::Text));
    EXPECT_NE(greyed.color(QPalette::Disabled, QPalette::Text), greyed.color(QPalette::Active, QPalette::Text));
}

TEST_F(ControlViewsTest, ClickingAButtonTakesTheFocusFromTheTextBoxFirst) {
    log.watch(form.amount);
    log.watch(form.ok);
    click(form.amount);
    click(form.ok);
    EXPECT_THAT(log.entries, ElementsAre("Text2.GotFocus", "Text2.Click", "Text2.LostFocus", "cmdOK.GotFocus",
                                         "cmdOK.Click"));
    EXPECT_TRUE(form.ok.hasFocus());
    EXPECT_TRUE(host.widgetOf(form.ok)->hasFocus());
}

TEST_F(ControlViewsTest, ALostFocusHandlerThatKeepsTheFocusLosesTheClick) {
    log.watch(form.ok);
    form.amount.onLostFocus = [this] { form.amount.setFocus(); };
    click(form.amount);
    click(form.ok);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_TRUE(form.amount.hasFocus());
    EXPECT_TRUE(host.widgetOf(form.amount)->hasFocus());
}

TEST_F(ControlViewsTest, ADisabledButtonTakesNoClick) {
    log.watch(form.ok);
    form.ok.setEnabled(false);
    click(form.ok);
    form.frame.setEnabled(false);  // a disabled container disables what it holds
    log.watch(form.inFrame);
    click(form.inFrame);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(ControlViewsTest, TicksAndOptionsAreTheRuntimesClicks) {
    int checkClicks = 0;
    form.check.onClick = [&] { ++checkClicks; };
    click(form.check);
    EXPECT_EQ(form.check.value(), forms::vbChecked);
    EXPECT_EQ(widgetOf<QCheckBox>(form.check)->checkState(), Qt::Checked);
    QTest::keyClick(host.widgetOf(form.check), Qt::Key_Space);
    settle();
    EXPECT_EQ(form.check.value(), forms::vbUnchecked);
    EXPECT_EQ(checkClicks, 2);

    click(form.optionA);
    click(form.optionB);
    EXPECT_FALSE(form.optionA.value());
    EXPECT_TRUE(form.optionB.value());
    EXPECT_FALSE(widgetOf<QRadioButton>(form.optionA)->isChecked());
    EXPECT_TRUE(widgetOf<QRadioButton>(form.optionB)->isChecked());

    form.check.setEnabled(false);
    click(form.check);
    EXPECT_EQ(form.check.value(), forms::vbUnchecked);
}

TEST_F(ControlViewsTest, EnterAndEscapeClickTheDefaultAndCancelButtonsAndTabFollowsTheTabOrder) {
    log.watch(form.ok);
    log.watch(form.cancel);
    click(form.name);
    QTest::keyClick(host.widgetOf(form.name), Qt::Key_Return);
    QTest::keyClick(host.widgetOf(form.name), Qt::Key_Escape);
    settle();
    EXPECT_THAT(log.entries, ElementsAre("cmdOK.Click", "cmdCancel.Click"));

    QTest::keyClick(host.widgetOf(form.name), Qt::Key_Tab);
    settle();
    EXPECT_TRUE(form.amount.hasFocus());
    EXPECT_TRUE(host.widgetOf(form.amount)->hasFocus());
}

TEST_F(ControlViewsTest, KeysReachTheRuntimeFromWidgetsThatPassTheirFocusOn) {
    log.watch(form.cancel);
    form.calendar.setFocus();
    form.tabs.onKeyDown = [&](int& code, int) { log.entries.push_back("SSTab1.KeyDown " + std::to_string(code)); };
    settle();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    form.tabs.setFocus();
    settle();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    settle();
    EXPECT_THAT(log.entries, ElementsAre("cmdCancel.Click", "SSTab1.KeyDown 39"));
    EXPECT_EQ(form.tabs.tab(), 1);                // the arrow key then moved the tab bar
    EXPECT_TRUE(form.onSecondTab.hasFocus());     // the next in tab order, now shown
}

TEST_F(ControlViewsTest, PickingAComboItemIsTheRuntimesPick) {
    std::vector<std::string> picks;
    form.combo.onClick = [&] { picks.push_back(form.combo.text()); };
    click(form.combo);
    auto* combo = widgetOf<QComboBox>(form.combo);
    combo->hidePopup();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    settle();
    EXPECT_THAT(picks, ElementsAre("All", "Open"));
    EXPECT_EQ(form.combo.listIndex(), 1);

    form.combo.setLocked(true);
    QTest::keyClick(combo, Qt::Key_Down);
    settle();
    EXPECT_EQ(form.combo.listIndex(), 1);
    EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(ControlViewsTest, ChoosingATabIsTheRuntimesTabChoice) {
    std::vector<int> previous;
    form.tabs.onTabClick = [&](int tab) { previous.push_back(tab); };
    auto* tabs = widgetOf<QTabWidget>(form.tabs);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    settle();
    EXPECT_EQ(form.tabs.tab(), 1);
    EXPECT_THAT(previous, ElementsAre(0));
    EXPECT_TRUE(host.widgetOf(form.onSecondTab)->isVisible());

    form.tabs.setTabEnabled(0, false);
    settle();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    settle();
    EXPECT_EQ(form.tabs.tab(), 1);
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(ControlViewsTest, ADayClickedInTheCalendarIsPicked) {
    form.calendar.setValue(*vb::DateTime::fromParts(2024, 5, 1));
    int clicks = 0;
    form.calendar.onClick = [&] { ++clicks; };
    auto* month = widgetOf<QCalendarWidget>(form.calendar);
    auto* days = month->findChild<QTableView*>();
    ASSERT_NE(days, nullptr);
    QModelIndex fifteenth;
    for (int row = 0; row < days->model()->rowCount() && !fifteenth.isValid(); ++row)
        for (int col = 0; col < days->model()->columnCount(); ++col)
            if (days->model()->index(row, col).data().toString() == "15") fifteenth = days->model()->index(row, col);
    ASSERT_TRUE(fifteenth.isValid());
    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(fifteenth).center());
    settle();
    EXPECT_EQ(form.calendar.value(), *vb::DateTime::fromParts(2024, 5, 15));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlViewsTest, AScrollBarMovedByItsArrowAndTrackReachesTheRuntime) {
    std::vector<int> changes;
    form.brightness.onChange = [&] { changes.push_back(form.brightness.value()); };
    auto* bar = widgetOf<QScrollBar>(form.brightness);
    EXPECT_EQ(bar->minimum(), -1000);
    EXPECT_EQ(bar->pageStep(), 100);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - bar->height() - 4, bar->height() / 2));
    settle();
    ASSERT_EQ(changes, (std::vector<int>{100})) << "a click on the track moves by the large change";
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->height() / 2, bar->height() / 2));
    settle();
    EXPECT_EQ(changes, (std::vector<int>{100, 90})) << "a click on the left arrow moves by the small change";
    EXPECT_TRUE(form.brightness.hasFocus());

    form.brightness.setValue(-500);
    settle();
    EXPECT_EQ(bar->value(), -500) << "a value set by the program shows";
    EXPECT_EQ(changes.size(), 2u) << "and raises no Change";
}

TEST_F(ControlViewsTest, ALabelsDoubleClickRaisesClickOnceThenDblClick) {
    log.watch(form.title);
    form.title.onDblClick = log.record("Label1.DblClick");
    testing::doubleClick(host.widgetOf(form.title));
    settle();
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_THAT(log.entries, ElementsAre("Label1.Click", "Label1.DblClick"));

    log.entries.clear();
    click(form.title);
    EXPECT_TRUE(log.entries.empty());  // a single click waits for a second one
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_THAT(log.entries, ElementsAre("Label1.Click"));
}

TEST_F(ControlViewsTest, AClickOnAnImageCanCloseItsForm) {
    form.mark.onClick = [this] { form.unload(); };
    click(form.mark);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(host.windowOf(form), nullptr);
}

TEST_F(ControlViewsTest, AnErrorNoHandlerCaughtIsReportedAndEndsTheProgram) {
    form.ok.onClick = [] { throw forms::errors::invalidPropertyValue(); };
    ui.expectMessage("Run-time error '380':\n\nInvalid property value");
    click(form.ok);
    EXPECT_TRUE(ui.ended());
}

}  // namespace
}  // namespace forms_qt
