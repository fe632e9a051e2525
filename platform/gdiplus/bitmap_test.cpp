#include "platform/gdiplus/bitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::MakeBitmap;
using testing_support::PixelsOf;
using testing_support::SetPixels;

class BitmapTest : public testing_support::StartedTest {};

TEST_F(BitmapTest, NewBitmapsAreZeroedWithTheDefaults) {
    for (PixelFormat format : kAllPixelFormats) {
        SCOPED_TRACE(::testing::Message() << std::hex << format);
        auto bitmap = MakeBitmap(3, 2, format);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->GetType(), ImageTypeBitmap);
        EXPECT_EQ(bitmap->GetWidth(), 3u);
        EXPECT_EQ(bitmap->GetHeight(), 2u);
        EXPECT_EQ(bitmap->GetPixelFormat(), format);
        EXPECT_EQ(bitmap->GetHorizontalResolution(), 96.0f);
        EXPECT_EQ(bitmap->GetRawFormat(), ImageFormatMemoryBMP);
        ColorPalette palette;
        ASSERT_EQ(bitmap->GetPalette(palette), Ok);
        EXPECT_EQ(palette, DefaultPalette(format));
        EXPECT_EQ(bitmap->GetPaletteSize(), ColorPalette::SizeFor(palette.Count));
        const ARGB zero = IsAlphaPixelFormat(format) ? 0x00000000 : 0xFF000000;
        EXPECT_EQ(PixelsOf(*bitmap), std::vector<ARGB>(6, zero));
    }
}

TEST_F(BitmapTest, CreateRefusesWhatCannotBeMade) {
    struct Case {
        std::int32_t width, height;
        PixelFormat format;
        Status status;
    } cases[] = {
        {0, 5, PixelFormat24bppRGB, InvalidParameter},
        {5, -1, PixelFormat24bppRGB, InvalidParameter},
        {5, 5, PixelFormat32bppCMYK, InvalidParameter},
        {5, 5, PixelFormatUndefined, InvalidParameter},
        {65536, 65536, PixelFormat32bppARGB, OutOfMemory},  // 16 GiB
    };
    for (const auto& c : cases) {
        std::unique_ptr<Bitmap> bitmap;
        EXPECT_EQ(Bitmap::Create(c.width, c.height, c.format, bitmap), c.status) << c.width << "x" << c.height;
        EXPECT_FALSE(bitmap);
    }
}

