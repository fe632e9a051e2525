#include "platform/win/window_surfaces.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/win/gdi_bitmap.h"
#include "platform/win/testing/memory_window.h"

namespace win {
namespace {

using testing::MemoryWindow;

constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kRed = 0xFFFF0000;

struct Buffer {
    Buffer(int32_t w, int32_t h, uint32_t fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    ConstWindowPixels from() const {
        return {reinterpret_cast<const uint8_t*>(pixels.data()), pixels.size() * 4, width, height,
                static_cast<uint32_t>(width) * 4};
    }
    WindowPixels to() {
        return {reinterpret_cast<uint8_t*>(pixels.data()), pixels.size() * 4, width, height,
                static_cast<uint32_t>(width) * 4};
    }
    int count(uint32_t value) const {
        int n = 0;
        for (uint32_t p : pixels) n += p == value;
        return n;
    }
    int32_t width, height;
    std::vector<uint32_t> pixels;
};

TEST(CopyPixelRect, CopiesOnlyThePartInsideBothBuffers) {
    struct Case {
        const char* what;
        PixelRect part;
        bool copied;
        int pixels;  // red pixels in the 6 x 4 destination afterwards
    };
    const Case cases[] = {
        {"inside both", {1, 1, 2, 2}, true, 4},
        {"beyond the smaller source", {3, 0, 3, 4}, true, 2 * 3},
        {"from left of the origin", {-2, -1, 3, 2}, true, 1},
        {"wholly outside", {6, 0, 2, 2}, false, 0},
        {"empty", {1, 1, 0, 3}, false, 0},
        {"negative size", {2, 2, -1, -1}, false, 0},
        {"sizes at the 32-bit limit", {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, false, 0},
        {"reaching past the 32-bit limit", {1, 2, INT32_MAX, INT32_MAX}, true, 4 * 1},
    };
    for (const Case& c : cases) {
        const Buffer source(5, 3, kRed);
        Buffer target(6, 4, kGrey);
        EXPECT_EQ(CopyPixelRect(source.from(), target.to(), c.part), c.copied) << c.what;
        EXPECT_EQ(target.count(kRed), c.pixels) << c.what;
    }
}

TEST(CopyPixelRect, RefusesBuffersShorterThanTheirShape) {
    const Buffer source(4, 4, kRed);
    Buffer target(4, 4, kGrey);
    const PixelRect all{0, 0, 4, 4};
    ConstWindowPixels shortSource = source.from();
    shortSource.bytes -= 1;
    EXPECT_FALSE(CopyPixelRect(shortSource, target.to(), all));
    WindowPixels narrowStride = target.to();
    narrowStride.stride = 12;
    EXPECT_FALSE(CopyPixelRect(source.from(), narrowStride, all));
    WindowPixels tooTall = target.to();
    tooTall.height = 5;
    EXPECT_FALSE(CopyPixelRect(source.from(), tooTall, all));
    EXPECT_FALSE(CopyPixelRect(ConstWindowPixels{}, target.to(), all));
    EXPECT_EQ(target.count(kRed), 0);
    // The last row needs only its pixels, not a whole stride.
    WindowPixels paddedStride = target.to();
    paddedStride.stride = 20;
    paddedStride.height = 3;
    EXPECT_TRUE(CopyPixelRect(source.from(), paddedStride, all));
}

TEST(CopyDrawnPixels, TakesOnlyPixelsWhoseFourthByteIsSetAndMakesThemOpaque) {
    Buffer source(4, 1, 0);
    source.pixels = {0x01FF0000, 0x00FF0000, 0xFF0000FF, 0x00000000};
    Buffer target(4, 1, kGrey);
    EXPECT_TRUE(CopyDrawnPixels(source.from(), target.to(), {0, 0, 4, 1}));
    EXPECT_EQ(target.pixels, (std::vector<uint32_t>{kRed, kGrey, 0xFF0000FF, kGrey}));
    // The same clipping and checks as a plain copy.
    EXPECT_FALSE(CopyDrawnPixels(source.from(), target.to(), {4, 0, 1, 1}));
    ConstWindowPixels shortSource = source.from();
    shortSource.bytes = 15;
    EXPECT_FALSE(CopyDrawnPixels(shortSource, target.to(), {0, 0, 4, 1}));
}

TEST(HostWindows, AreWindowHandlesOfTheirOwnUntilUnregistered) {
    uint32_t first = 0;
    {
        MemoryWindow window(3, 2, kGrey);
        first = window.handle();
        EXPECT_EQ(handleKindOf(first), HandleKind::Window);
        EXPECT_NE(first, static_cast<uint32_t>(GetDesktopWindow()));
        MemoryWindow other(1, 1, kGrey);
        EXPECT_NE(other.handle(), first);
        EXPECT_TRUE(IsHostWindow(first));
        WindowSize size;
        ASSERT_TRUE(HostWindowSize(first, size));
        EXPECT_EQ(size.width, 3);
        EXPECT_EQ(size.height, 2);
    }
    EXPECT_FALSE(IsHostWindow(first));
    MemoryWindow later(3, 2, kGrey);
    EXPECT_NE(later.handle(), first) << "a gone window's handle is not handed out again";
    WindowSize size;
    EXPECT_FALSE(HostWindowSize(first, size));
    EXPECT_FALSE(IsHostWindow(static_cast<uint32_t>(GetDesktopWindow())));
    EXPECT_EQ(RegisterHostWindow(WindowSurface{[] { return WindowSize{1, 1}; }, {}, {}}), HWND{})
        << "a window must take what is drawn";
}

// Paints a rectangle of the context's bitmap as a drawing would.
void paint(HDC dc, const PixelRect& r, uint32_t colour) {
    const auto bitmap = FindBitmap(SelectedBitmap(dc));
    ASSERT_TRUE(bitmap);
    for (int32_t y = r.top; y < r.top + r.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(bitmap->row(y));
        for (int32_t x = r.left; x < r.left + r.width; ++x) row[x] = colour;
    }
}

TEST(HostWindows, AContextHoldsTheWindowAndGivesBackWhatWasDrawn) {
    MemoryWindow window(8, 6, kGrey);
    const size_t bitmapsBefore = LiveBitmapCount();
    const HDC dc = GetDC(window.handle());
    ASSERT_NE(dc, HDC{});
    const auto bitmap = FindBitmap(SelectedBitmap(dc));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 8);
    EXPECT_EQ(bitmap->height, 6);
    EXPECT_EQ(bitmap->bitsPerPixel, 32);
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(bitmap->row(5) + 7 * 4) | 0xFF000000u, kGrey)
        << "filled with what the window shows";
    EXPECT_FALSE(DeleteObject(SelectedBitmap(dc))) << "the context's bitmap is not the caller's";

