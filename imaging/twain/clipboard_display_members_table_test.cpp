// The clipboard and display members called by dispatch ID on a page of
// 40 x 30 pixels at 300 x 200 dpi: what reaches the host's clipboard, a
// host's device context or window is the page (or the part asked for) pixel
// for pixel, every coordinate different so that a swapped argument shows.
#include <gtest/gtest.h>

#include <optional>

#include "imaging/twain/testing/memory_clipboard.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/testing/memory_window.h"

namespace scanvelt::testing {
namespace {

using namespace com;

// Nearest-neighbour drawing: at one to one every pixel is the page's own.
constexpr int32_t kNearest = 5;

// A pixel of a bitmap of 24 or 32 bits as 0xRRGGBB.
uint32_t RgbAt(const win::GdiBitmap& bitmap, int32_t x, int32_t y) {
    const uint8_t* p = bitmap.row(y) + static_cast<size_t>(x) * (bitmap.bitsPerPixel / 8);
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

// The part of the page at (srcLeft, srcTop) of `width` x `height` pixels lies
// at (left, top) of the target read through `rgbAt`; the pixels just left of
// and above it are still `fill`.
template <class RgbAtFn>
void ExpectPagePartAt(RgbAtFn rgbAt, int32_t left, int32_t top, int32_t width, int32_t height, int32_t srcLeft,
                      int32_t srcTop, uint32_t fill) {
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            ASSERT_EQ(rgbAt(left + x, top + y), PageAt(srcLeft + x, srcTop + y) & 0xFFFFFF) << x << "," << y;
    EXPECT_EQ(rgbAt(left - 1, top), fill & 0xFFFFFF);
    EXPECT_EQ(rgbAt(left, top - 1), fill & 0xFFFFFF);
    EXPECT_EQ(rgbAt(left + width, top + height - 1), fill & 0xFFFFFF);
    EXPECT_EQ(rgbAt(left + width - 1, top + height), fill & 0xFFFFFF);
}

class ClipboardDisplayTable;

struct ClipboardDisplayRow {
    const char* member;
    void (*run)(ClipboardDisplayTable&);  // starting state, the call and its effect
};

// The page is the current image; an in-memory clipboard stands in for the host's.
class ClipboardDisplayTable : public TwainTable {
public:
    using TwainTable::call;
    using TwainTable::invoke;
    ClipboardDisplayTable() {
        page = testing_support::MakePage(40, 30);
        control().setCurrentImage(page);
    }
    ~ClipboardDisplayTable() override {
        win::SetClipboardService({});
        control().setCurrentImage(0);
        ReleaseImage(page);
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }
    // The member's status, which the control keeps as its last status too.
    int32_t status(const char* member, std::vector<VARIANT> arguments) {
        const int32_t answered = call(member, std::move(arguments)).lVal;
        EXPECT_EQ(call("GetStat").lVal, answered) << member;
        return answered;
    }
    // The held picture has the size given and the page's part from (srcLeft, srcTop).
    void expectHeld(int32_t width, int32_t height, int32_t srcLeft, int32_t srcTop) {
        ASSERT_TRUE(clipboard.held);
        ASSERT_EQ(std::make_pair(clipboard.held->width, clipboard.held->height), std::make_pair(width, height));
        ASSERT_GE(clipboard.held->bitsPerPixel, 24);
        const win::GdiBitmap& bitmap = *clipboard.held;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                ASSERT_EQ(RgbAt(bitmap, x, y), PageAt(srcLeft + x, srcTop + y) & 0xFFFFFF) << x << "," << y;
    }

    int32_t page = 0;
    MemoryClipboard clipboard;
};

// A memory device context over a 32-bit section of 60 x 50 pixels, all `fill`.
class MemoryContext {
public:
    explicit MemoryContext(uint32_t fill) {
        win::BitmapInfoHeader header;
        header.width = 60;
        header.height = -50;
        header.bitCount = 32;
        void* bits = nullptr;
        section_ = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
        std::fill_n(static_cast<uint32_t*>(bits), 60 * 50, fill);
        dc_ = win::CreateCompatibleDC(win::HDC{});
        previous_ = win::SelectObject(dc_, section_);
    }
    ~MemoryContext() {
        win::SelectObject(dc_, previous_);
        win::DeleteDC(dc_);
        win::DeleteObject(section_);
    }
    int32_t handle() const { return static_cast<int32_t>(win::handleValue(dc_)); }
    uint32_t rgbAt(int32_t x, int32_t y) const { return RgbAt(*win::FindBitmap(section_), x, y); }

private:
    win::HBITMAP section_{}, previous_{};
    win::HDC dc_{};
};

constexpr uint32_t kFill = 0xFF5A5A5A;

const ClipboardDisplayRow kClipboardDisplayRows[] = {
    // The whole page with a clipboard; a failure without one.
    {"CopyToClipboard",
     [](ClipboardDisplayTable& t) {
         t.clipboard.install();
         EXPECT_EQ(t.status("CopyToClipboard", {}), 0);
         EXPECT_EQ(t.clipboard.emptied, 1);
         t.expectHeld(40, 30, 0, 0);
         MemoryClipboard::remove();
         EXPECT_NE(t.status("CopyToClipboard", {}), 0);
     }},
    // The rectangle (left, top, width, height), every number different; one
    // reaching past the page is refused and leaves the clipboard alone.
    {"CopyRegionToClipboard",
     [](ClipboardDisplayTable& t) {
         t.clipboard.install();
         EXPECT_EQ(t.status("CopyRegionToClipboard", {MakeI4(5), MakeI4(4), MakeI4(20), MakeI4(9)}), 0);
         t.expectHeld(20, 9, 5, 4);
         EXPECT_NE(t.status("CopyRegionToClipboard", {MakeI4(35), MakeI4(4), MakeI4(20), MakeI4(9)}), 0);
         t.expectHeld(20, 9, 5, 4);
         MemoryClipboard::remove();
         EXPECT_NE(t.status("CopyRegionToClipboard", {MakeI4(5), MakeI4(4), MakeI4(20), MakeI4(9)}), 0);
     }},
    // The clipboard is emptied.
    {"DeleteClipboardData",
     [](ClipboardDisplayTable& t) {
         t.clipboard.install();
         ASSERT_EQ(t.status("CopyToClipboard", {}), 0);
         ASSERT_TRUE(t.clipboard.held);
         t.call("DeleteClipboardData");
         EXPECT_FALSE(t.clipboard.held);
         EXPECT_EQ(t.clipboard.emptied, 2);
         // Without a clipboard there is nothing to empty, and the call still returns.
         MemoryClipboard::remove();
         VARIANT none;
         EXPECT_EQ(t.invoke("DeleteClipboardData", {}, none), S_OK);
     }},
    // The page at (3, 7) one to one on a memory context.
    {"DisplayImageOnHDC",
     [](ClipboardDisplayTable& t) {
         MemoryContext target(kFill);
         EXPECT_EQ(t.status("DisplayImageOnHDC", {MakeI4(target.handle()), MakeI4(3), MakeI4(7), MakeI4(40),
                                                  MakeI4(30), MakeI4(kNearest)}),
                   0);
         ExpectPagePartAt([&](int32_t x, int32_t y) { return target.rgbAt(x, y); }, 3, 7, 40, 30, 0, 0, kFill);
     }},
    // The same on a host's window; a window the host never registered is refused.
    {"DisplayImageOnHwnd",
     [](ClipboardDisplayTable& t) {
         win::testing::MemoryWindow window(60, 50, kFill);
         EXPECT_EQ(t.status("DisplayImageOnHwnd", {MakeI4(static_cast<int32_t>(window.handle())), MakeI4(3),
                                                   MakeI4(7), MakeI4(40), MakeI4(30), MakeI4(kNearest)}),
                   0);
         ExpectPagePartAt([&](int32_t x, int32_t y) { return window.pixel(x, y) & 0xFFFFFF; }, 3, 7, 40, 30, 0, 0,
                          kFill);
         EXPECT_EQ(t.status("DisplayImageOnHwnd", {MakeI4(12345), MakeI4(3), MakeI4(7), MakeI4(40), MakeI4(30),
                                                   MakeI4(kNearest)}),
                   Win32Error);
     }},
    // The page's part at (5, 4) of 20 x 9 at (3, 7) of the context.
    {"DisplayImageRectOnHDC",
     [](ClipboardDisplayTable& t) {
         MemoryContext target(kFill);
         EXPECT_EQ(t.status("DisplayImageRectOnHDC", {MakeI4(target.handle()), MakeI4(3), MakeI4(7), MakeI4(20),
                                                      MakeI4(9), MakeI4(5), MakeI4(4), MakeI4(20), MakeI4(9),
                                                      MakeI4(kNearest)}),
                   0);
         ExpectPagePartAt([&](int32_t x, int32_t y) { return target.rgbAt(x, y); }, 3, 7, 20, 9, 5, 4, kFill);
     }},
    {"DisplayImageRectOnHwnd",
     [](ClipboardDisplayTable& t) {
         win::testing::MemoryWindow window(60, 50, kFill);
         EXPECT_EQ(t.status("DisplayImageRectOnHwnd",
                            {MakeI4(static_cast<int32_t>(window.handle())), MakeI4(3), MakeI4(7), MakeI4(20),
                             MakeI4(9), MakeI4(5), MakeI4(4), MakeI4(20), MakeI4(9), MakeI4(kNearest)}),
                   0);
         ExpectPagePartAt([&](int32_t x, int32_t y) { return window.pixel(x, y) & 0xFFFFFF; }, 3, 7, 20, 9, 5, 4,
                          kFill);
     }},
};
const bool kClipboardDisplayRowsRegistered = RegisterMemberTable("_Twain", kClipboardDisplayRows);

TEST_F(ClipboardDisplayTable, TheClipboardAndTheHostsSurfacesGetThePageOrItsPart) {
    ASSERT_TRUE(kClipboardDisplayRowsRegistered);
    for (const ClipboardDisplayRow& row : kClipboardDisplayRows) {
        SCOPED_TRACE(row.member);
        row.run(*this);
    }
}

}  // namespace
}  // namespace scanvelt::testing
