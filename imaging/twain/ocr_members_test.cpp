#include "imaging/twain/ocr_members.h"

#include <gtest/gtest.h>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_rotation.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/ocr_test_support.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

using mvocr::testing::DrawTextPage;

class OcrMembersTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        control_ = std::make_unique<TwainControl>();
    }
    void TearDown() override {
        control_.reset();
        EngineTest::TearDown();
    }
    TwainControl& control() { return *control_; }

    testing_support::BuildTreeOcrPlugin plugin_;
    std::unique_ptr<TwainControl> control_;
};

TEST_F(OcrMembersTest, RecognisesTheRegionAndHandsOutEachCharacter) {
    const auto page = DrawTextPage(1800, 700, 300, {"Invoice 4711", "Total due"});
    control().setCurrentImage(testing_support::TextPageImage(page, 300));
    EXPECT_EQ(OCRTesseractDoOCR(control(), 2, ""), "Invoice 4711\r\nTotal due");
    EXPECT_EQ(control().GetStat(), OK);
    ASSERT_EQ(OCRTesseractGetCharCount(control()), 19);
    EXPECT_EQ(OCRTesseractGetCharCode(control(), 1), 'I');
    EXPECT_EQ(OCRTesseractGetCharLine(control(), 1), 1);
    EXPECT_EQ(OCRTesseractGetCharSpaces(control(), 1), 0);
    EXPECT_EQ(OCRTesseractGetCharCode(control(), 8), '4');
    EXPECT_EQ(OCRTesseractGetCharSpaces(control(), 8), 1);
    EXPECT_EQ(OCRTesseractGetCharLine(control(), 12), 2);
    EXPECT_NEAR(OCRTesseractGetCharLeft(control(), 1), page.Words[0].Left, 4);
    EXPECT_NEAR(OCRTesseractGetCharTop(control(), 1), page.Words[0].Top, 4);
    EXPECT_NEAR(OCRTesseractGetCharBottom(control(), 1), page.Words[0].Baseline, 4);
    EXPECT_GT(OCRTesseractGetCharRight(control(), 1), OCRTesseractGetCharLeft(control(), 1));
    for (int32_t n = 1; n <= 19; ++n) {
        // Clear print reads as sure: low values on the 0 (sure) to 100 scale.
        EXPECT_GE(OCRTesseractGetCharConfidence(control(), n), 0.0f);
        EXPECT_LT(OCRTesseractGetCharConfidence(control(), n), 25.0f) << n;
    }
    // Outside 1..count every field answers 0 and the confidence 100.
    for (const int32_t n : {0, 20, -3}) {
        EXPECT_EQ(OCRTesseractGetCharCode(control(), n), 0);
        EXPECT_EQ(OCRTesseractGetCharLeft(control(), n), 0);
        EXPECT_EQ(OCRTesseractGetCharConfidence(control(), n), 100.0f);
    }

    // The region of the second line: characters relative to it.
    control().SetROI(100, 365, 1700, 335);
    EXPECT_EQ(OCRTesseractDoOCR(control(), 2, ""), "Total due");
    EXPECT_NEAR(OCRTesseractGetCharLeft(control(), 1), page.Words[2].Left - 100, 4);

    OCRTesseractClear(control());
    EXPECT_EQ(OCRTesseractGetCharCount(control()), 0);
    EXPECT_EQ(OCRTesseractGetCharCode(control(), 1), 0);
}

TEST_F(OcrMembersTest, FailuresBecomeTheLastStatusAndEmptyTheCount) {
    control().setCurrentImage(testing_support::TextPageImage(DrawTextPage(1200, 400, 300, {"Receipt"}), 300));
    ASSERT_EQ(OCRTesseractDoOCR(control(), 2, ""), "Receipt");
    // German is not installed: 500, nothing to read.
    EXPECT_EQ(OCRTesseractDoOCR(control(), 0, ""), "");
    EXPECT_EQ(control().GetStat(), OCRDictionaryNotFound);
    EXPECT_EQ(OCRTesseractGetCharCount(control()), 0);
    // No current image: 1, the characters kept.
    ASSERT_EQ(OCRTesseractDoOCR(control(), 2, ""), "Receipt");
    control().setCurrentImage(0);
    EXPECT_EQ(OCRTesseractDoOCR(control(), 2, ""), "");
    EXPECT_EQ(control().GetStat(), GenericError);
    EXPECT_EQ(OCRTesseractGetCharCount(control()), 7);
}

TEST_F(OcrMembersTest, TheOrientationIsTheTurnThatReadsClearlyBest) {
    const auto page = DrawTextPage(1200, 1200, 300, {"Invoice 4711", "Total amount due", "Paid by card"}, 12, 0.5);
    const int32_t image = testing_support::TextPageImage(page, 300);
    control().setCurrentImage(image);
    EXPECT_EQ(OCRTesseractGetOrientationEx(control(), 2, "", 5), 0);
    EXPECT_EQ(control().currentImage(), image);
    EXPECT_EQ(OCRTesseractGetCharCount(control()), 0) << "the check empties the character list";
    // Upside down the page reads poorly; a turn reads it clearly better.
    ASSERT_EQ(RotateFlipImage(image, 2, false), OK);
    EXPECT_NE(OCRTesseractGetOrientationEx(control(), 2, "", 5), 0);
    int32_t width = 0;
    GetImageWidth(image, width);
    EXPECT_EQ(width, 1200);
    // Without a current image nothing is read: upright.
    control().setCurrentImage(0);
    EXPECT_EQ(OCRTesseractGetOrientation(control(), 2, ""), 0);
    EXPECT_EQ(control().GetStat(), GenericError);
}

TEST(ChooseOrientation, ATurnWinsOnlyWhenItReadsClearlyBetterThanUpright) {
    struct Case {
        float Means[4];
        bool Found[4];
        int32_t Answer;
    };
    const Case cases[] = {
        {{40, 30, 35, 50}, {true, true, true, true}, 0},    // 40 < 1.5 x 30
        {{60, 30, 35, 50}, {true, true, true, true}, 3},    // one turn
        {{60, 50, 20, 50}, {true, true, true, true}, 2},    // two turns
        {{60, 50, 45, 10}, {true, true, true, true}, 1},    // three turns
        {{0, 10, 10, 10}, {false, true, true, true}, 0},    // nothing upright
        {{60, 0, 0, 30}, {true, false, false, true}, 1},    // passes without characters do not count
        {{20, 20, 20, 20}, {true, true, true, true}, 0},    // no turn is better
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseOrientation(c.Means, c.Found), c.Answer) << c.Means[0];
}

}  // namespace
}  // namespace scanvelt