    paint(dc, {2, 1, 3, 4}, kRed);
    EXPECT_EQ(window.pixel(2, 1), kGrey) << "nothing reaches the window before the context is given back";
    EXPECT_EQ(ReleaseDC(window.handle(), dc), 1);
    ASSERT_EQ(window.parts.size(), 1u);
    EXPECT_EQ(window.parts[0], (win::PixelRect{2, 1, 3, 4}));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 5;
            EXPECT_EQ(window.pixel(x, y), inside ? kRed : kGrey) << x << "," << y;
        }
    EXPECT_EQ(LiveBitmapCount(), bitmapsBefore);
    EXPECT_EQ(ReleaseDC(window.handle(), dc), 0) << "given back once";
}

TEST(HostWindows, AWindowThatCannotBeReadGetsOnlyWhatWasDrawn) {
    MemoryWindow window(4, 4, kGrey, false);
    const HDC dc = GetDC(window.handle());
    paint(dc, {3, 3, 1, 1}, kRed);
    EXPECT_EQ(ReleaseDC(window.handle(), dc), 1);
    ASSERT_EQ(window.parts.size(), 1u);
    EXPECT_EQ(window.pixel(3, 3), kRed);
    EXPECT_EQ(window.pixel(0, 0), kGrey) << "the black the context started with stays out of the window";

    const HDC again = GetDC(window.handle());
    paint(again, {0, 0, 1, 1}, kRed);
    EXPECT_EQ(ReleaseDC(window.handle(), again), 1);
    ASSERT_EQ(window.parts.size(), 2u);
    EXPECT_EQ(window.pixel(0, 0), kRed) << "red drawn over the black the context started with";

    // Two spots far apart: the window between them keeps what it showed.
    const HDC spots = GetDC(window.handle());
    paint(spots, {0, 3, 1, 1}, kRed);
    paint(spots, {3, 0, 1, 1}, kRed);
    EXPECT_EQ(ReleaseDC(window.handle(), spots), 1);
    EXPECT_EQ(window.parts.back(), (PixelRect{0, 0, 4, 4}));
    EXPECT_EQ(window.pixel(0, 3), kRed);
    EXPECT_EQ(window.pixel(3, 0), kRed);
    EXPECT_EQ(window.pixel(1, 1), kGrey);
    EXPECT_EQ(window.pixel(2, 2), kGrey);

    const HDC untouched = GetDC(window.handle());
    EXPECT_EQ(ReleaseDC(window.handle(), untouched), 1);
    EXPECT_EQ(window.parts.size(), 3u) << "nothing drawn, nothing handed over";
}

TEST(HostWindows, WhatIsDrawnGoesBackEvenInTheColourTheWindowShowed) {
    MemoryWindow window(5, 5, kGrey);
    const HDC dc = GetDC(window.handle());
    paint(dc, {1, 2, 2, 1}, kGrey);
    EXPECT_EQ(ReleaseDC(window.handle(), dc), 1);
    ASSERT_EQ(window.parts.size(), 1u);
    EXPECT_EQ(window.parts[0], (win::PixelRect{1, 2, 2, 1}));
}

TEST(HostWindows, UnknownAndVanishedWindowsFailCleanly) {
    const HDC unknown = GetDC(0x70001234);
    ASSERT_NE(unknown, HDC{});
    EXPECT_EQ(SelectedBitmap(unknown), HBITMAP{}) << "no pixels to draw on";
    EXPECT_EQ(ReleaseDC(0x70001234, unknown), 1);

    const size_t bitmapsBefore = LiveBitmapCount();
    auto window = std::make_unique<MemoryWindow>(4, 4, kGrey);
    const uint32_t handle = window->handle();
    const HDC dc = GetDC(handle);
    paint(dc, {0, 0, 2, 2}, kRed);
    window.reset();
    EXPECT_EQ(ReleaseDC(handle, dc), 1) << "the window went while the context was out";
    EXPECT_EQ(LiveBitmapCount(), bitmapsBefore);
}

}  // namespace
}  // namespace win
