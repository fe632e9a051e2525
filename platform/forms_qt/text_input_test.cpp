// Typing into text boxes and editable combos: every key goes through the
// runtime (KeyDown, KeyPress, MaxLength, Locked) and lands at the caret.
#include <gmock/gmock.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/forms_qt/qt_test_support.h"

namespace forms_qt {
namespace {

using ::testing::ElementsAre;
using testing::settle;

class EntryForm : public forms::Form {
public:
    EntryForm() : Form("frmentry") {
        move(0, 0, 6000, 3000);
        box.move(120, 120, 2400, 300);
        other.move(120, 600, 2400, 300);
        combo.move(120, 1080, 2400, 315);
        box.onChange = [this] { changes.push_back(box.text()); };
    }
    forms::TextBox box{*this, "Text1"};
    forms::TextBox other{*this, "Text2"};
    forms::ComboBox combo{*this, "Combo1"};
    std::vector<std::string> changes;
};

class TextInputTest : public testing::QtHostTest {
protected:
    void SetUp() override {
        form.show();
        settle();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.windowOf(form)));
        field = widgetOf<QLineEdit>(form.box);
        ASSERT_NE(field, nullptr);
        QTest::mouseClick(field, Qt::LeftButton);
        settle();
    }
    void TearDown() override {
        form.unload();
        QtHostTest::TearDown();
    }
    // The box holds `text` (set by the program) and the user selects [start, start + length).
    void startWith(const std::string& text, int start, int length) {
        form.box.setText(text);
        form.changes.clear();
        settle();
        field->setSelection(start, length);
        if (length == 0) field->setCursorPosition(start);
    }
    void type(const QString& keys) {
        QTest::keyClicks(field, keys);
        settle();
    }
    void discardDigits() {
        form.box.onKeyPress = [](int& ascii) {
            if (ascii >= '0' && ascii <= '9') ascii = 0;
        };
    }

    EntryForm form;
    QLineEdit* field = nullptr;
};

TEST_F(TextInputTest, TypingStopsAtTheMaximumLength) {
    form.box.setMaxLength(3);
    type("abcdef");
    EXPECT_EQ(form.box.text(), "abc");
    EXPECT_EQ(field->text(), "abc");
    EXPECT_THAT(form.changes, ElementsAre("a", "ab", "abc"));
}

TEST_F(TextInputTest, AKeyPressHandlerDiscardsOrChangesKeys) {
    form.box.onKeyPress = [](int& ascii) {
        if (ascii >= '0' && ascii <= '9') ascii = 0;
        else if (ascii >= 'a' && ascii <= 'z') ascii -= 'a' - 'A';
    };
    type("a1b2c");
    EXPECT_EQ(form.box.text(), "ABC");
    EXPECT_EQ(field->text(), "ABC");
}

struct CaretCase {
    const char* name;
    std::string before;
    int start;
    int length;
    bool keyHandler;
    QString keys;
    std::string after;
    int caret;
    size_t changes;
};

