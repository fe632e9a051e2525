#include "imaging/engine/drawing_on_devices.h"

#include <gtest/gtest.h>

#include "imaging/engine/testing/graphics_test_support.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/testing/memory_window.h"

namespace scanvelt {
namespace {

using namespace testing_support;

// A memory context holding a top-down 32-bit DIB section, as a host's back buffer.
class DibSectionTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        win::BitmapInfoHeader header;
        header.width = kWidth;
        header.height = -kHeight;
        header.bitCount = 32;
        void* bits = nullptr;
        section_ = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
        ASSERT_NE(section_, win::HBITMAP{});
        pixels_ = static_cast<uint32_t*>(bits);
        dc_ = win::CreateCompatibleDC(win::HDC{});
        previous_ = win::SelectObject(dc_, section_);
        ASSERT_NE(previous_, win::HBITMAP{});
    }
    void TearDown() override {
        win::SelectObject(dc_, previous_);
        win::DeleteDC(dc_);
        win::DeleteObject(section_);
        EngineTest::TearDown();
    }
    // Colour of a pixel of the section (its fourth byte is not looked at).
    uint32_t At(int x, int y) const { return pixels_[y * kWidth + x] | 0xFF000000; }

    static constexpr int kWidth = 8;
    static constexpr int kHeight = 4;
    win::HBITMAP section_{};
    win::HBITMAP previous_{};
    win::HDC dc_{};
    uint32_t* pixels_ = nullptr;
};

TEST_F(DibSectionTest, OutOfRangeQualitySettingsDrawNearestNeighbour) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed, kBlue});
    ASSERT_EQ(DrawImageOnHdc(id, dc_, 0, 0, 8, 4, 9, -1, 2), OK);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) EXPECT_EQ(At(x, y), x < 4 ? kRed : kBlue) << x << "," << y;
}

TEST_F(DibSectionTest, BilinearBlendsAcrossTheEdge) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed, kBlue});
    ASSERT_EQ(DrawImageOnHdc(id, dc_, 0, 0, 8, 4, 3, 3, 2), OK);
    const uint32_t middle = At(3, 0);
    EXPECT_NE(middle, kRed);
    EXPECT_NE(middle, kBlue);
}

TEST_F(DibSectionTest, PageUnitCountsTheRectangle) {
    const int32_t id = RegisterBitmap(1, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed});
    // 3 points at 96 dpi are 4 pixels.
    ASSERT_EQ(DrawImageOnHdc(id, dc_, 0, 0, 3, 3, 3, 5, 3), OK);
    EXPECT_EQ(At(3, 3), kRed);
    EXPECT_EQ(At(4, 0), kBlack);
}

TEST_F(DibSectionTest, SourceRectanglesAreDrawnIntoDestinationRectangles) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed, kBlue});
    ASSERT_EQ(DrawImageRectOnHdc(id, dc_, 4, 0, 4, 4, 1, 0, 1, 1, 3, 5, 2), OK);
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(At(4, 0), kBlue);
    EXPECT_EQ(At(7, 3), kBlue);
}

TEST_F(DibSectionTest, FailuresGiveTheirStatus) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(DrawImageOnHdc(4711, dc_, 0, 0, 8, 4, 3, 5, 2), InvalidParameter);
    EXPECT_EQ(DrawImageRectOnHdc(4711, dc_, 0, 0, 8, 4, 0, 0, 2, 1, 3, 5, 2), InvalidParameter);
    // A source without area is refused by both attempts.
    EXPECT_EQ(DrawImageRectOnHdc(id, dc_, 0, 0, 8, 4, 0, 0, 0, 1, 3, 5, 2), InvalidParameter);
    EXPECT_EQ(DrawImageOnHdc(id, win::HDC{}, 0, 0, 8, 4, 3, 5, 2), InvalidParameter);
    // A window the host did not register has no surface to draw on.
    EXPECT_EQ(DrawImageOnHwnd(id, 0x1234, 0, 0, 8, 4, 3, 5, 2), Win32Error);
    EXPECT_EQ(DrawImageRectOnHwnd(id, 0x1234, 0, 0, 8, 4, 0, 0, 2, 1, 3, 5, 2), Win32Error);
    EXPECT_EQ(DrawImageOnHwnd(id, 0x70000001, 0, 0, 8, 4, 3, 5, 2), Win32Error) << "the desktop";
}

constexpr uint32_t kGrey = 0xFF808080;

// What a window shows inside and outside a rectangle.
void ExpectWindowShows(const win::testing::MemoryWindow& window, int width, int height, int left, int top,
                       int right, int bottom, uint32_t inside) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool in = x >= left && x < right && y >= top && y < bottom;
            EXPECT_EQ(window.pixel(x, y) | 0xFF000000, in ? inside : kGrey) << x << "," << y;
        }
}

TEST_F(EngineTest, TheWholeImageLandsInTheWindowsRectangle) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed, kRed});
    win::testing::MemoryWindow window(12, 9, kGrey);
    ASSERT_EQ(DrawImageOnHwnd(id, window.handle(), 3, 2, 6, 4, 3, 5, 2), OK);
    ExpectWindowShows(window, 12, 9, 3, 2, 9, 6, kRed);
    ASSERT_EQ(window.parts.size(), 1u) << "one drawing, one hand-over";
    EXPECT_EQ(window.parts[0], (win::PixelRect{3, 2, 6, 4}));
}

TEST_F(EngineTest, ASourceRectangleLandsInTheWindowsRectangle) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed, kBlue});
    // Partly beyond the right edge: what falls outside the client area is dropped.
    win::testing::MemoryWindow window(10, 5, kGrey);
    ASSERT_EQ(DrawImageRectOnHwnd(id, window.handle(), 7, 1, 4, 3, 1, 0, 1, 1, 3, 5, 2), OK);
    ExpectWindowShows(window, 10, 5, 7, 1, 10, 4, kBlue);
}

TEST_F(EngineTest, AWindowThatCannotBeReadKeepsWhatTheImageLeavesUncovered) {
    // Black too: the colour such a window's context starts with.
    for (const uint32_t colour : {kBlue, kBlack}) {
        const int32_t id = RegisterBitmap(1, 1, gdiplus::PixelFormat24bppRGB);
        SetPixels(id, {colour});
        win::testing::MemoryWindow window(6, 6, kGrey, false);
        ASSERT_EQ(DrawImageOnHwnd(id, window.handle(), 1, 1, 2, 2, 3, 5, 2), OK);
        ExpectWindowShows(window, 6, 6, 1, 1, 3, 3, colour);
    }
}

}  // namespace
}  // namespace scanvelt
