#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/pixel_convert.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::MakeBitmap;
using testing_support::PixelsOf;
using testing_support::RowBytesOf;
using testing_support::SetPixels;

class LockBitsTest : public testing_support::StartedTest {};

bool OnlyGreys(PixelFormat format) {
    return format == PixelFormat1bppIndexed || format == PixelFormat16bppGrayScale;
}

// Colours every format of the pair holds exactly: black and white where a
// side has only greys, else the eight corners of the colour cube (all of them
// in the default palettes).
std::vector<ARGB> ExactColours(PixelFormat a, PixelFormat b, std::size_t count) {
    const std::vector<ARGB> greys = {0xFF000000, 0xFFFFFFFF};
    const std::vector<ARGB> corners = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                       0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    const auto& set = OnlyGreys(a) || OnlyGreys(b) ? greys : corners;
    std::vector<ARGB> colours;
    for (std::size_t i = 0; i < count; ++i) colours.push_back(set[(i * 3 + i / 5) % set.size()]);
    return colours;
}

TEST_F(LockBitsTest, EveryFormatPairRoundTripsThroughALock) {
    constexpr std::int32_t kWidth = 5, kHeight = 3;
    const Rect all{0, 0, kWidth, kHeight};
    for (PixelFormat own : kAllPixelFormats) {
        for (PixelFormat lockFormat : kAllPixelFormats) {
            SCOPED_TRACE(::testing::Message() << std::hex << own << " locked as " << lockFormat);
            const auto colours = ExactColours(own, lockFormat, kWidth * kHeight);
            auto original = MakeBitmap(kWidth, kHeight, own);
            SetPixels(*original, colours);

            // Reading converts into the lock format: the locked pixels show the
            // same colours, indexed ones through the palette the lock refers to.
            BitmapData data;
            ASSERT_EQ(original->LockBits(all, ImageLockModeRead, lockFormat, data), Ok);
            EXPECT_EQ(data.PixelFormat, lockFormat);
            EXPECT_EQ(data.Width, 5u);
            // The bitmap's palette where the lock format can address all of
            // it, else the lock format's own.
            const bool ownPaletteFits = IsIndexedPixelFormat(own) && IsIndexedPixelFormat(lockFormat) &&
                                        GetPixelFormatSize(own) <= GetPixelFormatSize(lockFormat);
            const ColorPalette lockPalette = ownPaletteFits ? DefaultPalette(own) : DefaultPalette(lockFormat);
            std::vector<ARGB> seen;
            for (std::int32_t y = 0; y < kHeight; ++y) {
                std::vector<Argb64> row(kWidth);
                DecodePixels(static_cast<const std::uint8_t*>(data.Scan0) + y * data.Stride, 0, kWidth, lockFormat,
                             lockPalette, row.data());
                for (const auto& p : row) seen.push_back(NarrowArgb(p));
            }
            EXPECT_EQ(seen, colours);
            std::vector<std::uint8_t> locked(static_cast<std::size_t>(data.Stride) * kHeight);
            std::copy_n(static_cast<const std::uint8_t*>(data.Scan0), locked.size(), locked.begin());
            ASSERT_EQ(original->UnlockBits(data), Ok);

            // Writing those pixels into a fresh bitmap gives the first bitmap's
            // pixels back, bit for bit: a save through a caller's buffer is lossless.
            auto copy = MakeBitmap(kWidth, kHeight, own);
            BitmapData user;
            user.Scan0 = locked.data();
            user.Stride = static_cast<std::int32_t>(locked.size() / kHeight);
            ASSERT_EQ(copy->LockBits(all, ImageLockModeWrite | ImageLockModeUserInputBuf, lockFormat, user), Ok);
            ASSERT_EQ(copy->UnlockBits(user), Ok);
            EXPECT_EQ(RowBytesOf(*copy), RowBytesOf(*original));
        }
    }
}

