// The windows' fonts in the faces this desktop has, at the layout's scale.
#include "platform/forms_qt/fonts.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>

#include "platform/forms_qt/qt_test_support.h"

namespace forms_qt {
namespace {

struct FaceCase {
    const char* windowsName;
    const char* face;
};

class FaceTest : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceTest, AWindowsNameIsShownInItsStandIn) {
    const FaceCase& c = GetParam();
    const QFont font = toQFont({c.windowsName, 8, false, false, false});
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().front(), c.face);
}

INSTANTIATE_TEST_SUITE_P(Cases, FaceTest,
                         ::testing::Values(FaceCase{"MS Sans Serif", "Liberation Sans"},
                                           FaceCase{"ms sans serif", "Liberation Sans"},  // names ignore case
                                           FaceCase{"Arial", "Liberation Sans"},
                                           FaceCase{"Times New Roman", "Liberation Serif"},
                                           FaceCase{"Courier New", "Liberation Mono"},
                                           FaceCase{"DejaVu Serif", "DejaVu Serif"}));  // a face of its own

TEST(FontsTest, SizesFollowTheLayoutScaleAndTheStyleIsKept) {
    const QFont small = toQFont({});
    EXPECT_EQ(small.pixelSize(), 11);  // 8 points: 160 twips, 10.7 pixels
    EXPECT_EQ(small.weight(), QFont::Normal);
    EXPECT_FALSE(small.italic());
    EXPECT_FALSE(small.underline());

    const QFont banner = toQFont({"Arial", 24, true, true, true});
    EXPECT_EQ(banner.pixelSize(), 32);
    EXPECT_EQ(banner.weight(), QFont::Bold);
    EXPECT_TRUE(banner.italic());
    EXPECT_TRUE(banner.underline());
    EXPECT_EQ(toQFont({"Arial", 0.1, false, false, false}).pixelSize(), 1);
}

TEST(FontsTest, TheStandInFacesAreInstalled) {
    testing::QtApplicationUser qt;
    for (const char* name : {"MS Sans Serif", "Times New Roman", "Courier New"}) {
        QLabel probe;
        probe.setFont(toQFont({name, 10, false, false, false}));
        EXPECT_EQ(QFontInfo(probe.font()).family(), probe.font().families().front()) << name;
    }
}

}  // namespace
}  // namespace forms_qt
