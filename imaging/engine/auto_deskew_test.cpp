#include "imaging/engine/auto_deskew.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using namespace testing_support;

constexpr double kPiForDrawing = 3.14159265358979323846;

// Whether (x, y) lies on the ink of a page of text lines tilted by `degrees`
// (positive: lines running downwards to the right): lines 40 pixels apart,
// words of character stems 12 pixels high with gaps between the words.
bool OnInk(int32_t x, int32_t y, double degrees) {
    const double a = degrees * kPiForDrawing / 180.0;
    const double u = x * std::cos(a) + y * std::sin(a);  // along the line
    const double v = y * std::cos(a) - x * std::sin(a);  // across the lines
    const double line = std::fmod(v + 10000.0, 40.0);
    if (line < 20.0 || line >= 32.0) return false;
    const double word = std::fmod(u + 10000.0, 70.0);
    if (word >= 52.0) return false;
    return std::fmod(word, 9.0) < 5.0;
}

// A page of tilted text, 1 bit (black ink on white) or colour (dark brown
// ink on a cream background).
int32_t DrawPage(int32_t width, int32_t height, double degrees, bool oneBit) {
    const int32_t id = RegisterBitmap(width, height, oneBit ? gdiplus::PixelFormat1bppIndexed : gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool ink = OnInk(x, y, degrees);
            pixels[static_cast<size_t>(y) * width + x] = oneBit ? (ink ? 0xFF000000u : 0xFFFFFFFFu)
                                                                : (ink ? 0xFF3C281Eu : 0xFFF0E6C8u);
        }
    }
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    EXPECT_EQ(bitmap->WritePixels(gdiplus::Rect{0, 0, width, height}, gdiplus::PixelFormat32bppARGB, 4 * width,
                                  pixels.data()),
              gdiplus::Ok);
    return id;
}

using AutoDeskewTest = EngineTest;

struct SkewCase {
    double degrees;
    bool oneBit;
};

class MeasuredPages : public EngineTest, public ::testing::WithParamInterface<SkewCase> {};

TEST_P(MeasuredPages, TheAngleIsWithinAFifthOfADegree) {
    const SkewCase c = GetParam();
    const int32_t id = DrawPage(900, 700, c.degrees, c.oneBit);
    const std::vector<uint32_t> before = PixelsOf(id);
    cAutoDeskew deskew;
    EXPECT_EQ(deskew.GetSkewAngle(id), OK);
    EXPECT_NEAR(deskew.SkewAngle, c.degrees, 0.2);
    EXPECT_EQ(PixelsOf(id), before);
}

INSTANTIATE_TEST_SUITE_P(Angles, MeasuredPages,
                         ::testing::Values(SkewCase{-15, true}, SkewCase{-10.5, false}, SkewCase{-7.3, true},
                                           SkewCase{-3, false}, SkewCase{-1, true}, SkewCase{0, true},
                                           SkewCase{0, false}, SkewCase{1, false}, SkewCase{2.4, true},
                                           SkewCase{6, false}, SkewCase{9.9, true}, SkewCase{15, false}),
                         [](const auto& info) {
                             std::string name = std::to_string(static_cast<int>(std::lround(info.param.degrees * 10)));
                             for (char& ch : name) {
                                 if (ch == '-') ch = 'm';
                             }
                             return "Tenths" + name + (info.param.oneBit ? "OneBit" : "Colour");
                         });

TEST_F(AutoDeskewTest, APageOf50PixelsOrLessIsNotMeasured) {
    for (const auto [w, h] : {std::pair{50, 1000}, std::pair{1000, 50}}) {
        const int32_t id = DrawPage(w, h, 3, true);
        cAutoDeskew deskew;
        deskew.SkewAngle = 7;
        EXPECT_EQ(deskew.GetSkewAngle(id), Aborted);
        EXPECT_EQ(deskew.SkewAngle, 0.0);
    }
    cAutoDeskew deskew;
    EXPECT_EQ(deskew.GetSkewAngle(987654), Aborted);
    EXPECT_EQ(deskew.GetSkewAngle(DrawPage(51, 51, 0, true)), OK);
}

// Every voting pixel fills one cell per step, so a page gives fewer than ten
// cells only when nothing on it votes.
TEST_F(AutoDeskewTest, ABlankPageGivesAngleZeroAndAborted) {
    const int32_t blank = RegisterBitmap(400, 400, gdiplus::PixelFormat24bppRGB);
    SetPixels(blank, std::vector<uint32_t>(400 * 400, 0xFFFFFFFFu));
    cAutoDeskew deskew;
    deskew.SkewAngle = 5;
    EXPECT_EQ(deskew.GetSkewAngle(blank), Aborted);
    EXPECT_EQ(deskew.SkewAngle, 0.0);
}

TEST_F(AutoDeskewTest, StrokesOutsideTheMiddleHalfOfTheRowsCastNoVotes) {
    // Text only in the top quarter: nothing in the scanned rows.
    const int32_t id = RegisterBitmap(400, 400, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> pixels(400 * 400, 0xFFFFFFFFu);
    for (int32_t y = 0; y < 90; ++y) {
        for (int32_t x = 0; x < 400; ++x) {
            if (OnInk(x, y, 5)) pixels[static_cast<size_t>(y) * 400 + x] = 0xFF000000u;
        }
    }
    SetPixels(id, pixels);
    cAutoDeskew deskew;
    EXPECT_EQ(deskew.GetSkewAngle(id), Aborted);
    EXPECT_EQ(deskew.SkewAngle, 0.0);
}

TEST_F(AutoDeskewTest, TheBandStartsAtMinusMaxAngleOfResearch) {
    // Lines at 25 degrees lie outside the default band but inside -10..29.8.
    const int32_t id = DrawPage(900, 700, 25, true);
    cAutoDeskew deskew;
    deskew.MaxAngleOfResearch = 10;
    EXPECT_EQ(deskew.GetSkewAngle(id), OK);
    EXPECT_NEAR(deskew.SkewAngle, 25, 0.2);
}

}  // namespace
}  // namespace scanvelt
