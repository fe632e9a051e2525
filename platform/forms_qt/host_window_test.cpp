#include "platform/forms_qt/host_window.h"

#include <QPalette>
#include <QTest>
#include <QWidget>
#include <memory>
#include <thread>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/window_surfaces.h"

namespace forms_qt {
namespace {

using testing::settle;

constexpr QRgb kGreen = 0xFF20A040;
constexpr QRgb kRed = 0xFFD02020;

class HostWindowTest : public ::testing::Test, private testing::QtApplicationUser {
protected:
    void SetUp() override {
        widget = std::make_unique<QWidget>();
        QPalette palette;
        palette.setColor(QPalette::Window, QColor::fromRgb(kGreen));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
        widget->resize(40, 30);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    }
    QRgb shown(int x, int y) const { return widget->grab().toImage().pixel(x, y); }

    std::unique_ptr<QWidget> widget;
};

// Paints a rectangle into a window's device context as a drawing would, then gives the context back.
void drawRectangle(uint32_t window, const QRect& r, QRgb colour) {
    const win::HDC dc = win::GetDC(window);
    const auto bitmap = win::FindBitmap(win::SelectedBitmap(dc));
    ASSERT_TRUE(bitmap);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(bitmap->row(y));
        for (int x = r.left(); x <= r.right(); ++x) row[x] = colour;
    }
    EXPECT_EQ(win::ReleaseDC(window, dc), 1);
}

TEST_F(HostWindowTest, AWidgetIsAWindowWhosePixelsAreReadAndDrawnOn) {
    const uint32_t handle = WindowHandleOf(*widget);
    EXPECT_EQ(WindowHandleOf(*widget), handle) << "one handle per widget";
    win::WindowSize size;
    ASSERT_TRUE(win::HostWindowSize(handle, size));
    EXPECT_EQ(size.width, 40);
    EXPECT_EQ(size.height, 30);

    const win::HDC dc = win::GetDC(handle);
    const auto bitmap = win::FindBitmap(win::SelectedBitmap(dc));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(bitmap->row(29) + 39 * 4) | 0xFF000000u, kGreen)
        << "the context starts with what the widget shows";
    win::ReleaseDC(handle, dc);

    drawRectangle(handle, QRect(5, 6, 10, 8), kRed);
    settle();
    EXPECT_EQ(shown(5, 6), kRed);
    EXPECT_EQ(shown(14, 13), kRed);
    EXPECT_EQ(shown(15, 13), kGreen);
    EXPECT_EQ(shown(14, 14), kGreen);
    EXPECT_EQ(shown(4, 6), kGreen);

    // A second drawing keeps the first where it does not cover it.
    drawRectangle(handle, QRect(30, 20, 5, 5), kRed);
    settle();
    EXPECT_EQ(shown(5, 6), kRed);
    EXPECT_EQ(shown(32, 22), kRed);
}

TEST_F(HostWindowTest, WhatAnotherThreadDrawsShowsOnceTheWidgetsThreadRuns) {
    const uint32_t handle = WindowHandleOf(*widget);
    std::thread drawing([handle] { drawRectangle(handle, QRect(20, 10, 4, 4), kRed); });
    drawing.join();
    EXPECT_EQ(shown(21, 11), kGreen) << "not yet: the widget's thread has not run";
    settle();
    EXPECT_EQ(shown(21, 11), kRed);
    EXPECT_EQ(shown(19, 11), kGreen) << "the rest of the window was not read there, and is not overwritten";
}

TEST_F(HostWindowTest, ANewSizeClearsWhatWasDrawnAndTheHandleGoesWithTheWidget) {
    const uint32_t handle = WindowHandleOf(*widget);
    drawRectangle(handle, QRect(0, 0, 10, 10), kRed);
    settle();
    ASSERT_EQ(shown(2, 2), kRed);
    widget->resize(60, 50);
    settle();
    EXPECT_EQ(shown(2, 2), kGreen);
    win::WindowSize size;
    ASSERT_TRUE(win::HostWindowSize(handle, size));
    EXPECT_EQ(size.width, 60);
    drawRectangle(handle, QRect(50, 40, 10, 10), kRed);
    settle();
    EXPECT_EQ(shown(59, 49), kRed);

    widget.reset();
    EXPECT_FALSE(win::IsHostWindow(handle));
    const win::HDC dc = win::GetDC(handle);
    EXPECT_EQ(win::SelectedBitmap(dc), win::HBITMAP{});
    EXPECT_EQ(win::ReleaseDC(handle, dc), 1);
}

}  // namespace
}  // namespace forms_qt
