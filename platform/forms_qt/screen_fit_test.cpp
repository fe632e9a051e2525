#include "platform/forms_qt/screen_fit.h"

#include <gtest/gtest.h>

namespace forms_qt {
namespace {

struct FitCase {
    const char* what;
    QRect wanted;
    QRect fitted;
};

class FittedToScreen : public ::testing::TestWithParam<FitCase> {};

TEST_P(FittedToScreen, KeepsTheWindowAndItsTitleBarOnTheScreen) {
    const QMargins decoration{4, 36, 4, 4};
    const QRect screen(0, 0, 1366, 768);
    const QRect fitted = fittedToScreen(GetParam().wanted, decoration, screen);
    EXPECT_EQ(fitted, GetParam().fitted) << GetParam().what;
    EXPECT_TRUE(screen.contains(fitted.marginsAdded(decoration))) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FittedToScreen,
    ::testing::Values(FitCase{"fits as it is", QRect(100, 100, 600, 400), QRect(100, 100, 600, 400)},
                      FitCase{"a full 1024x768 window loses the title bar's height", QRect(0, 0, 1024, 768),
                              QRect(4, 36, 1024, 728)},
                      FitCase{"off the right edge moves back", QRect(1200, 50, 400, 300), QRect(962, 50, 400, 300)},
                      FitCase{"wider and taller than the screen", QRect(-50, -50, 2000, 1000),
                              QRect(4, 36, 1358, 728)}));

TEST(FittedToScreen, AnUnknownScreenChangesNothing) {
    EXPECT_EQ(fittedToScreen(QRect(0, 0, 3000, 3000), {4, 36, 4, 4}, QRect()), QRect(0, 0, 3000, 3000));
}

}  // namespace
}  // namespace forms_qt
