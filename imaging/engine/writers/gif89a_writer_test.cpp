#include "imaging/engine/writers/gif89a_writer.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;

// What giflib reads from the file: the screen's colour table and the first
// image's indexes, row by row from the top.
struct GiflibImage {
    bool read = false;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<uint32_t> colours;  // opaque ARGB
    std::vector<uint8_t> indexes;
    int transparentIndex = -1;
};

GiflibImage ReadWithGiflib(const std::string& path) {
    GiflibImage image;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) return image;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
        const SavedImage& first = gif->SavedImages[0];
        image.read = true;
        image.width = first.ImageDesc.Width;
        image.height = first.ImageDesc.Height;
        image.interlaced = first.ImageDesc.Interlace;
        if (gif->SColorMap != nullptr) {
            for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
                const GifColorType c = gif->SColorMap->Colors[i];
                image.colours.push_back(0xFF000000u | uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
            }
        }
        image.indexes.assign(first.RasterBits, first.RasterBits + image.width * image.height);
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK) image.transparentIndex = control.TransparentColor;
    }
    DGifCloseFile(gif, &error);
    return image;
}

// The colours giflib sees, pixel by pixel.
std::vector<uint32_t> GiflibPixels(const GiflibImage& image) {
    std::vector<uint32_t> pixels;
    for (const uint8_t index : image.indexes) pixels.push_back(image.colours.at(index));
    return pixels;
}

// The pixels our own decoder reads from the file, as opaque ARGB.
std::vector<uint32_t> OwnDecoderPixels(const std::string& path) {
    int32_t id = 0;
    EXPECT_EQ(ImageFromFile(path, id), OK);
    std::vector<uint32_t> pixels = PixelsOf(id);
    for (uint32_t& p : pixels) p |= 0xFF000000u;
    ReleaseImage(id);
    return pixels;
}

class Gif89aWriter : public EngineTest {
protected:
    ScopedTestFolder folder_{"gif89a_writer"};
};

