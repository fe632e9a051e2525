#include "platform/forms/user_input.h"

#include <gmock/gmock.h>

#include <vector>

#include "platform/forms/test_support.h"

namespace forms {
namespace {

using ::testing::ElementsAre;
using testing::EventLog;

class EntryForm : public Form {
public:
    EntryForm() : Form("frmentry") {
        frame.setCaption("Details");
        name.setContainer(frame);
        tabs.setTabCaption(0, "first");
        tabs.setTabCaption(1, "second");
        onTab0.setContainer(tabs, 0);
        onTab1.setContainer(tabs, 1);
        picture.setContainer(frame);
        inPicture.setContainer(picture);
    }
    TextBox amount{*this, "amount"};
    Frame frame{*this, "frame"};
    TextBox name{*this, "name"};
    CommandButton save{*this, "save"};
    CommandButton close{*this, "close"};
    TabControl tabs{*this, "tabs", -1, 2};
    CommandButton onTab0{*this, "onTab0"};
    CommandButton onTab1{*this, "onTab1"};
    PictureBox picture{*this, "picture"};
    CommandButton inPicture{*this, "inPicture"};
    Label caption{*this, "caption"};
};

class UserInputTest : public testing::FormsTest {
protected:
    void SetUp() override {
        for (Control* c : form.controls()) {
            c->onGotFocus = log.record(c->name() + ".GotFocus");
            c->onLostFocus = log.record(c->name() + ".LostFocus");
            c->onClick = log.record(c->name() + ".Click");
        }
        form.show();
        log.entries.clear();
    }
    void TearDown() override {
        form.unload();
        FormsTest::TearDown();
    }
    EntryForm form;
    EventLog log;
};

TEST_F(UserInputTest, ShowingAFormFocusesTheFirstControlInTabOrder) {
    EntryForm other;
    other.amount.setTabIndex(5);
    EventLog events;
    other.name.onGotFocus = events.record("name.GotFocus");
    other.onLoad = events.record("Load");
    other.onActivate = events.record("Activate");
    other.show();
    EXPECT_THAT(events.entries, ElementsAre("Load", "Activate", "name.GotFocus"));
    EXPECT_EQ(other.activeControl(), &other.name);
    other.unload();
}

TEST_F(UserInputTest, ClickingAButtonMovesTheFocusBeforeTheClick) {
    ASSERT_TRUE(user::setFocus(form.name));
    log.entries.clear();
    EXPECT_TRUE(user::click(form.save));
    EXPECT_THAT(log.entries, ElementsAre("name.LostFocus", "save.GotFocus", "save.Click"));
    EXPECT_TRUE(form.save.hasFocus());

    log.entries.clear();
    EXPECT_TRUE(user::click(form.save));  // it has the focus already: only the click
    EXPECT_THAT(log.entries, ElementsAre("save.Click"));
}

TEST_F(UserInputTest, ClickIsLostWhenALostFocusHandlerSendsTheFocusElsewhere) {
    user::setFocus(form.name);
    form.name.onLostFocus = [&] {
        log.entries.push_back("name.LostFocus");
        form.amount.setFocus();
    };
    log.entries.clear();
    EXPECT_FALSE(user::click(form.save));
    EXPECT_THAT(log.entries, ElementsAre("name.LostFocus", "amount.GotFocus"));
    EXPECT_TRUE(form.amount.hasFocus());
}

TEST_F(UserInputTest, LabelsTakeClicksWithoutTheFocus) {
    user::setFocus(form.name);
    log.entries.clear();
    EXPECT_TRUE(user::click(form.caption));
    EXPECT_THAT(log.entries, ElementsAre("caption.Click"));
    EXPECT_TRUE(form.name.hasFocus());
}

TEST_F(UserInputTest, DoubleClickIsAClickThenDblClickButButtonsTakeTwoClicks) {
    form.caption.onDblClick = log.record("caption.DblClick");
    form.amount.onDblClick = log.record("amount.DblClick");
    user::setFocus(form.name);
    log.entries.clear();
    EXPECT_TRUE(user::doubleClick(form.caption));
    EXPECT_TRUE(user::doubleClick(form.amount));
    EXPECT_TRUE(user::doubleClick(form.save));
    EXPECT_THAT(log.entries, ElementsAre("caption.Click", "caption.DblClick", "name.LostFocus", "amount.GotFocus",
                                         "amount.Click", "amount.DblClick", "amount.LostFocus", "save.GotFocus",
                                         "save.Click", "save.Click"));

    form.caption.onClick = [&] { form.caption.setVisible(false); };  // the first click hides it
    log.entries.clear();
    user::doubleClick(form.caption);
    EXPECT_THAT(log.entries, ElementsAre());
}

TEST_F(UserInputTest, DisabledOrHiddenContainersBlockTheirControls) {
    struct Case {
        const char* what;
        std::function<void(EntryForm&)> change;
        CommandButton EntryForm::*button;
    };
    const Case cases[] = {
        {"button disabled", [](EntryForm& f) { f.save.setEnabled(false); }, &EntryForm::save},
        {"button hidden", [](EntryForm& f) { f.save.setVisible(false); }, &EntryForm::save},
        {"frame disabled", [](EntryForm& f) { f.frame.setEnabled(false); }, &EntryForm::inPicture},
        {"frame hidden", [](EntryForm& f) { f.frame.setVisible(false); }, &EntryForm::inPicture},
        {"picture disabled", [](EntryForm& f) { f.picture.setEnabled(false); }, &EntryForm::inPicture},
        {"tab page behind", [](EntryForm& f) { f.tabs.setTab(0); }, &EntryForm::onTab1},
        {"tab control hidden", [](EntryForm& f) { f.tabs.setVisible(false); }, &EntryForm::onTab0},
        {"form disabled", [](EntryForm& f) { f.setEnabled(false); }, &EntryForm::save},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EntryForm f;
        bool clicked = false;
        (f.*c.button).onClick = [&] { clicked = true; };
        f.show();
        c.change(f);
        EXPECT_FALSE(user::click(f.*c.button));
        EXPECT_FALSE(user::setFocus(f.*c.button));
        EXPECT_FALSE(clicked);
        EXPECT_THROW((f.*c.button).setFocus(), Error);
        f.setEnabled(true);
        f.unload();
    }
}

TEST_F(UserInputTest, EffectiveStateFollowsTheContainersUpToTheForm) {
    form.frame.setEnabled(false);
    EXPECT_TRUE(form.inPicture.enabled());
    EXPECT_FALSE(form.inPicture.effectiveEnabled());
    form.frame.setEnabled(true);
    form.tabs.setTab(1);
    EXPECT_FALSE(form.onTab0.effectiveVisible());
    EXPECT_TRUE(form.onTab1.effectiveVisible());
    EXPECT_TRUE(user::click(form.onTab1));
}

TEST_F(UserInputTest, TypingRaisesKeyDownKeyPressAndChangePerCharacter) {
    EventLog events;
    form.amount.onKeyDown = [&](int& code, int) { events.entries.push_back("KeyDown " + std::to_string(code)); };
    form.amount.onKeyPress = [&](int& ascii) { events.entries.push_back("KeyPress " + std::to_string(ascii)); };
    form.amount.onChange = [&] { events.entries.push_back("Change " + form.amount.text()); };
    EXPECT_TRUE(user::typeText(form.amount, "a1"));
    EXPECT_THAT(events.entries,
                ElementsAre("KeyDown 65", "KeyPress 97", "Change a", "KeyDown 49", "KeyPress 49", "Change a1"));
}

TEST_F(UserInputTest, KeyHandlersDiscardOrChangeKeys) {
    form.amount.onKeyPress = [](int& ascii) {
        if (ascii == 'x') ascii = 0;                               // discarded
        else if (ascii >= 'a' && ascii <= 'z') ascii -= 'a' - 'A';  // changed
    };
    user::typeText(form.amount, "axb");
    EXPECT_EQ(form.amount.text(), "AB");

    form.name.onKeyDown = [](int& code, int) {
        if (code == vbKeyBack) code = 0;
    };
    form.name.setText("ab");
    user::pressKey(form.name, vbKeyBack);
    EXPECT_EQ(form.name.text(), "ab");
    form.name.onKeyDown = nullptr;
    user::pressKey(form.name, vbKeyBack);
    EXPECT_EQ(form.name.text(), "a");
}

TEST_F(UserInputTest, BackspaceRemovesTheLastWholeCharacter) {
    std::vector<std::string> changes;
    form.name.onChange = [&] { changes.push_back(form.name.text()); };
    form.name.setText("caf\xC3\xA9\xE2\x82\xAC");  // "café€"
    changes.clear();
    user::pressKey(form.name, vbKeyBack);
    user::typeText(form.name, "\b");
    user::typeText(form.name, "\b\b\b\b");  // one more than there is
    EXPECT_THAT(changes, ElementsAre("caf\xC3\xA9", "caf", "ca", "c", ""));
}

TEST_F(UserInputTest, TypingOutsideAsciiTakesWholeCharactersWithoutKeyEvents) {
    int keys = 0;
    std::vector<std::string> changes;
    form.name.onKeyPress = [&](int&) { ++keys; };
    form.name.onChange = [&] { changes.push_back(form.name.text()); };
    form.name.setMaxLength(4);
    user::typeText(form.name, "n\xC3\xA9" "e\xE2\x82\xAC!");  // "né€!" would be five characters
    EXPECT_EQ(form.name.text(), "n\xC3\xA9" "e\xE2\x82\xAC");
    EXPECT_THAT(changes, ElementsAre("n", "n\xC3\xA9", "n\xC3\xA9" "e", "n\xC3\xA9" "e\xE2\x82\xAC"));
    EXPECT_EQ(keys, 3);  // "n", "e" and the refused "!"
}

TEST_F(UserInputTest, TypingAtTheCaretRaisesTheKeysThenOneChangeWhereTheCaretStands) {
    EventLog events;
    form.name.onKeyDown = [&](int& code, int) { events.entries.push_back("KeyDown " + std::to_string(code)); };
    form.name.onKeyPress = [&](int& ascii) {
        events.entries.push_back("KeyPress " + form.name.text());  // the text as it stands
        if (ascii == '9') ascii = 0;
    };
    form.name.onChange = [&] { events.entries.push_back("Change " + form.name.text()); };
    form.name.setText("1005");
    events.entries.clear();

    TextSelection at{1, 2};  // "00" selected
    EXPECT_TRUE(user::typeTextAt(form.name, "79", at));
    EXPECT_THAT(events.entries, ElementsAre("KeyDown 55", "KeyPress 1005", "Change 175", "KeyDown 57",
                                            "KeyPress 175"));
    EXPECT_EQ(at, (TextSelection{2, 0}));

    events.entries.clear();
    EXPECT_TRUE(user::typeTextAt(form.name, "\b", at));
    EXPECT_THAT(events.entries, ElementsAre("KeyDown 8", "KeyPress 175", "Change 15"));
    EXPECT_EQ(at, (TextSelection{1, 0}));
}

TEST_F(UserInputTest, TypingAtTheCaretFollowsAHandlerThatRewritesTheText) {
    form.name.onKeyPress = [&](int& ascii) {
        if (ascii == '-') form.name.setText("reset");
    };
    form.name.setText("abc");
    TextSelection at{1, 0};
    user::typeTextAt(form.name, "-x", at);
    EXPECT_EQ(form.name.text(), "reset-x");  // the keys go on at the end of the handler's text
    EXPECT_EQ(at, (TextSelection{7, 0}));
}

TEST_F(UserInputTest, TheSpaceBarTicksABoxAfterItsKeyEventsUnlessTheyDiscardIt) {
    CheckBox check{form, "check"};
    OptionButton option{form, "option"};
    EventLog events;
    check.onKeyDown = [&](int& code, int) { events.entries.push_back("KeyDown " + std::to_string(code)); };
    check.onKeyPress = [&](int& ascii) { events.entries.push_back("KeyPress " + std::to_string(ascii)); };
    check.onClick = [&] { events.entries.push_back("Click " + std::to_string(check.value())); };
    const user::KeyResult ticked = user::pressKey(check, vbKeySpace);
    EXPECT_TRUE(ticked.reached);
    EXPECT_FALSE(ticked.discarded);
    EXPECT_THAT(events.entries, ElementsAre("KeyDown 32", "KeyPress 32", "Click 1"));

    check.onKeyPress = [](int& ascii) { ascii = 0; };
    EXPECT_TRUE(user::pressKey(check, vbKeySpace).discarded);
    EXPECT_EQ(check.value(), vbChecked);
    user::pressKey(check, vbKeyA);  // other keys do not tick
    EXPECT_EQ(check.value(), vbChecked);

    EXPECT_TRUE(user::pressKey(option, vbKeySpace));
    EXPECT_TRUE(option.value());
}

TEST_F(UserInputTest, PressKeyTellsWhetherAHandlerDiscardedTheKey) {
    form.name.onKeyDown = [](int& code, int) {
        if (code == vbKeyDelete) code = 0;
    };
    const user::KeyResult discarded = user::pressKey(form.name, vbKeyDelete);
    EXPECT_TRUE(discarded.reached);
    EXPECT_TRUE(discarded.discarded);
    const user::KeyResult taken = user::pressKey(form.name, vbKeyLeft);
    EXPECT_TRUE(taken.reached);
    EXPECT_FALSE(taken.discarded);
    form.name.setEnabled(false);
    EXPECT_FALSE(user::pressKey(form.name, vbKeyDelete));
}

TEST_F(UserInputTest, AWholeTextEditIsCutToMaxLengthWithoutLosingTheTextThatStays) {
    form.name.setMaxLength(8);
    form.name.setText("abcdef");
    EXPECT_TRUE(user::editText(form.name, "aXYZbcdef"));  // "XYZ" pasted after "a"
    EXPECT_EQ(form.name.text(), "aXYbcdef");

    form.name.setMaxLength(3);
    form.name.setText("123456");  // the program's write may be longer
    EXPECT_TRUE(user::editText(form.name, "12345"));
    EXPECT_EQ(form.name.text(), "12345");
    EXPECT_TRUE(user::editText(form.name, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));  // replaced by four "é"
    EXPECT_EQ(form.name.text(), "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");  // within the five it had
}

TEST_F(UserInputTest, MaxLengthAndLockRefuseTypingButNotTheProgram) {
    form.amount.setMaxLength(3);
    int changes = 0;
    form.amount.onChange = [&] { ++changes; };
    user::typeText(form.amount, "12345");
    EXPECT_EQ(form.amount.text(), "123");
    EXPECT_EQ(changes, 3);
    form.amount.setText("123456");
    EXPECT_EQ(form.amount.text(), "123456");

    int keys = 0;
    form.name.setLocked(true);
    form.name.onKeyPress = [&](int&) { ++keys; };
    user::typeText(form.name, "ab");
    EXPECT_EQ(form.name.text(), "");
    EXPECT_EQ(keys, 2);  // a locked box still raises its key events
    EXPECT_FALSE(user::editText(form.name, "pasted"));
}

TEST_F(UserInputTest, EnterAndEscapeClickTheDefaultAndCancelButtons) {
    form.save.setDefault(true);
    form.close.setCancel(true);
    int keyEvents = 0;
    form.name.onKeyDown = [&](int&, int) { ++keyEvents; };
    form.name.onKeyPress = [&](int&) { ++keyEvents; };
    user::setFocus(form.name);
    log.entries.clear();

    EXPECT_TRUE(user::pressKey(form.name, vbKeyReturn));
    EXPECT_TRUE(user::pressKey(form.name, vbKeyEscape));
    EXPECT_THAT(log.entries, ElementsAre("save.Click", "close.Click"));
    EXPECT_EQ(keyEvents, 0);
    EXPECT_TRUE(form.name.hasFocus());  // the focus stays in the box

    form.close.setDefault(true);  // the role moves
    EXPECT_FALSE(form.save.isDefault());
    form.close.setEnabled(false);
    log.entries.clear();
    user::pressKey(form.name, vbKeyReturn);
    EXPECT_THAT(log.entries, ElementsAre());
}

TEST_F(UserInputTest, EnterWithoutADefaultButtonReachesKeyPress) {
    int ascii = 0;
    form.name.onKeyPress = [&](int& key) { ascii = key; };
    user::pressKey(form.name, vbKeyReturn);
    EXPECT_EQ(ascii, 13);
    EXPECT_EQ(form.name.text(), "");
}

TEST_F(UserInputTest, TabMovesToTheNextControlThatCanTakeTheFocus) {
    user::setFocus(form.amount);
    form.name.setEnabled(false);
    user::pressKey(form.amount, vbKeyTab);
    EXPECT_TRUE(form.save.hasFocus());
}

TEST_F(UserInputTest, CheckBoxesToggleAndOptionButtonsExcludeEachOther) {
    CheckBox check{form, "check"};
    OptionButton first{form, "first"};
    OptionButton second{form, "second"};
    OptionButton elsewhere{form, "elsewhere"};
    elsewhere.setContainer(form.frame);
    elsewhere.setValue(true);
    int clicks = 0;
    check.onClick = [&] { ++clicks; };
    user::click(check);
    EXPECT_EQ(check.value(), vbChecked);
    user::click(check);
    EXPECT_EQ(check.value(), vbUnchecked);
    EXPECT_EQ(clicks, 2);

    user::click(first);
    user::click(second);
    EXPECT_FALSE(first.value());
    EXPECT_TRUE(second.value());
    EXPECT_TRUE(elsewhere.value());  // another container keeps its own choice
}

TEST_F(UserInputTest, AScrollBarMovesWithinItsRangeAndRaisesChangeOnlyWhenItMoved) {
    ScrollBar bar{form, "HBrightness"};
    bar.setRange(-1000, 1000);
    std::vector<int> changes;
    bar.onChange = [&] { changes.push_back(bar.value()); };
    EXPECT_TRUE(user::scrollTo(bar, 250));
    EXPECT_TRUE(user::scrollTo(bar, 250));
    EXPECT_TRUE(user::scrollTo(bar, 5000));  // kept within the range
    EXPECT_EQ(changes, (std::vector<int>{250, 1000}));
    EXPECT_TRUE(bar.hasFocus());

    EXPECT_THROW(bar.setValue(-1001), Error);
    EXPECT_THROW(bar.setRange(3, 2), Error);
    EXPECT_THROW(bar.setSteps(0, 10), Error);
    bar.setRange(0, 10);
    EXPECT_EQ(bar.value(), 10) << "a narrower range brings the value into it";

    bar.setEnabled(false);
    EXPECT_FALSE(user::scrollTo(bar, 0));
    EXPECT_EQ(bar.value(), 10);
}

TEST_F(UserInputTest, PickingComboItemsAndTabs) {
    ComboBox list{form, "list"};
    list.setStyle(vbComboDropdownList);
    for (const char* item : {"one", "two"}) list.addItem(item);
    EventLog events;
    list.onClick = events.record("Click");
    list.onChange = events.record("Change");
    EXPECT_TRUE(user::selectComboItem(list, "two"));
    EXPECT_EQ(list.text(), "two");
    EXPECT_EQ(list.listIndex(), 1);
    EXPECT_THAT(events.entries, ElementsAre("Click"));
    EXPECT_THROW(list.setText("three"), Error);
    list.setText("");
    EXPECT_EQ(list.listIndex(), -1);

    int previous = -1;
    form.tabs.onTabClick = [&](int tab) { previous = tab; };
    form.tabs.setTabEnabled(1, false);
    EXPECT_FALSE(user::selectTab(form.tabs, 1));
    form.tabs.setTabEnabled(1, true);
    EXPECT_TRUE(user::selectTab(form.tabs, 1));
    EXPECT_EQ(previous, 0);
    EXPECT_EQ(form.tabs.tab(), 1);
}

TEST_F(UserInputTest, EditableComboTakesTypingAndFollowsItsList) {
    ComboBox combo{form, "combo"};
    combo.addItem("Bill No");
    int changes = 0;
    combo.onChange = [&] { ++changes; };
    user::typeText(combo, "Bill No");
    EXPECT_EQ(combo.listIndex(), 0);
    EXPECT_EQ(changes, 7);
}

TEST_F(UserInputTest, MenuItemsClickWhenTheyAndTheirMenusAreEnabled) {
    MenuItem file{form, "mnuFile"};
    MenuItem exit{form, "mnuExit"};
    exit.setContainer(file);
    bool clicked = false;
    exit.onClick = [&] { clicked = true; };
    file.setEnabled(false);
    EXPECT_FALSE(user::click(exit));
    file.setEnabled(true);
    EXPECT_TRUE(user::click(exit));
    EXPECT_TRUE(clicked);
}

TEST_F(UserInputTest, CalendarPickSetsTheDateThenClicks) {
    Calendar calendar{form, "calendar"};
    vb::DateTime seen;
    calendar.onClick = [&] { seen = calendar.value(); };
    const auto date = *vb::DateTime::fromParts(2024, 5, 17, 10, 30);
    EXPECT_TRUE(user::pickCalendarDate(calendar, date));
    EXPECT_EQ(seen, date.dateOnly());
}

}  // namespace
}  // namespace forms
