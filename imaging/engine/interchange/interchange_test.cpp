#include "imaging/engine/interchange/interchange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/global_memory.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {
namespace {

using namespace testing_support;

uint32_t Read32(const uint8_t* at) {
    uint32_t v = 0;
    std::memcpy(&v, at, 4);
    return v;
}

// The handles alive in the process: whatever a test hands out, it must give back.
struct LiveHandles {
    size_t blocks = win::LiveGlobalBlockCount();
    size_t bitmaps = win::LiveBitmapCount();
    size_t icons = win::LiveIconCount();
    size_t pictures = win::LivePictureCount();
    bool operator==(const LiveHandles&) const = default;
};

class Interchange : public EngineTest {
protected:
    void TearDown() override {
        win::SetClipboardService({});
        EngineTest::TearDown();
    }
    std::vector<uint8_t> BlockBytes(win::HGLOBAL block) {
        const auto* bytes = static_cast<const uint8_t*>(win::GlobalLock(block));
        std::vector<uint8_t> copy(bytes, bytes + win::GlobalSize(block));
        win::GlobalUnlock(block);
        return copy;
    }
};

TEST_F(Interchange, AOneBitImageGivesItsTwoColoursAndItsBottomRowFirst) {
    const int32_t id = RegisterBitmap(10, 3, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> pixels(30, 0xFFFFFFFFu);
    pixels[20] = 0xFF000000u;  // bottom row, first pixel
    SetPixels(id, pixels);
    win::HGLOBAL block{};
    ASSERT_EQ(ImageToPackedDib(id, block), OK);
    const std::vector<uint8_t> dib = BlockBytes(block);
    ASSERT_EQ(dib.size(), 40u + 8u + 4u * 3u);
    EXPECT_EQ(Read32(&dib[0]), 40u);
    EXPECT_EQ(Read32(&dib[4]), 10u);
    EXPECT_EQ(Read32(&dib[8]), 3u);
    EXPECT_EQ(dib[14], 1);
    EXPECT_EQ(Read32(&dib[20]), 12u);
    EXPECT_EQ(Read32(&dib[32]), 2u);
    EXPECT_EQ(Read32(&dib[40]), 0xFF000000u);
    EXPECT_EQ(Read32(&dib[44]), 0xFFFFFFFFu);
    EXPECT_EQ(dib[48], 0x7F);  // black pixel 0 of the bottom row is index 0
    EXPECT_EQ(dib[52], 0xFF);
    EXPECT_EQ(win::GlobalFree(block), win::HGLOBAL{});
}

TEST_F(Interchange, A24BitImageOfWidthFiveHasRowsOf16BytesAndNoColourTable) {
    const int32_t id = RegisterBitmap(5, 4, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(SetImageResolution(id, 300, 150, false), OK);
    win::HGLOBAL block{};
    ASSERT_EQ(ImageToPackedDib(id, block), OK);
    const std::vector<uint8_t> dib = BlockBytes(block);
    EXPECT_EQ(dib.size(), 40u + 16u * 4u);
    EXPECT_EQ(dib[14], 24);
    EXPECT_EQ(Read32(&dib[32]), 0u);
    EXPECT_EQ(Read32(&dib[24]), 11811u);  // 300 / 2.54 x 100
    EXPECT_EQ(Read32(&dib[28]), 5906u);   // 5905.5: halves to even
    win::GlobalFree(block);
}

TEST_F(Interchange, APackedDibReadsBackAsTheSamePicture) {
    const int32_t id = RegisterBitmap(7, 5, gdiplus::PixelFormat8bppIndexed);
    std::vector<uint32_t> pixels;
    gdiplus::ColorPalette palette;
    ASSERT_EQ(GetImagePalette(id, palette), OK);
    for (uint32_t i = 0; i < 35; ++i) pixels.push_back(palette.Entries[(i * 11) % 256] | 0xFF000000u);
    SetPixels(id, pixels);
    win::HGLOBAL block{};
    ASSERT_EQ(ImageToPackedDib(id, block), OK);
    int32_t back = 0;
    ASSERT_EQ(ImageFromGdiDib(BlockBytes(block), back), OK);
    EXPECT_EQ(PixelsOf(back), PixelsOf(id));
    win::GlobalFree(block);
}

TEST_F(Interchange, AFailedLockHandsOutNoBlock) {
    const LiveHandles before;
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    gdiplus::BitmapData held;
    ASSERT_EQ(NativeBitmapOf(id)->LockBits(gdiplus::Rect{0, 0, 4, 4}, gdiplus::ImageLockModeRead,
                                           gdiplus::PixelFormat24bppRGB, held),
              gdiplus::Ok);
    win::HGLOBAL block{};
    EXPECT_NE(ImageToPackedDib(id, block), OK);
    EXPECT_EQ(block, win::HGLOBAL{});
    NativeBitmapOf(id)->UnlockBits(held);
    EXPECT_NE(ImageToPackedDib(424242, block), OK);
    EXPECT_EQ(block, win::HGLOBAL{});
    EXPECT_EQ(LiveHandles{}, before);
}

TEST_F(Interchange, ABitmapLaysTransparentPixelsOverTheBackground) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    SetPixels(id, {0x00FF0000u, 0xFF00FF00u});
    win::HBITMAP bitmap{};
    ASSERT_EQ(ImageToHBitmap(id, bitmap, 0xFF0000FFu), OK);
    const auto gdi = win::FindBitmap(bitmap);
    ASSERT_NE(gdi, nullptr);
    EXPECT_EQ(gdi->bitsPerPixel, 32);
    EXPECT_EQ(Read32(gdi->row(0)) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(Read32(gdi->row(0) + 4) & 0xFFFFFFu, 0x00FF00u);
    int32_t back = 0;
    ASSERT_EQ(ImageFromHBitmap(bitmap, win::HPALETTE{}, back), OK);
    EXPECT_TRUE(win::DeleteObject(bitmap));
    win::HBITMAP none{};
    EXPECT_EQ(ImageToHBitmap(424242, none, 0), InvalidParameter);
    EXPECT_EQ(none, win::HBITMAP{});
}

TEST_F(Interchange, AnIconKeepsTheTransparentPixelsTransparent) {
    const int32_t id = RegisterBitmap(3, 2, gdiplus::PixelFormat32bppARGB);
    const std::vector<uint32_t> pixels{0x00000000u, 0xFF112233u, 0xFF445566u, 0xFFFFFFFFu, 0x00000000u, 0xFF000000u};
    SetPixels(id, pixels);
    win::HICON icon{};
    ASSERT_EQ(ImageToHIcon(id, icon), OK);
    int32_t back = 0;
    ASSERT_EQ(ImageFromHIcon(icon, back), OK);
    const std::vector<uint32_t> read = PixelsOf(back);
    ASSERT_EQ(read.size(), pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        if ((pixels[i] >> 24) == 0) {
            EXPECT_EQ(read[i] >> 24, 0u) << i;
        } else {
            EXPECT_EQ(read[i], pixels[i]) << i;
        }
    }
    EXPECT_TRUE(win::DestroyIcon(icon));
    win::HICON none{};
    EXPECT_EQ(ImageToHIcon(424242, none), InvalidParameter);
}

TEST_F(Interchange, APictureOwnsItsBitmapAndAnUnregisteredImageGivesNone) {
    const LiveHandles before;
    const int32_t id = RegisterBitmap(6, 4, gdiplus::PixelFormat24bppRGB);
    win::HPICTURE picture{};
    ASSERT_EQ(ImageToPicture(id, picture), OK);
    win::PictureInfo info;
    ASSERT_TRUE(win::GetPictureInfo(picture, info));
    EXPECT_EQ(info.type, win::PictureType::Bitmap);
    EXPECT_NE(win::FindBitmap(win::HBITMAP{info.handle}), nullptr);
    EXPECT_EQ(win::PictureRelease(picture), 0u);
    EXPECT_EQ(win::FindBitmap(win::HBITMAP{info.handle}), nullptr);

    win::HPICTURE none{};
    EXPECT_EQ(ImageToPicture(424242, none), InvalidParameter);
    EXPECT_EQ(PictureOf(424242), win::HPICTURE{});
    const win::HPICTURE other = PictureOf(id);
    EXPECT_NE(other, win::HPICTURE{});
    win::PictureRelease(other);
    EXPECT_EQ(LiveHandles{}, before);
}

TEST_F(Interchange, TheClipboardGetsABitmapOfTheImageAndNothingIsLeftBehind) {
    const int32_t id = RegisterBitmap(5, 3, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, std::vector<uint32_t>(15, 0xFF204060u));
    std::vector<std::pair<int32_t, int32_t>> put;
    int emptied = 0;
    win::SetClipboardService({[&] {
                                  ++emptied;
                                  return win::ClipboardResult::Done;
                              },
                              [&](const win::GdiBitmap& bitmap) {
                                  put.emplace_back(bitmap.width, bitmap.height);
                                  EXPECT_EQ(Read32(bitmap.row(2) + 4) & 0xFFFFFFu, 0x204060u);
                                  return win::ClipboardResult::Done;
                              }});
    const LiveHandles before;
    EXPECT_EQ(CopyImageToClipboard(id), OK);
    EXPECT_EQ(emptied, 1);
    EXPECT_EQ(put, (std::vector<std::pair<int32_t, int32_t>>{{5, 3}}));
    EXPECT_EQ(LiveHandles{}, before);
}

TEST_F(Interchange, ClipboardFailuresGiveTheirStatusAndLeaveNoHandle) {
    const int32_t id = RegisterBitmap(5, 3, gdiplus::PixelFormat24bppRGB);
    const LiveHandles before;
    EXPECT_EQ(CopyImageToClipboard(id), GenericError);  // no clipboard service
    int emptied = 0;
    win::SetClipboardService({[&] {
                                  ++emptied;
                                  return win::ClipboardResult::NoMemory;
                              },
                              [](const win::GdiBitmap&) { return win::ClipboardResult::Done; }});
    EXPECT_EQ(CopyImageToClipboard(id), OutOfMemory);
    win::SetClipboardService({[] { return win::ClipboardResult::Done; },
                              [](const win::GdiBitmap&) { return win::ClipboardResult::Failed; }});
    EXPECT_EQ(CopyImageToClipboard(id), GenericError);
    // The picture cannot be made: the clipboard is not touched.
    EXPECT_EQ(CopyImageToClipboard(424242), InvalidParameter);
    EXPECT_EQ(emptied, 1);
    EXPECT_EQ(LiveHandles{}, before);
}

}  // namespace
}  // namespace scanvelt