TEST_F(LockBitsTest, ReadInTheOwnFormatPointsIntoTheCallersPixels) {
    std::vector<std::uint8_t> pixels(16 * 4, 0);
    std::unique_ptr<Bitmap> bitmap;
    ASSERT_EQ(Bitmap::FromScan0(5, 4, 16, PixelFormat24bppRGB, pixels.data(), bitmap), Ok);
    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 5, 4}, ImageLockModeRead, PixelFormat24bppRGB, data), Ok);
    EXPECT_EQ(data.Scan0, pixels.data());
    EXPECT_EQ(data.Stride, 16);
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);

    ASSERT_EQ(bitmap->LockBits(Rect{1, 2, 3, 2}, ImageLockModeRead | ImageLockModeWrite, PixelFormat24bppRGB, data), Ok);
    EXPECT_EQ(data.Scan0, pixels.data() + 2 * 16 + 3);
    static_cast<std::uint8_t*>(data.Scan0)[0] = 0x7F;
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);
    EXPECT_EQ(pixels[2 * 16 + 3], 0x7F);
}

TEST_F(LockBitsTest, SubRectangleLocksTouchOnlyTheRectangle) {
    struct Case {
        PixelFormat format;
        Rect rect;
    } cases[] = {
        {PixelFormat1bppIndexed, {3, 1, 7, 2}},  // starts inside a byte
        {PixelFormat4bppIndexed, {1, 0, 3, 3}},
        {PixelFormat24bppRGB, {2, 1, 2, 2}},
        {PixelFormat64bppARGB, {0, 2, 10, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.format);
        auto bitmap = MakeBitmap(10, 3, c.format);
        BitmapData data;
        ASSERT_EQ(bitmap->LockBits(c.rect, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB, data), Ok);
        EXPECT_EQ(data.Width, static_cast<std::uint32_t>(c.rect.Width));
        EXPECT_EQ(data.Height, static_cast<std::uint32_t>(c.rect.Height));
        for (std::int32_t y = 0; y < c.rect.Height; ++y) {
            auto* row = static_cast<std::uint8_t*>(data.Scan0) + y * data.Stride;
            for (std::int32_t x = 0; x < c.rect.Width; ++x) {
                EXPECT_EQ(row[4 * x + 3], IsAlphaPixelFormat(c.format) ? 0x00 : 0xFF);  // as made
                std::fill_n(row + 4 * x, 4, 0xFF);  // white
            }
        }
        ASSERT_EQ(bitmap->UnlockBits(data), Ok);
        const auto pixels = PixelsOf(*bitmap);
        for (std::int32_t y = 0; y < 3; ++y)
            for (std::int32_t x = 0; x < 10; ++x) {
                const bool inside = x >= c.rect.X && x < c.rect.X + c.rect.Width && y >= c.rect.Y &&
                                    y < c.rect.Y + c.rect.Height;
                const ARGB outside = IsAlphaPixelFormat(c.format) ? 0x00000000u : 0xFF000000u;
                EXPECT_EQ(pixels[static_cast<std::size_t>(y * 10 + x)], inside ? 0xFFFFFFFFu : outside)
                    << x << "," << y;
            }
    }
}

TEST_F(LockBitsTest, OwnFormatLockOffAByteBoundaryStartsItsRowsAtBitZero) {
    auto bitmap = MakeBitmap(16, 1, PixelFormat1bppIndexed);
    SetPixels(*bitmap, {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF});
    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(Rect{3, 0, 9, 1}, ImageLockModeRead, PixelFormat1bppIndexed, data), Ok);
    EXPECT_EQ(data.Stride, 4);
    EXPECT_EQ(static_cast<const std::uint8_t*>(data.Scan0)[0], 0b1100'0000);
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);
}

TEST_F(LockBitsTest, UserBuffersMayRunBottomUp) {
    auto bitmap = MakeBitmap(2, 3, PixelFormat8bppIndexed);
    SetPixels(*bitmap, {0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00, 0xFF0000FF, 0xFF0000FF});
    std::vector<std::uint8_t> buffer(3 * 8, 0);
    BitmapData data;
    data.Scan0 = buffer.data() + 2 * 8;  // top row last in memory
    data.Stride = -8;
    ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 2, 3}, ImageLockModeRead | ImageLockModeUserInputBuf,
                               PixelFormat32bppRGB, data),
              Ok);
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);
    EXPECT_EQ(buffer[0], 0xFF);       // bottom row, blue
    EXPECT_EQ(buffer[2 * 8 + 2], 0xFF);  // top row, red
    EXPECT_EQ(buffer[2 * 8], 0x00);
}