class TypingAtTheCaret : public TextInputTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(TypingAtTheCaret, LandsWhereTheCaretStands) {
    const CaretCase& c = GetParam();
    if (c.keyHandler) discardDigits();
    startWith(c.before, c.start, c.length);
    type(c.keys);
    EXPECT_EQ(form.box.text(), c.after);
    EXPECT_EQ(field->text().toStdString(), c.after);
    EXPECT_EQ(field->cursorPosition(), c.caret);
    EXPECT_EQ(form.changes.size(), c.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypingAtTheCaret,
    ::testing::Values(
        CaretCase{"AtTheEnd", "10", 2, 0, false, "5", "105", 3, 1},
        CaretCase{"InTheMiddle", "15", 1, 0, false, "0", "105", 2, 1},
        CaretCase{"OverTheSelection", "100", 0, 3, false, "5", "5", 1, 1},
        CaretCase{"OverPartOfIt", "1000", 1, 2, false, "x", "1x0", 2, 1},
        // A control with key handlers: the handlers see the key, then it lands at the caret (one Change).
        CaretCase{"HandledInTheMiddle", "ab", 1, 0, true, "x", "axb", 2, 1},
        CaretCase{"HandledOverTheSelection", "abc", 0, 3, true, "y", "y", 1, 1},
        CaretCase{"DiscardedInTheMiddle", "ab", 1, 0, true, "7", "ab", 1, 0}),
    [](const ::testing::TestParamInfo<CaretCase>& info) { return std::string(info.param.name); });

TEST_F(TextInputTest, AGuardSeesTheTextAsItStandsEvenOverASelection) {
    int beeps = 0;
    form.box.onKeyPress = [&](int& ascii) {
        if (form.box.text() == "General") {
            ascii = 0;
            ++beeps;
        }
    };
    startWith("General", 0, 7);
    type("x");
    EXPECT_EQ(form.box.text(), "General");
    EXPECT_EQ(beeps, 1);
}

TEST_F(TextInputTest, BackspaceAndDeleteEditAtTheCaret) {
    startWith("12345", 5, 0);
    QTest::keyClick(field, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(form.box.text(), "1234");
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Delete);
    settle();
    EXPECT_EQ(form.box.text(), "34");
    EXPECT_EQ(field->cursorPosition(), 0);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    settle();
    EXPECT_EQ(form.box.text(), "");
}

TEST_F(TextInputTest, AKeyDownHandlerDecidesWhatDeleteDoes) {
    enum class Handling { Discard, Clear, Watch } handling = Handling::Discard;
    int keyDowns = 0;
    form.box.onKeyDown = [&](int& code, int) {
        if (code != forms::vbKeyDelete) return;
        ++keyDowns;
        if (handling == Handling::Clear) form.box.setText("");
        else if (handling == Handling::Discard) code = 0;
    };
    startWith("taxi", 0, 0);
    QTest::keyClick(field, Qt::Key_Delete);
    settle();
    EXPECT_EQ(form.box.text(), "taxi");

    handling = Handling::Watch;  // a handler that lets the key through: Delete deletes
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_Delete);
    settle();
    EXPECT_EQ(form.box.text(), "txi");
    EXPECT_EQ(field->cursorPosition(), 1);

    handling = Handling::Clear;
    QTest::keyClick(field, Qt::Key_Delete);
    settle();
    EXPECT_EQ(form.box.text(), "");
    EXPECT_EQ(keyDowns, 3);
}

TEST_F(TextInputTest, ALockedBoxRaisesItsKeysButKeepsItsText) {
    std::vector<int> keys;
    form.box.onKeyPress = [&](int& ascii) { keys.push_back(ascii); };
    startWith("fixed", 5, 0);
    form.box.setLocked(true);
    type("ab");
    QTest::keyClick(field, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(form.box.text(), "fixed");
    EXPECT_EQ(field->text(), "fixed");
    EXPECT_THAT(keys, ElementsAre('a', 'b', 8));
}

TEST_F(TextInputTest, APasteIsAWholeTextEditWithinTheMaximumLength) {
    form.box.setMaxLength(6);
    startWith("ab", 2, 0);
    QApplication::clipboard()->setText("cdefgh");
    QTest::keySequence(field, QKeySequence::Paste);
    settle();
    EXPECT_EQ(form.box.text(), "abcdef");
    EXPECT_EQ(field->text(), "abcdef");
    EXPECT_THAT(form.changes, ElementsAre("abcdef"));
}

TEST_F(TextInputTest, ACharacterOutsideAsciiIsTypedAsAWholeTextEdit) {
    std::vector<int> keys;
    form.box.onKeyPress = [&](int& ascii) { keys.push_back(ascii); };
    startWith("caf", 3, 0);
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Eacute, QString::fromUtf8("\xC3\xA9"), Qt::NoModifier);
    settle();
    EXPECT_EQ(form.box.text(), "caf\xC3\xA9");
    EXPECT_TRUE(keys.empty());
    QTest::keyClick(field, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(form.box.text(), "caf");  // the whole character goes, not one of its bytes
}

TEST_F(TextInputTest, AnEditableComboIsTypedIntoLikeATextBox) {
    for (const char* name : {"Asha", "Ravi"}) form.combo.addItem(name);
    auto* combo = widgetOf<QComboBox>(form.combo);
    ASSERT_TRUE(combo->isEditable());
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    settle();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClicks(QApplication::focusWidget(), "Ravi");  // where the desktop sends the keys
    settle();
    EXPECT_EQ(form.combo.text(), "Ravi");
    EXPECT_EQ(form.combo.listIndex(), 1);

    form.combo.onKeyPress = [](int& ascii) { ascii = 0; };  // picks only, as the register's type combo
    QTest::keyClicks(QApplication::focusWidget(), "x");
    settle();
    EXPECT_EQ(form.combo.text(), "Ravi");
    EXPECT_EQ(combo->currentText(), "Ravi");
}

}  // namespace
}  // namespace forms_qt
