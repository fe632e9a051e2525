// Every event a window handles reaches it from a real widget: double clicks
// on every kind of control that can raise DblClick, keys on every kind that
// takes the focus, LostFocus when the user moves the focus away with the
// mouse, and Change from typing and picking. The events are sent to the
// widgets as the desktop sends them (QTest), never by calling a handler.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/forms_qt/qt_test_support.h"

namespace forms_qt {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::EventLog;
using testing::settle;

class EveryKindForm : public forms::Form {
public:
    EveryKindForm() : Form("frmkinds") {
        move(0, 0, 9000, 6000);
        label.move(120, 120, 1800, 300);
        label.setCaption("Voucher:");
        text.move(2000, 120, 1800, 300);
        editableCombo.move(2000, 540, 1800, 315);
        for (const char* item : {"Site 4", "Expo 24"}) editableCombo.addItem(item);
        listCombo.move(2000, 960, 1800, 315);
        listCombo.setStyle(forms::vbComboDropdownList);
        for (const char* item : {"All", "Open"}) listCombo.addItem(item);
        dataCombo.move(2000, 1380, 1800, 315);
        for (const char* item : {"Anil", "Bina"}) dataCombo.addItem(item);
        button.move(4000, 120, 1200, 375);
        button.setCaption("OK");
        check.move(4000, 600, 1800, 300);
        check.setCaption("Settled");
        option.move(4000, 1000, 1800, 300);
        option.setCaption("Cash");
        frame.move(120, 2100, 3000, 1200);
        frame.setCaption("Details");
        picture.move(4000, 2100, 600, 600);
        image.move(4800, 2100, 240, 240);
        image.setPicture("tick");
        tabs.move(120, 3500, 3000, 1200);
        tabs.setTabCaption(0, "Search");
        tabs.setTabCaption(1, "Close");
        calendar.move(4000, 3500, 3600, 2000);
    }

    forms::Label label{*this, "Label1"};
    forms::TextBox text{*this, "Text1"};
    forms::ComboBox editableCombo{*this, "Combo1"};
    forms::ComboBox listCombo{*this, "Combo2"};
    forms::DataCombo dataCombo{*this, "DBCombo1"};
    forms::CommandButton button{*this, "cmdOK"};
    forms::CheckBox check{*this, "Check1"};
    forms::OptionButton option{*this, "Option1", 0};
    forms::Frame frame{*this, "Frame1"};
    forms::PictureBox picture{*this, "Picture1"};
    forms::Image image{*this, "Image1"};
    forms::TabControl tabs{*this, "SSTab1", -1, 2};
    forms::Calendar calendar{*this, "Calendar1"};
};

class InputRoutingTest : public testing::QtHostTest {
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

    // The widget the user's mouse meets on the control: an editable combo's field, else the control's widget.
    QWidget* mouseTarget(const forms::Control& control) const {
        QWidget* widget = host.widgetOf(control);
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable()) return combo->lineEdit();
        return widget;
    }
    // The widget that holds the focus once the control has it.
    QWidget* focusedWidgetOf(forms::Control& control) {
        control.setFocus();
        settle();
        return QApplication::focusWidget();
    }
    void waitOutDoubleClick() {
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        settle();
    }
    // The control of that display name ("Option1(0)" for a member of a control array).
    forms::Control& control(const std::string& name) {
        for (forms::Control* c : form.controls())
            if (c->displayName() == name) return *c;
        throw std::invalid_argument("no control " + name);
    }

    EveryKindForm form;
    EventLog log;
};

// The kinds of control that raise DblClick, by name.
class DoubleClickRouting : public InputRoutingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DoubleClickRouting, ARealDoubleClickRaisesDblClick) {
    forms::Control& c = control(GetParam());
    c.onDblClick = log.record("DblClick");
    QWidget* target = mouseTarget(c);
    ASSERT_NE(target, nullptr);
    testing::doubleClick(target, target->rect().center());
    waitOutDoubleClick();
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    EXPECT_THAT(log.entries, Contains("DblClick")) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DoubleClickRouting,
                         ::testing::Values("Label1", "Text1", "Combo1", "DBCombo1", "Frame1", "Picture1", "Image1"));

