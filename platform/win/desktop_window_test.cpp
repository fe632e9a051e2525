#include "platform/win/desktop_window.h"

#include <gtest/gtest.h>

namespace win {
namespace {

TEST(DesktopWindow, IsAFixedWindowHandleNoAddress) {
    uint32_t value = handleValue(GetDesktopWindow());
    EXPECT_EQ(value, handleValue(GetDesktopWindow()));
    EXPECT_EQ(handleKindOf(value), HandleKind::Window);
    EXPECT_GT(static_cast<int32_t>(value), 0);  // positive as a host's 32-bit Long
}

}  // namespace
}  // namespace win
