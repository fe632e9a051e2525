// The layout rule and the renderer's part in keeping it: a text wider than
// its control grows the control into the room beside it, and what cannot
// grow is reported.
#include "platform/forms_qt/layout_rule.h"

#include <gmock/gmock.h>

#include <QTest>

#include "platform/forms_qt/qt_test_support.h"

namespace forms_qt {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::settle;

constexpr const char* kLong = "Employee/receiver of the cash given out";

class CrowdedForm : public forms::Form {
public:
    CrowdedForm() : Form("frmcrowded") {
        move(0, 0, 9000, 4000);
        roomy.move(120, 120, 600, 300);  // nothing beside it
        roomy.setCaption(kLong);
        crowded.move(120, 600, 600, 300);
        crowded.setCaption(kLong);
        neighbour.move(900, 600, 1500, 300);
        button.move(120, 1000, 450, 375);
        button.setCaption("Close current period");
        tick.move(120, 1500, 400, 300);
        tick.setCaption("Settled advances");
        combo.move(120, 1900, 600, 315);
        combo.addItem("Cash received for settlement");
        frame.move(120, 2400, 8000, 1200);
        frame.setCaption("Details");
        inFrame.setContainer(frame);
        inFrame.move(7000, 300, 2000, 300);  // partly out of the frame
        hidden.move(20000, 120, 1200, 375);  // wholly out of sight, on purpose
        hidden.setCaption("Log in");
    }

    forms::Label roomy{*this, "Label1"};
    forms::Label crowded{*this, "Label2"};
    forms::TextBox neighbour{*this, "Text1"};
    forms::CommandButton button{*this, "cmdClose"};
    forms::CheckBox tick{*this, "Check1"};
    forms::ComboBox combo{*this, "Combo1"};
    forms::Frame frame{*this, "Frame1"};
    forms::TextBox inFrame{*this, "Text2"};
    forms::CommandButton hidden{*this, "Command1"};
};

class LayoutRuleTest : public testing::QtHostTest {
protected:
    void SetUp() override {
        form.show();
        settle();
    }
    void TearDown() override {
        form.unload();
        QtHostTest::TearDown();
    }
    int widthOf(const forms::Control& c) const { return host.widgetOf(c)->width(); }

    CrowdedForm form;
};

TEST_F(LayoutRuleTest, ATextTooWideGrowsItsControlIntoTheRoomBesideIt) {
    const int needed = host.widgetOf(form.roomy)->fontMetrics().horizontalAdvance(kLong);
    EXPECT_GT(needed, 40) << "the caption is wider than the 40 pixels laid out";
    EXPECT_GE(widthOf(form.roomy), needed);
    EXPECT_GE(widthOf(form.button), host.widgetOf(form.button)->fontMetrics().horizontalAdvance("Close current period"));
    EXPECT_GT(widthOf(form.tick), 27);
    EXPECT_GT(widthOf(form.combo), 40);
    // The crowded label stops short of its neighbour.
    EXPECT_LT(host.widgetOf(form.crowded)->geometry().right(), host.widgetOf(form.neighbour)->geometry().left());
}

TEST_F(LayoutRuleTest, WhatCannotGrowAndWhatLeavesItsContainerAreReported) {
    const std::vector<std::string> faults = layoutFaults(host, form);
    ASSERT_EQ(faults.size(), 2u) << ::testing::PrintToString(faults);
    EXPECT_THAT(faults[0], HasSubstr("Label2: \"Employee/receiver of the cash given out\" needs"));
    EXPECT_THAT(faults[1], HasSubstr("Text2: at "));
    EXPECT_THAT(faults[1], HasSubstr("leaves its container"));
}

TEST_F(LayoutRuleTest, MovingTheNeighbourAwayLetsTheTextGrowAndTheFormKeepsTheRule) {
    form.neighbour.move(5000, 600, 1500, 300);
    form.inFrame.move(1000, 300, 2000, 300);
    settle();
    EXPECT_THAT(layoutFaults(host, form), ElementsAre());
}

TEST_F(LayoutRuleTest, AWindowTooLargeForTheScreenIsReported) {
    const QRect small(0, 0, 400, 300);
    const std::vector<std::string> faults = layoutFaults(host, form, small);
    ASSERT_FALSE(faults.empty());
    EXPECT_THAT(faults.front(), HasSubstr("leaves the screen"));
}

}  // namespace
}  // namespace forms_qt