// The kinds of control that take the focus, by name: a key pressed in their widget raises KeyDown, and a
// character also KeyPress.
class KeyRouting : public InputRoutingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KeyRouting, ARealKeyRaisesKeyDownAndACharacterKeyPress) {
    forms::Control& c = control(GetParam());
    std::vector<std::string> keys;
    c.onKeyDown = [&](int& code, int) { keys.push_back("KeyDown " + std::to_string(code)); };
    c.onKeyPress = [&](int& ascii) { keys.push_back("KeyPress " + std::to_string(ascii)); };
    QWidget* focused = focusedWidgetOf(c);
    ASSERT_NE(focused, nullptr) << GetParam();
    QTest::keyClick(focused, Qt::Key_Delete);
    QTest::keyClick(focused, Qt::Key_A);
    settle();
    EXPECT_THAT(keys, ElementsAre("KeyDown 46", "KeyDown 65", "KeyPress 97")) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KeyRouting,
                         ::testing::Values("Text1", "Combo1", "Combo2", "DBCombo1", "cmdOK", "Check1", "Option1(0)",
                                           "SSTab1", "Calendar1"));

// Leaving a control with the mouse raises its LostFocus before anything of the control clicked.
class LostFocusRouting : public InputRoutingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LostFocusRouting, ClickingAnotherBoxRaisesLostFocus) {
    forms::Control& c = control(GetParam());
    c.onLostFocus = log.record("LostFocus");
    form.text.onGotFocus = log.record("Text1.GotFocus");
    focusedWidgetOf(c);
    ASSERT_TRUE(c.hasFocus()) << GetParam();
    QTest::mouseClick(host.widgetOf(form.text), Qt::LeftButton);
    settle();
    EXPECT_THAT(log.entries, ElementsAre("LostFocus", "Text1.GotFocus")) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LostFocusRouting,
                         ::testing::Values("Combo1", "Combo2", "DBCombo1", "cmdOK", "Check1", "Option1(0)", "SSTab1",
                                           "Calendar1"));

TEST_F(InputRoutingTest, TypingRaisesChangeInATextBoxAndAnEditableCombo) {
    form.text.onChange = log.record("Text1.Change");
    form.editableCombo.onChange = log.record("Combo1.Change");
    QTest::keyClick(focusedWidgetOf(form.text), Qt::Key_X);
    QTest::keyClick(focusedWidgetOf(form.editableCombo), Qt::Key_Y);
    settle();
    EXPECT_THAT(log.entries, ElementsAre("Text1.Change", "Combo1.Change"));
    EXPECT_EQ(form.text.text(), "x");
    EXPECT_EQ(form.editableCombo.text(), "y");
}

TEST_F(InputRoutingTest, PickingFromADataCombosListRaisesChange) {
    form.dataCombo.onChange = log.record("DBCombo1.Change");
    QTest::keyClick(focusedWidgetOf(form.dataCombo), Qt::Key_Down);
    settle();
    EXPECT_THAT(log.entries, Contains("DBCombo1.Change"));
    EXPECT_EQ(form.dataCombo.text(), "Anil");
}

TEST_F(InputRoutingTest, ClicksOnButtonsTicksAndOptionsRaiseClick) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&form.button, &form.check, &form.option}) {
        c->onClick = log.record(c->displayName() + ".Click");
        QTest::mouseClick(host.widgetOf(*c), Qt::LeftButton);
        settle();
    }
    EXPECT_THAT(log.entries, ElementsAre("cmdOK.Click", "Check1.Click", "Option1(0).Click"));
}

}  // namespace
}  // namespace forms_qt