TEST_F(LockBitsTest, WritingIntoAnIndexedBitmapPicksTheNearestPaletteEntry) {
    ColorPalette palette;
    palette.Count = 4;
    palette.Entries = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFFFFFFFF};
    for (PixelFormat format : {PixelFormat4bppIndexed, PixelFormat8bppIndexed}) {
        SCOPED_TRACE(::testing::Message() << std::hex << format);
        auto bitmap = MakeBitmap(5, 1, format);
        ASSERT_EQ(bitmap->SetPalette(palette), Ok);
        const std::vector<ARGB> written = {0xFF200000, 0xFFC01010, 0xFF10E010, 0xFFF0F0F0, 0xFF808000};
        BitmapData data;
        data.Scan0 = const_cast<ARGB*>(written.data());
        data.Stride = 20;
        ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 5, 1}, ImageLockModeWrite | ImageLockModeUserInputBuf,
                                   PixelFormat32bppARGB, data),
                  Ok);
        ASSERT_EQ(bitmap->UnlockBits(data), Ok);
        EXPECT_EQ(PixelsOf(*bitmap),
                  (std::vector<ARGB>{0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFFFFFFFF, 0xFFFF0000}));
        EXPECT_EQ(bitmap->GetPixelFormat(), format);
    }
}

TEST_F(LockBitsTest, LockingANonIndexedBitmapAsIndexedUsesTheFormatsDefaultPalette) {
    auto bitmap = MakeBitmap(2, 1, PixelFormat24bppRGB);
    SetPixels(*bitmap, {0xFFFFFFFF, 0xFF000000});
    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 2, 1}, ImageLockModeRead, PixelFormat4bppIndexed, data), Ok);
    EXPECT_EQ(static_cast<const std::uint8_t*>(data.Scan0)[0], 0xF0);
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);
}

TEST_F(LockBitsTest, WriteOnlyLockStoresWhatTheCallerWrote) {
    auto bitmap = MakeBitmap(3, 2, PixelFormat16bppRGB565);
    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(Rect{1, 1, 2, 1}, ImageLockModeWrite, PixelFormat24bppRGB, data), Ok);
    auto* row = static_cast<std::uint8_t*>(data.Scan0);
    const std::uint8_t red[] = {0, 0, 0xFF, 0, 0xFF, 0};
    std::copy(std::begin(red), std::end(red), row);
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);
    EXPECT_EQ(PixelsOf(*bitmap), (std::vector<ARGB>{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFF0000,
                                                     0xFF00FF00}));
}

TEST_F(LockBitsTest, OneLockAtATime) {
    auto bitmap = MakeBitmap(4, 4, PixelFormat32bppARGB);
    BitmapData first, second;
    ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 2, 2}, ImageLockModeRead, PixelFormat24bppRGB, first), Ok);
    EXPECT_EQ(bitmap->LockBits(Rect{2, 2, 2, 2}, ImageLockModeRead, PixelFormat32bppARGB, second), WrongState);
    ARGB colour;
    EXPECT_EQ(bitmap->GetPixel(0, 0, colour), ObjectBusy);
    EXPECT_EQ(bitmap->SetPixel(0, 0, 0), ObjectBusy);
    EXPECT_EQ(bitmap->RotateFlip(Rotate90FlipNone), ObjectBusy);
    std::unique_ptr<Image> clone;
    EXPECT_EQ(bitmap->Clone(clone), ObjectBusy);

    BitmapData stranger = first;
    stranger.Reserved += 1;
    EXPECT_EQ(bitmap->UnlockBits(stranger), InvalidParameter);
    EXPECT_EQ(bitmap->UnlockBits(first), Ok);
    EXPECT_EQ(bitmap->UnlockBits(first), WrongState);
    EXPECT_EQ(bitmap->GetPixel(0, 0, colour), Ok);
}

