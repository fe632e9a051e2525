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
    EXPECT_EQ(small.pixelSize(), 10);  // 8 points: 160 twips, 10.7 pixels; MS Sans Serif's widths at nine tenths
    EXPECT_EQ(toQFont({"Arial", 8, false, false, false}).pixelSize(), 11);  // Arial's widths are the stand-in's
    EXPECT_EQ(toQFont({"MS Sans Serif", 10, false, false, false}).pixelSize(), 12);
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

// MS Sans Serif's average letter over the alphabet is 6 pixels at 8 points
// and 7 at 10 (its dialog units); the stand-in keeps to that within a quarter pixel.
TEST(FontsTest, TheDialogFacesStandInHasItsLetterWidths) {
    testing::QtApplicationUser qt;
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (const auto& [points, average] : {std::pair{8.0, 5.75}, std::pair{10.0, 7.0}}) {
        QLabel probe;
        probe.setFont(toQFont({"MS Sans Serif", points, false, false, false}));
        EXPECT_NEAR(probe.fontMetrics().horizontalAdvance(alphabet) / 52.0, average, 0.25) << points;
    }
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