TEST_F(BitmapTest, BorrowedPixelsStayTheCallers) {
    std::vector<std::uint8_t> pixels = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0,   // red, green
                                        0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0};  // blue, white
    {
        std::unique_ptr<Bitmap> bitmap;
        ASSERT_EQ(Bitmap::FromScan0(2, 2, 8, PixelFormat24bppRGB, pixels.data(), bitmap), Ok);
        EXPECT_EQ(PixelsOf(*bitmap), (std::vector<ARGB>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
        ASSERT_EQ(bitmap->SetPixel(1, 1, 0xFF102030), Ok);
    }
    EXPECT_EQ(pixels[11], 0x30);  // the write reached the caller's memory, which outlived the bitmap
}

TEST_F(BitmapTest, BottomUpRowsReadTopRowFirst) {
    std::vector<std::uint8_t> pixels = {0, 0, 0, 0,      // bottom row in memory
                                        0xFF, 0, 0, 0};  // top row
    std::unique_ptr<Bitmap> bitmap;
    ASSERT_EQ(Bitmap::FromScan0(1, 2, -4, PixelFormat8bppIndexed, pixels.data() + 4, bitmap), Ok);
    EXPECT_EQ(PixelsOf(*bitmap), (std::vector<ARGB>{0xFFFFFFFF, 0xFF000000}));
}

TEST_F(BitmapTest, FromScan0RefusesBadLayouts) {
    std::vector<std::uint8_t> pixels(64);
    struct Case {
        std::int32_t stride;
        PixelFormat format;
    } cases[] = {
        {6, PixelFormat24bppRGB},   // not a multiple of 4
        {4, PixelFormat24bppRGB},   // shorter than a row of 2 pixels
        {-4, PixelFormat24bppRGB},
        {8, PixelFormat32bppCMYK},
    };
    for (const auto& c : cases) {
        std::unique_ptr<Bitmap> bitmap;
        EXPECT_EQ(Bitmap::FromScan0(2, 2, c.stride, c.format, pixels.data(), bitmap), InvalidParameter) << c.stride;
    }
    std::unique_ptr<Bitmap> allocated;
    ASSERT_EQ(Bitmap::FromScan0(2, 2, 0, PixelFormat24bppRGB, nullptr, allocated), Ok);
    EXPECT_EQ(allocated->GetWidth(), 2u);
}

TEST_F(BitmapTest, OwnedPixelsAreFreedWithTheBitmap) {
    OwnedBuffer pixels = AllocBuffer(8);
    pixels[0] = 0x01;
    std::unique_ptr<Bitmap> bitmap;
    ASSERT_EQ(Bitmap::FromOwnedScan0(2, 2, 4, PixelFormat8bppIndexed, std::move(pixels), bitmap), Ok);
    ARGB colour;
    ASSERT_EQ(bitmap->GetPixel(0, 0, colour), Ok);
    EXPECT_EQ(colour, 0xFF800000u);  // entry 1 of the halftone palette
    bitmap.reset();                  // the leak checker would see a block left behind

    std::unique_ptr<Bitmap> refused;
    EXPECT_EQ(Bitmap::FromOwnedScan0(2, 2, -4, PixelFormat8bppIndexed, AllocBuffer(8), refused), InvalidParameter);
    EXPECT_EQ(Bitmap::FromOwnedScan0(2, 2, 4, PixelFormat8bppIndexed, nullptr, refused), InvalidParameter);
}

TEST_F(BitmapTest, PixelsOutsideTheBitmapAreRefused) {
    auto bitmap = MakeBitmap(3, 2, PixelFormat32bppARGB);
    ARGB colour;
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
        EXPECT_EQ(bitmap->GetPixel(x, y, colour), InvalidParameter) << x << "," << y;
        EXPECT_EQ(bitmap->SetPixel(x, y, 0), InvalidParameter) << x << "," << y;
    }
}

TEST_F(BitmapTest, SetPixelOnAnIndexedBitmapTakesTheNearestEntry) {
    auto bitmap = MakeBitmap(2, 1, PixelFormat1bppIndexed);
    SetPixels(*bitmap, {0xFFD0D0D0, 0xFF303030});
    EXPECT_EQ(PixelsOf(*bitmap), (std::vector<ARGB>{0xFFFFFFFF, 0xFF000000}));
}

TEST_F(BitmapTest, ResolutionMustBePositive) {
    auto bitmap = MakeBitmap(1, 1, PixelFormat24bppRGB);
    ASSERT_EQ(bitmap->SetResolution(72.5f, 300.0f), Ok);
    EXPECT_EQ(bitmap->GetHorizontalResolution(), 72.5f);
    EXPECT_EQ(bitmap->GetVerticalResolution(), 300.0f);
    EXPECT_EQ(bitmap->SetResolution(0.0f, 300.0f), InvalidParameter);
    EXPECT_EQ(bitmap->SetResolution(300.0f, -1.0f), InvalidParameter);
    EXPECT_EQ(bitmap->SetResolution(std::nanf(""), 300.0f), InvalidParameter);
    EXPECT_EQ(bitmap->GetHorizontalResolution(), 72.5f);
}

TEST_F(BitmapTest, PaletteRoundTripsAndRecolours) {
    auto bitmap = MakeBitmap(1, 1, PixelFormat8bppIndexed);
    ColorPalette grey;
    grey.Flags = PaletteFlagsGrayScale;
    grey.Count = 256;
    for (std::uint32_t i = 0; i < 256; ++i) grey.Entries[i] = MakeARGB(0xFF, i, i, i);
    ASSERT_EQ(bitmap->SetPalette(grey), Ok);
    ColorPalette back;
    ASSERT_EQ(bitmap->GetPalette(back), Ok);
    EXPECT_EQ(back, grey);
    EXPECT_EQ(bitmap->GetPaletteSize(), 1032u);
    ASSERT_EQ(bitmap->SetPixel(0, 0, 0xFF404040), Ok);
    ARGB colour;
    ASSERT_EQ(bitmap->GetPixel(0, 0, colour), Ok);
    EXPECT_EQ(colour, 0xFF404040u);

    ColorPalette tooLong;
    tooLong.Count = 257;
    EXPECT_EQ(bitmap->SetPalette(tooLong), InvalidParameter);
}

