#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/voucher_entry_test_support.h"
#include "platform/forms/forms.h"

namespace petty {
namespace {

namespace user = forms::user;

// How a field stands after the rules: open, locked with its content kept,
// locked and emptied when fields are cleared, or untouched.
enum class Expect { Open, Kept, Emptied, Untouched };
using enum Expect;

struct TypeCase {
    std::string type;
    std::string employeeCaption;
    Expect cashIn, cashOut, spentFromAdvance, head, costCentre, employee;
    bool advanceCanBePicked;  // match button enabled, advance box open colour (else locked colour, emptied)
    bool billButtonsDisabled;
};

const std::vector<TypeCase> kTypeCases = {
    {"Cash transfer to PC", "Employee/receiver", Open, Emptied, Emptied, Emptied, Emptied, Emptied, false, false},
    {"Cash received for settlement", "from employee", Open, Emptied, Emptied, Emptied, Emptied, Open, true, false},
    {"Cash given for settlement", "to employee", Emptied, Open, Emptied, Emptied, Emptied, Open, true, false},
    {"Advance Issued from PC", "to employee", Emptied, Open, Emptied, Emptied, Emptied, Open, false, false},
    {"Spent from Advance issued", "by employee/receiver", Emptied, Emptied, Open, Open, Open, Open, true, false},
    {"Reimbursed from pettycash", "to employee/receiver", Emptied, Open, Emptied, Open, Open, Open, false, false},
    // The period rows keep everything they carry, the carried amount included.
    {"Carryover", "Employee/receiver", Kept, Kept, Untouched, Kept, Kept, Kept, false, true},
    {"Pettycash in hand - tally count", "Employee/receiver", Kept, Kept, Untouched, Kept, Kept, Kept, false, true},
};

constexpr forms::Color kMarkColour = forms::rgb(1, 2, 3);

class TypeRulesTest : public testing::VoucherEntryTest {
protected:
    struct Field {
        const char* name;
        forms::TextControl& control;
        Expect TypeCase::*expect;
    };
    std::vector<Field> fields() {
        return {{"cash in", w.Textpcash[kDebitBox], &TypeCase::cashIn},
                {"cash out", w.Textpcash[kCreditBox], &TypeCase::cashOut},
                {"spent from advance", w.Textpcash[kExpenseFromAdvanceBox], &TypeCase::spentFromAdvance},
                {"head", w.Combopcashhead, &TypeCase::head},
                {"cost centre", w.dbCombo3, &TypeCase::costCentre},
                {"employee", w.DBCombo2, &TypeCase::employee}};
    }

    // Every field filled, unlocked and marked with a colour no rule uses.
    void fillEveryField() {
        for (Field& f : fields()) {
            f.control.setText("7");
            f.control.setLocked(false);
            f.control.setBackColor(kMarkColour);
        }
        w.Textpcash[kMatchwithBox].setText("12");
        w.Textpcash[kMatchwithBox].setBackColor(kMarkColour);
        w.ButtonMatchwith.setEnabled(true);
        for (forms::CommandButton* b : {&w.cmdScanDoc, &w.cmdViewBill}) b->setEnabled(true);
    }