TEST_F(Gif89aWriter, AOneBitImageHasCodeSizeTwoATwoEntryTableAndTheSamePixels) {
    const int32_t id = RegisterBitmap(13, 5, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> pixels(65);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 7 % 5 < 2) ? 0xFF000000u : 0xFFFFFFFFu;
    SetPixels(id, pixels);
    const std::string path = folder_.PathOf("bilevel.gif");
    ASSERT_EQ(SaveImageAsGif89a(id, path), OK);
    const std::vector<uint8_t> file = ReadFileBytes(path);
    ASSERT_GT(file.size(), 32u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF89a");
    EXPECT_EQ(file[10], 0xF0);  // global table of 2 entries
    // Header 13 + table 6 + control extension 8: the image descriptor.
    EXPECT_EQ((std::vector<uint8_t>(file.begin() + 19, file.begin() + 27)),
              (std::vector<uint8_t>{0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(file[27], 0x2C);
    EXPECT_EQ(file[36], 0x40);  // interlaced, no local table
    EXPECT_EQ(file[37], 2);     // minimum code size
    EXPECT_EQ(file.back(), ';');
    const GiflibImage read = ReadWithGiflib(path);
    ASSERT_TRUE(read.read);
    EXPECT_TRUE(read.interlaced);
    EXPECT_EQ(read.colours.size(), 2u);
    EXPECT_EQ(GiflibPixels(read), pixels);
    EXPECT_EQ(OwnDecoderPixels(path), pixels);
}

TEST_F(Gif89aWriter, AFourBitImageHasAsixteenEntryTable) {
    const int32_t id = RegisterBitmap(7, 3, gdiplus::PixelFormat4bppIndexed);
    gdiplus::ColorPalette vga;
    ASSERT_EQ(GetImagePalette(id, vga), OK);
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 21; ++i) pixels.push_back(vga.Entries[i % 16] | 0xFF000000u);
    SetPixels(id, pixels);
    const std::string path = folder_.PathOf("vga.gif");
    ASSERT_EQ(SaveImageAsGif89a(id, path), OK);
    const GiflibImage read = ReadWithGiflib(path);
    ASSERT_TRUE(read.read);
    EXPECT_EQ(read.colours.size(), 16u);
    EXPECT_EQ(ReadFileBytes(path)[10], 0xF3);
    EXPECT_EQ(GiflibPixels(read), pixels);
}

TEST_F(Gif89aWriter, AShortPaletteIsFilledWithBlackAndATransparentEntryIsNamed) {
    const int32_t id = RegisterBitmap(20, 10, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette palette;
    palette.Count = 200;
    for (uint32_t i = 0; i < 200; ++i) palette.Entries[i] = 0xFF000000u | i << 16 | (199 - i) << 8 | 77;
    // Entry 150 is transparent, and its colour also stands opaque at entry 3.
    palette.Entries[3] = 0xFF102030u;
    palette.Entries[150] = 0x00102030u;
    ASSERT_EQ(SetImagePalette(id, palette), OK);
    std::vector<uint8_t> indexes(static_cast<size_t>(20 * 10));
    for (size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<uint8_t>(i % 200);
    ASSERT_EQ(NativeBitmapOf(id)->WritePixels(gdiplus::Rect{0, 0, 20, 10}, gdiplus::PixelFormat8bppIndexed, 20,
                                              indexes.data()),
              gdiplus::Ok);
    const std::string path = folder_.PathOf("palette.gif");
    ASSERT_EQ(SaveImageAsGif89a(id, path), OK);
    const GiflibImage read = ReadWithGiflib(path);
    ASSERT_TRUE(read.read);
    ASSERT_EQ(read.colours.size(), 256u);
    for (size_t i = 200; i < 256; ++i) EXPECT_EQ(read.colours[i], 0xFF000000u) << i;
    EXPECT_EQ(read.transparentIndex, 150);  // the opaque entry 3 keeps showing
    EXPECT_EQ(read.indexes, indexes);
}

TEST_F(Gif89aWriter, TheTransparentEntryIsMarkedNotAnOpaqueEntryOfTheSameColourBeforeIt) {
    // {opaque red, transparent red}: the red pixels stay, the transparent ones vanish.
    const int32_t id = RegisterBitmap(4, 2, gdiplus::PixelFormat1bppIndexed);
    gdiplus::ColorPalette palette;
    palette.Count = 2;
    palette.Entries[0] = 0xFFFF0000u;
    palette.Entries[1] = 0x00FF0000u;
    ASSERT_EQ(SetImagePalette(id, palette), OK);
    const uint8_t rows[2] = {0b01010000, 0b10100000};
    ASSERT_EQ(NativeBitmapOf(id)->WritePixels(gdiplus::Rect{0, 0, 4, 2}, gdiplus::PixelFormat1bppIndexed, 1, rows),
              gdiplus::Ok);
    const std::string path = folder_.PathOf("red.gif");
    ASSERT_EQ(SaveImageAsGif89a(id, path), OK);
    const GiflibImage read = ReadWithGiflib(path);
    ASSERT_TRUE(read.read);
    EXPECT_EQ(read.transparentIndex, 1);
    EXPECT_EQ(read.indexes, (std::vector<uint8_t>{0, 1, 0, 1, 1, 0, 1, 0}));
    int32_t loaded = 0;
    ASSERT_EQ(ImageFromFile(path, loaded), OK);
    std::vector<uint8_t> alphas;
    for (const uint32_t p : PixelsOf(loaded)) alphas.push_back(static_cast<uint8_t>(p >> 24));
    ReleaseImage(loaded);
    EXPECT_EQ(alphas, (std::vector<uint8_t>{255, 0, 255, 0, 0, 255, 0, 255}));
}

TEST_F(Gif89aWriter, APhotographIsReducedTo256ColoursAndReadsBackTheSameByBothDecoders) {
    const int32_t id = RegisterBitmap(300, 97, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 97; ++y) {
        for (int32_t x = 0; x < 300; ++x) {
            pixels.push_back(0xFF000000u | static_cast<uint32_t>(x * 255 / 299) << 16 |
                             static_cast<uint32_t>(y * 255 / 96) << 8 | static_cast<uint32_t>((x ^ y) & 0xFF));
        }
    }
    SetPixels(id, pixels);
    const std::string path = folder_.PathOf("photo.gif");
    ASSERT_EQ(SaveImageAsGif89a(id, path), OK);
    const GiflibImage read = ReadWithGiflib(path);
    ASSERT_TRUE(read.read);
    EXPECT_EQ(read.colours.size(), 256u);
    const std::vector<uint32_t> viaGiflib = GiflibPixels(read);
    EXPECT_EQ(OwnDecoderPixels(path), viaGiflib);
    // Every pixel stays near its colour (octree leaves of 8 levels, merged).
    int32_t far = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const auto d = [&](int shift) {
            return std::abs(static_cast<int>((pixels[i] >> shift) & 0xFF) - static_cast<int>((viaGiflib[i] >> shift) & 0xFF));
        };
        if (d(16) + d(8) + d(0) > 96) ++far;
    }
    EXPECT_LT(far, static_cast<int32_t>(pixels.size() / 100));
    EXPECT_EQ(PixelsOf(id), pixels);  // the source is not changed
}

TEST_F(Gif89aWriter, ALongCodeStreamIsCutInto254ByteSubBlocksAndPassesTheTableClear) {
    // Noise fills the 4096-entry string table several times over.
    const int32_t width = 400, height = 300;
    const int32_t id = RegisterBitmap(width, height, gdiplus::PixelFormat8bppIndexed);
    std::vector<uint8_t> indexes(static_cast<size_t>(width * height));
    uint32_t seed = 12345;
    for (uint8_t& v : indexes) {
        seed = seed * 1103515245u + 12345u;
        v = static_cast<uint8_t>(seed >> 16);
    }
    ASSERT_EQ(NativeBitmapOf(id)->WritePixels(gdiplus::Rect{0, 0, width, height}, gdiplus::PixelFormat8bppIndexed,
                                              width, indexes.data()),
              gdiplus::Ok);
    const std::string path = folder_.PathOf("noise.gif");
    ASSERT_EQ(SaveImageAsGif89a(id, path), OK);
    const std::vector<uint8_t> file = ReadFileBytes(path);
    size_t at = 13 + 3 * 256 + 8 + 10 + 1;  // the first sub-block
    size_t blocks = 0;
    while (file.at(at) != 0) {
        const size_t count = file[at];
        const bool last = file.at(at + 1 + count) == 0;
        if (!last) {
            EXPECT_EQ(count, 254u);
        }
        at += 1 + count;
        ++blocks;
    }
    EXPECT_GT(blocks, 100u);
    EXPECT_EQ(at + 2, file.size());
    EXPECT_EQ(ReadWithGiflib(path).indexes, indexes);
}

TEST(GifRowOrder, InterlacedRowsGoInFourPasses) {
    EXPECT_EQ(GifRowOrder(1, true), (std::vector<int32_t>{0}));
    EXPECT_EQ(GifRowOrder(3, true), (std::vector<int32_t>{0, 2, 1}));
    EXPECT_EQ(GifRowOrder(5, true), (std::vector<int32_t>{0, 4, 2, 1, 3}));
    EXPECT_EQ(GifRowOrder(10, true), (std::vector<int32_t>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_EQ(GifRowOrder(3, false), (std::vector<int32_t>{0, 1, 2}));
}

TEST_F(Gif89aWriter, AnUnregisteredImageIsInvalidParameterAndWritesNothing) {
    const std::string path = folder_.PathOf("none.gif");
    EXPECT_EQ(SaveImageAsGif89a(424242, path), InvalidParameter);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Gif89aWriter, AWidthAbove32767LeavesNoFileAndAnswersGenericError) {
    const int32_t id = RegisterBitmap(32768, 1, gdiplus::PixelFormat1bppIndexed);
    const std::string path = folder_.PathOf("wide.gif");
    EXPECT_EQ(SaveImageAsGif89a(id, path), GenericError);
    EXPECT_EQ(folder_.FileCount(), 0u);
}

TEST_F(Gif89aWriter, AFailedWriteLeavesNoFile) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat8bppIndexed);
    EXPECT_EQ(SaveImageAsGif89a(id, folder_.PathOf("missing/x.gif")), GenericError);
    EXPECT_EQ(folder_.FileCount(), 0u);
}

}  // namespace
}  // namespace scanvelt