TEST_F(BitmapTest, CloneCopiesEverything) {
    auto bitmap = MakeBitmap(3, 2, PixelFormat4bppIndexed);
    SetPixels(*bitmap, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080});
    ASSERT_EQ(bitmap->SetResolution(200.0f, 100.0f), Ok);
    ASSERT_EQ(bitmap->SetPropertyItem(PropertyItem{0x10F, 4, PropertyTagTypeASCII, {'A', 'c', 'm', 0}}), Ok);
    bitmap->SetRawFormat(ImageFormatTIFF);

    std::unique_ptr<Image> clone;
    ASSERT_EQ(bitmap->Clone(clone), Ok);
    auto* copy = dynamic_cast<Bitmap*>(clone.get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(PixelsOf(*copy), PixelsOf(*bitmap));
    EXPECT_EQ(copy->GetPixelFormat(), PixelFormat4bppIndexed);
    EXPECT_EQ(copy->GetHorizontalResolution(), 200.0f);
    EXPECT_EQ(copy->GetVerticalResolution(), 100.0f);
    EXPECT_EQ(copy->GetAllPropertyItems(), bitmap->GetAllPropertyItems());
    EXPECT_EQ(copy->GetRawFormat(), ImageFormatTIFF);

    ASSERT_EQ(copy->SetPixel(0, 0, 0xFF000000), Ok);  // the copy has pixels of its own
    ARGB colour;
    ASSERT_EQ(bitmap->GetPixel(0, 0, colour), Ok);
    EXPECT_EQ(colour, 0xFFFF0000u);
}

TEST_F(BitmapTest, CloneAreaConvertsTheRectangle) {
    auto bitmap = MakeBitmap(3, 2, PixelFormat24bppRGB);
    SetPixels(*bitmap, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFF00});
    ASSERT_EQ(bitmap->SetResolution(150.0f, 150.0f), Ok);
    ASSERT_EQ(bitmap->SetPropertyItem(PropertyItem{0x10F, 1, PropertyTagTypeASCII, {0}}), Ok);

    std::unique_ptr<Bitmap> area;
    ASSERT_EQ(bitmap->CloneArea(Rect{1, 0, 2, 2}, PixelFormat8bppIndexed, area), Ok);
    EXPECT_EQ(area->GetWidth(), 2u);
    EXPECT_EQ(area->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(PixelsOf(*area), (std::vector<ARGB>{0xFF00FF00, 0xFF0000FF, 0xFF000000, 0xFFFFFF00}));
    EXPECT_EQ(area->GetHorizontalResolution(), 150.0f);
    EXPECT_EQ(area->GetPropertyCount(), 0u);
    ColorPalette palette;
    ASSERT_EQ(area->GetPalette(palette), Ok);
    EXPECT_EQ(palette, DefaultPalette(PixelFormat8bppIndexed));

    std::unique_ptr<Bitmap> same;
    ASSERT_EQ(bitmap->CloneArea(Rect{0, 1, 3, 1}, PixelFormatDontCare, same), Ok);
    EXPECT_EQ(same->GetPixelFormat(), PixelFormat24bppRGB);
}

TEST_F(BitmapTest, CloneAreaRefusesRectanglesThatAreEmptyOrNotInside) {
    auto bitmap = MakeBitmap(4, 3, PixelFormat32bppARGB);
    const Rect refused[] = {{0, 0, 0, 3}, {0, 0, 4, 0}, {0, 0, -1, 2}, {-1, 0, 2, 2}, {0, -1, 2, 2},
                            {3, 0, 2, 1}, {0, 2, 1, 2}, {4, 0, 1, 1}, {INT32_MAX, 0, 1, 1}};
    for (const Rect& rect : refused) {
        std::unique_ptr<Bitmap> area;
        EXPECT_EQ(bitmap->CloneArea(rect, PixelFormat32bppARGB, area), InvalidParameter)
            << rect.X << "," << rect.Y << " " << rect.Width << "x" << rect.Height;
        EXPECT_FALSE(area);
    }
    std::unique_ptr<Bitmap> area;
    EXPECT_EQ(bitmap->CloneArea(Rect{0, 0, 4, 3}, PixelFormat32bppCMYK, area), InvalidParameter);
    EXPECT_EQ(bitmap->CloneArea(Rect{3, 2, 1, 1}, PixelFormat32bppARGB, area), Ok);
}