    void expectFieldsFollow(const TypeCase& c, bool clearFields) {
        for (Field& f : fields()) {
            SCOPED_TRACE(f.name);
            const Expect e = c.*f.expect;
            const bool emptied = e == Emptied && clearFields;
            EXPECT_EQ(f.control.text(), emptied ? "" : "7");
            if (e == Untouched) {
                EXPECT_FALSE(f.control.locked());
                EXPECT_EQ(f.control.backColor(), kMarkColour);
            } else {
                EXPECT_EQ(f.control.locked(), e != Open);
                EXPECT_EQ(f.control.backColor(), e == Open ? kOpenFieldColor : forms::vbButtonFace);
            }
        }
        EXPECT_EQ(w.Label1[12].caption(), c.employeeCaption);
        EXPECT_EQ(w.ButtonMatchwith.enabled(), c.advanceCanBePicked);
        forms::TextBox& matchWith = w.Textpcash[kMatchwithBox];
        EXPECT_EQ(matchWith.backColor(), c.advanceCanBePicked ? kOpenFieldColor : forms::vbButtonFace);
        EXPECT_EQ(matchWith.text(), !c.advanceCanBePicked && clearFields ? "" : "12");
        EXPECT_FALSE(matchWith.locked()) << "the rules never change the advance box's lock";
        EXPECT_EQ(w.cmdScanDoc.enabled(), !c.billButtonsDisabled);
        EXPECT_EQ(w.cmdViewBill.enabled(), !c.billButtonsDisabled);
    }

    frmpettycash w;
};

TEST_F(TypeRulesTest, EachTypeSetsEveryFieldsLockColourAndContent) {
    w.Textpcash[kMatchwithBox].setLocked(false);
    for (const TypeCase& c : kTypeCases) {
        for (bool clearFields : {true, false}) {
            SCOPED_TRACE(c.type + (clearFields ? " (clearing)" : " (display)"));
            fillEveryField();
            w.Combopcashtype.setText(c.type);
            w.ApplyTransactionTypeRules(clearFields);
            expectFieldsFollow(c, clearFields);
        }
    }
}

TEST_F(TypeRulesTest, AHiddenCostCentreComboIsLeftAlone) {
    w.dbCombo3.setVisible(false);
    for (const TypeCase& c : kTypeCases) {
        SCOPED_TRACE(c.type);
        fillEveryField();
        w.Combopcashtype.setText(c.type);
        w.ApplyTransactionTypeRules(true);
        EXPECT_EQ(w.dbCombo3.text(), "7");
        EXPECT_FALSE(w.dbCombo3.locked());
        EXPECT_EQ(w.dbCombo3.backColor(), kMarkColour);
    }
}

TEST_F(TypeRulesTest, AnyOtherTypeTextChangesNothing) {
    for (const char* other : {"", "Previous balance CF", "cash transfer to PC", "Cash transfer to PC "}) {
        SCOPED_TRACE(other);
        fillEveryField();
        w.Label1[12].setCaption("Employee");
        w.Textpcash[kMatchRequiredBox].setText("Yes");
        w.Combopcashtype.setText(other);
        w.ApplyTransactionTypeRules(true);
        for (Field& f : fields()) {
            EXPECT_EQ(f.control.text(), "7") << f.name;
            EXPECT_EQ(f.control.backColor(), kMarkColour) << f.name;
        }
        EXPECT_EQ(w.Label1[12].caption(), "Employee");
        EXPECT_EQ(w.Textpcash[kMatchRequiredBox].text(), "Yes");
        EXPECT_TRUE(w.ButtonMatchwith.enabled());
    }
}

// The user's way: a new row, a type picked, an amount typed, another type picked.
class TypePickTest : public testing::VoucherEntryTest {
protected:
    frmpettycash& newRow() {
        // Cash in the box, so that the cash out typed is not above the cash in hand.
        insert({.transType = "Cash transfer to PC", .debit = money("1000")});
        frmpettycash& r = shownRegister();
        EXPECT_TRUE(user::click(r.cmdadd));
        return r;
    }
};

TEST_F(TypePickTest, SwitchingAReimbursementToACashTransferEmptiesWhatTheTransferDoesNotUse) {
    frmpettycash& w = newRow();
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    EXPECT_EQ(w.Combopcashtype.toolTip(),
              "Full amount spent by employee is re-imbursed to him/her from petty-cash. No advance was taken at all "
              "by him/her");
    ASSERT_TRUE(user::typeText(w.Textpcash[kCreditBox], "50"));
    ASSERT_TRUE(user::typeText(w.DBCombo2, "Cashier"));
    ASSERT_TRUE(user::typeText(w.Combopcashhead, "Food"));
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "50");
    EXPECT_EQ(w.Textpcash[kMatchRequiredBox].text(), "No");

    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Cash transfer to PC"));
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "");
    EXPECT_TRUE(w.Textpcash[kCreditBox].locked());
    EXPECT_FALSE(w.Textpcash[kDebitBox].locked());
    EXPECT_EQ(w.Textpcash[kDebitBox].backColor(), kOpenFieldColor);
    EXPECT_EQ(w.Textpcash[kMatchRequiredBox].text(), "No");
    EXPECT_EQ(w.DBCombo2.text(), "");
    EXPECT_EQ(w.Combopcashhead.text(), "");
    EXPECT_EQ(w.Combopcashtype.toolTip(), "Cash brought into pettycash fund for petty cash replenishment.");
    EXPECT_TRUE(user::typeText(w.Textpcash[kDebitBox], "500"));
    EXPECT_EQ(w.Textpcash[kDebitBox].text(), "500");
}

