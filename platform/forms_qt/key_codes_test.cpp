#include "platform/forms_qt/key_codes.h"

#include <gtest/gtest.h>

#include "platform/forms/keys.h"

namespace forms_qt {
namespace {

TEST(KeyCodesTest, QtKeysTakeTheRuntimesCodes) {
    const std::pair<int, int> keys[] = {
        {Qt::Key_A, forms::vbKeyA},          {Qt::Key_Z, forms::vbKeyA + 25},  {Qt::Key_0, forms::vbKey0},
        {Qt::Key_9, forms::vbKey0 + 9},      {Qt::Key_F1, forms::vbKeyF1},     {Qt::Key_F12, forms::vbKeyF1 + 11},
        {Qt::Key_Return, forms::vbKeyReturn}, {Qt::Key_Enter, forms::vbKeyReturn}, {Qt::Key_Escape, forms::vbKeyEscape},
        {Qt::Key_Tab, forms::vbKeyTab},      {Qt::Key_Backtab, forms::vbKeyTab}, {Qt::Key_Backspace, forms::vbKeyBack},
        {Qt::Key_Delete, forms::vbKeyDelete}, {Qt::Key_Left, forms::vbKeyLeft}, {Qt::Key_Down, forms::vbKeyDown},
        {Qt::Key_Home, 36},                  {Qt::Key_PageDown, 34},           {Qt::Key_Space, forms::vbKeySpace},
        {Qt::Key_Period, 0},                 {Qt::Key_Eacute, 0},
    };
    for (const auto& [qt, vb] : keys) EXPECT_EQ(vbKeyCode(qt), vb) << "Qt key " << qt;
}

TEST(KeyCodesTest, ModifiersBecomeShiftFlags) {
    EXPECT_EQ(vbShiftState(Qt::NoModifier), 0);
    EXPECT_EQ(vbShiftState(Qt::ShiftModifier), forms::vbShiftMask);
    EXPECT_EQ(vbShiftState(Qt::ControlModifier | Qt::AltModifier), forms::vbCtrlMask | forms::vbAltMask);
    EXPECT_EQ(vbShiftState(Qt::KeypadModifier), 0);
}

}  // namespace
}  // namespace forms_qt
