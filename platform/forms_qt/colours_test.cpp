#include "platform/forms_qt/colours.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/forms_qt/qt_test_support.h"

namespace forms_qt {
namespace {

class ColoursTest : public ::testing::Test, private testing::QtApplicationUser {};

TEST_F(ColoursTest, AnRgbValueHoldsBlueGreenRedFromTheTop) {
    const QPalette scheme;
    EXPECT_EQ(toQColor(0xCFC1BAu, scheme), QColor(186, 193, 207));
    EXPECT_EQ(toQColor(forms::vbRed, scheme), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(forms::rgb(1, 2, 3), scheme), QColor(1, 2, 3));
}

TEST_F(ColoursTest, SystemColoursComeFromTheDesktopsScheme) {
    QPalette scheme;
    scheme.setColor(QPalette::Button, QColor(10, 20, 30));
    scheme.setColor(QPalette::Base, QColor(40, 50, 60));
    EXPECT_EQ(toQColor(forms::vbButtonFace, scheme), QColor(10, 20, 30));
    EXPECT_EQ(toQColor(forms::vbWindowBackground, scheme), QColor(40, 50, 60));
    // An index the scheme has no role for takes the default scheme's value.
    EXPECT_EQ(toQColor(0x80000003u, scheme), QColor(240, 240, 240));
}

TEST_F(ColoursTest, AWidgetTakesTheColoursButKeepsGreyTextWhenDisabled) {
    QLineEdit field;
    const QColor greyed = field.palette().color(QPalette::Disabled, QPalette::Text);
    applyColours(field, forms::rgb(255, 255, 0), forms::rgb(0, 0, 128), false);
    EXPECT_EQ(field.palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(field.palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 128));
    EXPECT_EQ(field.palette().color(QPalette::Disabled, QPalette::Text), greyed);
}

}  // namespace
}  // namespace forms_qt