TEST(BitmapWithoutStartup, FactoriesNeedTheLayerStarted) {
    ASSERT_FALSE(IsStarted());
    std::unique_ptr<Bitmap> bitmap;
    EXPECT_EQ(Bitmap::Create(1, 1, PixelFormat24bppRGB, bitmap), GdiplusNotInitialized);
    std::uint8_t pixels[4] = {};
    EXPECT_EQ(Bitmap::FromScan0(1, 1, 4, PixelFormat24bppRGB, pixels, bitmap), GdiplusNotInitialized);
    {
        ScopedStartup startup;
        EXPECT_EQ(Bitmap::Create(1, 1, PixelFormat24bppRGB, bitmap), Ok);
    }
    EXPECT_FALSE(IsStarted());
    ARGB colour;
    EXPECT_EQ(bitmap->GetPixel(0, 0, colour), Ok);  // what was made keeps working
}

}  // namespace
}  // namespace gdiplus

namespace gdiplus {
namespace {

// A page-sized conversion is split into bands of rows on several threads:
// it gives what converting one row at a time gives, both ways.
TEST_F(BitmapTest, PageSizedConversionsMatchRowByRowOnes) {
    constexpr std::int32_t kWidth = 1531, kHeight = 1100;
    const std::pair<PixelFormat, PixelFormat> pairs[] = {
        {PixelFormat24bppRGB, PixelFormat32bppARGB},   {PixelFormat32bppARGB, PixelFormat24bppRGB},
        {PixelFormat32bppPARGB, PixelFormat32bppARGB}, {PixelFormat8bppIndexed, PixelFormat32bppARGB},
        {PixelFormat1bppIndexed, PixelFormat24bppRGB}, {PixelFormat24bppRGB, PixelFormat8bppIndexed},
        {PixelFormat48bppRGB, PixelFormat24bppRGB},
    };
    for (auto [own, other] : pairs) {
        SCOPED_TRACE(::testing::Message() << std::hex << own << " / " << other);
        auto source = MakeBitmap(kWidth, kHeight, own);
        ASSERT_TRUE(source);
        BitmapData data;
        const Rect all{0, 0, kWidth, kHeight};
        ASSERT_EQ(source->LockBits(all, ImageLockModeWrite, own, data), Ok);
        std::uint32_t noise = 88172645u;
        for (std::int32_t y = 0; y < kHeight; ++y) {
            auto* row = static_cast<std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
            for (std::int32_t i = 0; i < data.Stride; ++i) {
                noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
                row[i] = static_cast<std::uint8_t>(noise);
            }
        }
        ASSERT_EQ(source->UnlockBits(data), Ok);

        const std::int32_t stride = static_cast<std::int32_t>((RowBytes(kWidth, other) + 3) / 4 * 4);
        std::vector<std::uint8_t> whole(static_cast<std::size_t>(stride) * kHeight), byRow(whole.size());
        ASSERT_EQ(source->CopyPixels(all, other, stride, whole.data()), Ok);
        for (std::int32_t y = 0; y < kHeight; ++y)
            ASSERT_EQ(source->CopyPixels(Rect{0, y, kWidth, 1}, other, stride, byRow.data() + static_cast<std::size_t>(y) * stride), Ok);
        EXPECT_TRUE(whole == byRow) << "out of the bitmap";

        auto intoWhole = MakeBitmap(kWidth, kHeight, own), intoRows = MakeBitmap(kWidth, kHeight, own);
        ColorPalette palette;
        source->GetPalette(palette);
        ASSERT_EQ(intoWhole->SetPalette(palette), Ok);
        ASSERT_EQ(intoRows->SetPalette(palette), Ok);
        ASSERT_EQ(intoWhole->WritePixels(all, other, stride, whole.data()), Ok);
        for (std::int32_t y = 0; y < kHeight; ++y)
            ASSERT_EQ(intoRows->WritePixels(Rect{0, y, kWidth, 1}, other, stride, whole.data() + static_cast<std::size_t>(y) * stride), Ok);
        EXPECT_TRUE(testing_support::RowBytesOf(*intoWhole) == testing_support::RowBytesOf(*intoRows)) << "into the bitmap";
    }
}

}  // namespace
}  // namespace gdiplus
