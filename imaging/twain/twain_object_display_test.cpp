// A host's window drawn on by dispatch ID only: the current image lands in
// the rectangle the host names, and windows the host never registered fail.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/testing/invoke_method.h"
#include "platform/com/variant.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/testing/memory_window.h"

namespace scanvelt {
namespace {

using namespace com;
using typelib::kDispidGetStat;

constexpr DISPID kDisplayImageOnHwnd = 0x60030122;
constexpr DISPID kDisplayImageRectOnHwnd = 0x60030124;
constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr int32_t kNearestNeighbour = 5;

class TwainObjectDisplayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain_)), S_OK); }
    void TearDown() override { EXPECT_EQ(twain_->Release(), 0u); }
    int32_t call(DISPID id, std::vector<int32_t> arguments = {}) {
        std::vector<VARIANT> values;
        for (int32_t argument : arguments) values.push_back(MakeI4(argument));
        VARIANT result;
        EXPECT_EQ(com::testing::InvokeMethod(twain_, id, std::move(values), result), S_OK);
        EXPECT_EQ(result.vt, VT_I4);
        return result.lVal;
    }
    // A current image of two pixels: red, then blue.
    void redThenBlue() {
        const int32_t id = testing_support::RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
        NativeBitmapOf(id)->SetPixel(0, 0, kRed);
        NativeBitmapOf(id)->SetPixel(1, 0, kBlue);
        static_cast<TwainObject*>(twain_)->control().setCurrentImage(id);
    }
    // Every pixel of the window: `left` and `right` colour the two halves of the rectangle, grey elsewhere.
    static void expectShows(const win::testing::MemoryWindow& window, int width, int height, int x0, int y0, int x1,
                            int y1, uint32_t left, uint32_t right) {
        const int middle = (x0 + x1) / 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
                const uint32_t expected = !inside ? kGrey : x < middle ? left : right;
                EXPECT_EQ(window.pixel(x, y) | 0xFF000000, expected) << x << "," << y;
            }
    }

    IDispatch* twain_ = nullptr;
};

TEST_F(TwainObjectDisplayTest, TheCurrentImageIsDrawnIntoTheWindowsRectangle) {
    redThenBlue();
    win::testing::MemoryWindow window(16, 10, kGrey);
    const int32_t handle = static_cast<int32_t>(window.handle());
    EXPECT_EQ(call(kDisplayImageOnHwnd, {handle, 4, 2, 8, 4, kNearestNeighbour}), 0);
    expectShows(window, 16, 10, 4, 2, 12, 6, kRed, kBlue);
    EXPECT_EQ(call(kDispidGetStat), 0);
    // Without the mode the host's default (bilinear) draws as well.
    win::testing::MemoryWindow other(4, 4, kGrey);
    EXPECT_EQ(call(kDisplayImageOnHwnd, {static_cast<int32_t>(other.handle()), 0, 0, 4, 4}), 0);
    EXPECT_EQ(other.pixel(0, 0) | 0xFF000000, kRed);
    EXPECT_EQ(other.pixel(3, 3) | 0xFF000000, kBlue);
}

TEST_F(TwainObjectDisplayTest, ASourceRectangleIsDrawnIntoTheWindowsRectangle) {
    redThenBlue();
    win::testing::MemoryWindow window(9, 7, kGrey);
    const int32_t handle = static_cast<int32_t>(window.handle());
    EXPECT_EQ(call(kDisplayImageRectOnHwnd, {handle, 1, 1, 6, 5, 1, 0, 1, 1, kNearestNeighbour}), 0);
    expectShows(window, 9, 7, 1, 1, 7, 6, kBlue, kBlue);
}

TEST_F(TwainObjectDisplayTest, WindowsTheHostNeverRegisteredAndMissingImagesFail) {
    win::testing::MemoryWindow window(4, 4, kGrey);
    const int32_t handle = static_cast<int32_t>(window.handle());
    EXPECT_EQ(call(kDisplayImageOnHwnd, {handle, 0, 0, 4, 4}), 2) << "no current image";
    EXPECT_EQ(call(kDispidGetStat), 2);
    redThenBlue();
    EXPECT_EQ(call(kDisplayImageOnHwnd, {handle + 1000, 0, 0, 4, 4}), 7);
    EXPECT_EQ(call(kDispidGetStat), 7);
    EXPECT_EQ(call(kDisplayImageRectOnHwnd, {12345, 0, 0, 4, 4, 0, 0, 1, 1}), 7);
    EXPECT_EQ(window.parts.size(), 0u);
    EXPECT_EQ(window.pixel(0, 0), kGrey);
}

}  // namespace
}  // namespace scanvelt
