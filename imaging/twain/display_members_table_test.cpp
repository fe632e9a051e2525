// The members that copy the current image to the clipboard or draw it on a
// host's device context or window, called by dispatch ID on a page of
// 40 x 30 pixels at 300 x 200 dpi whose every pixel differs: each must put
// the part it names where it names, at one pixel for one pixel.
#include <gtest/gtest.h>

#include <optional>

#include "imaging/twain/testing/twain_tables.h"
#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/window_surfaces.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr int32_t kNearest = 5;  // the nearest-neighbour interpolation: pixels kept as they are

uint32_t rgbAt(const uint8_t* row, int32_t x, int32_t bytesPerPixel) {
    const uint8_t* p = row + static_cast<size_t>(x) * bytesPerPixel;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

class DisplayTable : public TwainTable {
protected:
    void SetUp() override {
        page = testing_support::MakePage(40, 30);
        ASSERT_NE(page, 0);
        control().setCurrentImage(page);
    }
    void TearDown() override {
        control().setCurrentImage(0);
        ReleaseImage(page);
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }
    int32_t status(const char* member, std::vector<VARIANT> args) {
        VARIANT r = call(member, std::move(args));
        return r.lVal;
    }

    int32_t page = 0;
};

// ---- The clipboard ------------------------------------------------------------------

class ClipboardTable : public DisplayTable {
public:
    void SetUp() override {
        DisplayTable::SetUp();
        win::SetClipboardService({[this] {
                                      held.reset();
                                      ++emptied;
                                      return win::ClipboardResult::Done;
                                  },
                                  [this](const win::GdiBitmap& bitmap) {
                                      held = bitmap;
                                      return win::ClipboardResult::Done;
                                  }});
    }
    void TearDown() override {
        win::SetClipboardService({});
        DisplayTable::TearDown();
    }
    // The clipboard's picture is `width` x `height` and its corners are the page's from (left, top).
    void expectHeld(int32_t left, int32_t top, int32_t width, int32_t height) {
        ASSERT_TRUE(held);
        ASSERT_EQ(held->width, width);
        ASSERT_EQ(held->height, height);
        const int32_t bytes = held->bitsPerPixel / 8;
        EXPECT_EQ(rgbAt(held->row(0), 0, bytes), PageAt(left, top) & 0xFFFFFF);
        EXPECT_EQ(rgbAt(held->row(height - 1), width - 1, bytes),
                  PageAt(left + width - 1, top + height - 1) & 0xFFFFFF);
    }

    std::optional<win::GdiBitmap> held;
    int emptied = 0;
};

struct ClipboardRow {
    const char* member;
    std::vector<RowArgument> args;
    void (*effect)(ClipboardTable&, int32_t result);
};

const ClipboardRow kClipboardRows[] = {
    {"CopyToClipboard", {},
     [](ClipboardTable& t, int32_t r) {
         EXPECT_EQ(r, 0);
         t.expectHeld(0, 0, 40, 30);
     }},
    // 10 x 20 pixels from (5, 7).
    {"CopyRegionToClipboard", {int32_t{5}, int32_t{7}, int32_t{10}, int32_t{20}},
     [](ClipboardTable& t, int32_t r) {
         EXPECT_EQ(r, 0);
         t.expectHeld(5, 7, 10, 20);
     }},
    // Reaching beyond the page's right edge: refused, the clipboard untouched.
    {"CopyRegionToClipboard", {int32_t{35}, int32_t{5}, int32_t{10}, int32_t{20}},
     [](ClipboardTable& t, int32_t r) {
         EXPECT_NE(r, 0);
         EXPECT_FALSE(t.held);
     }},
    {"DeleteClipboardData", {},
     [](ClipboardTable& t, int32_t) {
         EXPECT_EQ(t.emptied, 1);
         EXPECT_FALSE(t.held);
     }},
};
const bool kClipboardRowsRegistered = RegisterMemberTable("_Twain", kClipboardRows);

TEST_F(ClipboardTable, EachCopyPutsItsOwnPartOnTheClipboard) {
    ASSERT_TRUE(kClipboardRowsRegistered);
    for (const ClipboardRow& row : kClipboardRows) {
        SCOPED_TRACE(row.member);
        held.reset();
        emptied = 0;
        if (std::string(row.member) == "DeleteClipboardData") {
            VARIANT copied = call("CopyToClipboard");
            ASSERT_TRUE(held);
            emptied = 0;
            VariantClear(&copied);
        }
        std::vector<VARIANT> args;
        for (const auto& a : row.args) args.push_back(VariantOfArgument(a));
        VARIANT r = call(row.member, std::move(args));
        row.effect(*this, r.vt == VT_I4 ? r.lVal : 0);
        VariantClear(&r);
    }
}

// ---- Drawing on a device context or a window -------------------------------------

// A surface of 100 x 80 pixels, black, as a memory context or a host's window.
struct Surface {
    std::vector<uint8_t> window = std::vector<uint8_t>(100 * 80 * 4, 0);  // what the window shows
    uint32_t handle = 0;                                                   // a context or a window
    win::HDC dc{};
    win::HBITMAP bitmap{};
    win::HWND hwnd{};
    uint32_t pixel(int32_t x, int32_t y) const {
        if (dc != win::HDC{}) {
            std::shared_ptr<win::GdiBitmap> b = win::FindBitmap(bitmap);
            return b ? rgbAt(b->row(y), x, b->bitsPerPixel / 8) : 0xDEADu;
        }
        return rgbAt(window.data() + static_cast<size_t>(y) * 400, x, 4);
    }
};

void makeContext(Surface& s) {
    win::GdiBitmap b;
    b.width = 100;
    b.height = 80;
    b.bitsPerPixel = 32;
    b.topDown = true;
    b.stride = 400;
    b.bits.assign(400 * 80, 0);
    s.bitmap = win::AddBitmap(b);
    s.dc = win::CreateCompatibleDC(win::HDC{});
    win::SelectObject(s.dc, s.bitmap);
    s.handle = win::handleValue(s.dc);
}
void makeWindow(Surface& s) {
    win::WindowSurface surface;
    surface.clientSize = [] { return win::WindowSize{100, 80}; };
    surface.writePixels = [&s](const win::ConstWindowPixels& from, const win::PixelRect& part) {
        for (int32_t y = part.top; y < part.top + part.height; ++y)
            for (int32_t x = part.left; x < part.left + part.width; ++x) {
                const uint8_t* p = from.bits + static_cast<size_t>(y) * from.stride + static_cast<size_t>(x) * 4;
                if (p[3] != 0) std::copy(p, p + 4, s.window.begin() + (static_cast<size_t>(y) * 100 + x) * 4);
            }
    };
    s.hwnd = win::RegisterHostWindow(surface);
    s.handle = win::handleValue(s.hwnd);
}
void dropSurface(Surface& s) {
    if (s.dc != win::HDC{}) win::DeleteDC(s.dc);
    if (s.bitmap != win::HBITMAP{}) win::DeleteObject(s.bitmap);
    if (s.hwnd != win::HWND{}) win::UnregisterHostWindow(s.hwnd);
}

struct DrawRow {
    const char* member;
    bool window;
    std::vector<int32_t> args;  // after the handle
    // Where the page's pixel (0, 0) lands, and how big the drawn part is.
    int32_t x, y, width, height;
    int32_t sourceLeft, sourceTop;
};

const DrawRow kDrawRows[] = {
    {"DisplayImageOnHDC", false, {10, 20, 40, 30, kNearest}, 10, 20, 40, 30, 0, 0},
    {"DisplayImageOnHwnd", true, {10, 20, 40, 30, kNearest}, 10, 20, 40, 30, 0, 0},
    // The page's 15 x 12 pixels from (6, 4) drawn at (30, 5).
    {"DisplayImageRectOnHDC", false, {30, 5, 15, 12, 6, 4, 15, 12, kNearest}, 30, 5, 15, 12, 6, 4},
    {"DisplayImageRectOnHwnd", true, {30, 5, 15, 12, 6, 4, 15, 12, kNearest}, 30, 5, 15, 12, 6, 4},
};
const bool kDrawRowsRegistered = RegisterMemberTable("_Twain", kDrawRows);

TEST_F(DisplayTable, EachDrawingPutsItsPartWhereItNames) {
    ASSERT_TRUE(kDrawRowsRegistered);
    for (const DrawRow& row : kDrawRows) {
        SCOPED_TRACE(row.member);
        Surface s;
        if (row.window) makeWindow(s);
        else makeContext(s);
        ASSERT_NE(s.handle, 0u);
        std::vector<VARIANT> args{MakeI4(static_cast<int32_t>(s.handle))};
        for (int32_t a : row.args) args.push_back(MakeI4(a));
        EXPECT_EQ(status(row.member, std::move(args)), 0);
        const int32_t right = row.width - 1, bottom = row.height - 1;
        EXPECT_EQ(s.pixel(row.x, row.y), PageAt(row.sourceLeft, row.sourceTop) & 0xFFFFFF);
        EXPECT_EQ(s.pixel(row.x + right, row.y + bottom), PageAt(row.sourceLeft + right, row.sourceTop + bottom) & 0xFFFFFF);
        EXPECT_EQ(s.pixel(row.x + 3, row.y + 2), PageAt(row.sourceLeft + 3, row.sourceTop + 2) & 0xFFFFFF);
        EXPECT_EQ(s.pixel(row.x - 1, row.y), 0u) << "nothing left of it";
        EXPECT_EQ(s.pixel(row.x, row.y + row.height), 0u) << "nothing below it";
        dropSurface(s);
    }
}

}  // namespace
}  // namespace scanvelt::testing