TEST_F(TypePickTest, SwitchingAReimbursementToSpentFromAdvanceOpensTheAdvanceFields) {
    frmpettycash& w = newRow();
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    ASSERT_TRUE(user::typeText(w.Textpcash[kCreditBox], "50"));
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Spent from Advance issued"));
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "");
    EXPECT_FALSE(w.Textpcash[kExpenseFromAdvanceBox].locked());
    EXPECT_TRUE(w.ButtonMatchwith.enabled());
    EXPECT_EQ(w.Textpcash[kMatchRequiredBox].text(), "Yes");
    EXPECT_EQ(w.Textpcash[kMatchedBox].text(), "No");
}

TEST_F(TypePickTest, KeysTypedIntoTheTypeComboAreIgnored) {
    frmpettycash& w = newRow();
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Cash transfer to PC"));
    user::typeText(w.Combopcashtype, "xy");
    EXPECT_EQ(w.Combopcashtype.text(), "Cash transfer to PC");
}

TEST_F(TypePickTest, LeavingAChangedTypeOrHeadMarksTheRegisterUnsaved) {
    frmpettycash& w = newRow();
    appState().registerSaved = true;
    user::setFocus(w.Textpcash[kNarrationBox]);
    EXPECT_TRUE(appState().registerSaved) << "the type was not changed";
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    user::setFocus(w.Textpcash[kNarrationBox]);
    EXPECT_FALSE(appState().registerSaved);

    appState().registerSaved = true;
    ASSERT_TRUE(user::typeText(w.Combopcashhead, "Food"));
    user::setFocus(w.Textpcash[kNarrationBox]);
    EXPECT_FALSE(appState().registerSaved);
}

TEST_F(TypePickTest, AClickOnTheTypeTheRowWasLoadedWithDoesNothing) {
    const int64_t id = insert({.transType = "Reimbursed from pettycash", .credit = money("250")});
    frmpettycash& w = shownRegister();
    ASSERT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(id));
    w.Textpcash[kMatchwithBox].setText("3");
    w.Textpcash[kMatchwithBox].setDataChanged(false);
    w.Combopcashtype_Click();
    EXPECT_EQ(w.Combopcashtype.toolTip(), "");
    EXPECT_EQ(w.Textpcash[kMatchwithBox].text(), "3");
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "250");
}

TEST_F(TypePickTest, WithoutAdvancesOnlyTwoTypesCanBePickedAndTheReimbursementTipIsShort) {
    appState().noAdvanceMode = true;
    frmpettycash& w = newRow();
    EXPECT_EQ(w.Combopcashtype.items(),
              (std::vector<std::string>{"Cash transfer to PC", "Reimbursed from pettycash"}));
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    EXPECT_EQ(w.Combopcashtype.toolTip(), "Full amount spent by employee is re-imbursed to him/her from petty-cash.");
}

}  // namespace
}  // namespace petty