TEST_F(LockBitsTest, RefusesBadArguments) {
    auto bitmap = MakeBitmap(4, 3, PixelFormat24bppRGB);
    std::vector<std::uint8_t> buffer(64);
    struct Case {
        const char* what;
        Rect rect;
        std::uint32_t flags;
        PixelFormat format;
        void* scan0;
        std::int32_t stride;
    } cases[] = {
        {"no mode", {0, 0, 4, 3}, 0, PixelFormat24bppRGB, nullptr, 0},
        {"buffer only", {0, 0, 4, 3}, ImageLockModeUserInputBuf, PixelFormat24bppRGB, buffer.data(), 16},
        {"unknown mode bit", {0, 0, 4, 3}, ImageLockModeRead | 8, PixelFormat24bppRGB, nullptr, 0},
        {"empty rectangle", {0, 0, 0, 3}, ImageLockModeRead, PixelFormat24bppRGB, nullptr, 0},
        {"past the right", {1, 0, 4, 3}, ImageLockModeRead, PixelFormat24bppRGB, nullptr, 0},
        {"negative origin", {-1, 0, 2, 2}, ImageLockModeRead, PixelFormat24bppRGB, nullptr, 0},
        {"format without pixels", {0, 0, 4, 3}, ImageLockModeRead, PixelFormat32bppCMYK, nullptr, 0},
        {"no format", {0, 0, 4, 3}, ImageLockModeRead, PixelFormatUndefined, nullptr, 0},
        {"user buffer missing", {0, 0, 4, 3}, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat24bppRGB,
         nullptr, 12},
        {"user stride short", {0, 0, 4, 3}, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat24bppRGB,
         buffer.data(), 11},
    };
    for (const auto& c : cases) {
        BitmapData data;
        data.Scan0 = c.scan0;
        data.Stride = c.stride;
        EXPECT_EQ(bitmap->LockBits(c.rect, c.flags, c.format, data), InvalidParameter) << c.what;
    }
    BitmapData data;
    EXPECT_EQ(bitmap->LockBits(Rect{0, 0, 4, 3}, ImageLockModeRead, PixelFormat24bppRGB, data), Ok);
    EXPECT_EQ(bitmap->UnlockBits(data), Ok);
}

// A read lock's buffer is not cleared as a whole (the conversion fills it),
// and may be a page block that held other pixels: the padding of its rows,
// and the unused bits of a 1-bit row's last byte, are zero all the same.
TEST_F(LockBitsTest, AReadLockBufferCarriesNoStaleBytes) {
    struct Case {
        PixelFormat own, lockFormat;
        std::int32_t width, height;
    };
    // 24-bit rows of 1301 pixels leave one byte of padding; 1-bit rows of
    // 8003 pixels end in three unused bits and a byte of padding.
    for (const Case& c : {Case{PixelFormat32bppARGB, PixelFormat24bppRGB, 1301, 1101},
                          Case{PixelFormat24bppRGB, PixelFormat1bppIndexed, 8003, 4500}}) {
        SCOPED_TRACE(c.width);
        auto bitmap = MakeBitmap(c.width, c.height, c.own);
        ASSERT_TRUE(bitmap);
        const auto stride = static_cast<std::size_t>(DefaultStride(c.width, c.lockFormat));
        const std::size_t bytes = stride * static_cast<std::size_t>(c.height);
        for (std::size_t size : {bytes, bytes + 4096}) {
            OwnedBuffer dirty = AllocUninitializedBuffer(size);
            ASSERT_TRUE(dirty);
            std::memset(dirty.get(), 0xFF, size);
        }
        BitmapData data;
        ASSERT_EQ(bitmap->LockBits(Rect{0, 0, c.width, c.height}, ImageLockModeRead, c.lockFormat, data), Ok);
        const std::size_t whole = static_cast<std::size_t>(c.width) * GetPixelFormatSize(c.lockFormat) / 8;
        const auto* rows = static_cast<const std::uint8_t*>(data.Scan0);
        for (std::int32_t y = 0; y < c.height; ++y)
            for (std::size_t i = whole; i < stride; ++i) ASSERT_EQ(rows[y * stride + i], 0) << "row " << y << " byte " << i;
        EXPECT_EQ(bitmap->UnlockBits(data), Ok);
    }
}

}  // namespace
}  // namespace gdiplus
