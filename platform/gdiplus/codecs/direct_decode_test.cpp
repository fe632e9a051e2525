// The TIFF, PNG and JPEG decoders write the file's rows straight into the
// bitmap, a band at a time, into pixels that are not cleared first. These
// tests hold every layout of the bands (whole strips, scanlines of a strip
// larger than a band, rows of tiles, planes) to the samples the file was
// written with, converted here by the test's own code, and prove that the
// padding of a row never carries stale memory, even in a reused page block.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/tiff_memory_file.h"
#include "platform/gdiplus/memory.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

// A sample value that differs from pixel to pixel, row to row and channel to channel.
std::uint8_t SampleAt(std::uint32_t x, std::uint32_t y, std::uint32_t c) {
    return static_cast<std::uint8_t>(x * 7 + y * 13 + c * 71 + (x * y) % 5);
}

struct TiffCase {
    const char* name;
    std::uint32_t width, height;
    std::uint16_t bits, samples, photometric, compression;
    std::uint32_t rowsPerStrip;  // 0: tiled
    std::uint32_t tile;
    PixelFormat format;
    bool unassociatedAlpha = false;
};

// The file's interleaved samples of row y, packed at `bits` bits, most significant first.
std::vector<std::uint8_t> FileRow(const TiffCase& c, std::uint32_t y) {
    const std::uint64_t values = std::uint64_t{c.width} * c.samples;
    std::vector<std::uint8_t> row(static_cast<std::size_t>((values * c.bits + 7) / 8), 0);
    for (std::uint64_t i = 0; i < values; ++i) {
        const std::uint32_t x = static_cast<std::uint32_t>(i / c.samples), s = static_cast<std::uint32_t>(i % c.samples);
        const std::uint8_t v = SampleAt(x, y, s);
        if (c.bits == 8) {
            row[i] = v;
        } else if (c.bits == 16) {
            const std::uint16_t wide = static_cast<std::uint16_t>(v * 257 + x % 3);
            std::memcpy(&row[2 * i], &wide, 2);  // libtiff takes samples in the host's order
        } else {
            const std::uint32_t small = v & ((1u << c.bits) - 1);
            for (std::uint32_t b = 0; b < c.bits; ++b)
                if (small >> (c.bits - 1 - b) & 1) row[(i * c.bits + b) / 8] |= static_cast<std::uint8_t>(0x80 >> ((i * c.bits + b) % 8));
        }
    }
    return row;
}

std::vector<std::uint8_t> WriteTiff(const TiffCase& c) {
    std::vector<std::uint8_t> out;
    {
        TiffMemoryFile file(out);
        TIFF* tif = file.tiff();
        EXPECT_NE(tif, nullptr);
        if (!tif) return out;
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, c.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, c.height);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, c.bits);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, c.samples);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, c.photometric);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, c.compression);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        if (c.unassociatedAlpha) {
            const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
        }
        std::vector<std::vector<std::uint8_t>> rows;
        for (std::uint32_t y = 0; y < c.height; ++y) rows.push_back(FileRow(c, y));
        if (c.rowsPerStrip > 0) {
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, c.rowsPerStrip);
            for (std::uint32_t y = 0; y < c.height; ++y) EXPECT_EQ(TIFFWriteScanline(tif, rows[y].data(), y, 0), 1);
        } else {
            TIFFSetField(tif, TIFFTAG_TILEWIDTH, c.tile);
            TIFFSetField(tif, TIFFTAG_TILELENGTH, c.tile);
            const auto tileRow = static_cast<std::size_t>(TIFFTileRowSize64(tif));
            const std::uint64_t bitsPerPixel = std::uint64_t{c.bits} * c.samples;
            std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize64(tif)));
            for (std::uint32_t ty = 0; ty < c.height; ty += c.tile)
                for (std::uint32_t tx = 0; tx < c.width; tx += c.tile) {
                    std::fill(tile.begin(), tile.end(), 0);
                    const std::size_t left = static_cast<std::size_t>(tx * bitsPerPixel / 8);
                    for (std::uint32_t r = 0; r < c.tile && ty + r < c.height; ++r) {
                        const std::size_t n = std::min(tileRow, rows[ty + r].size() - left);
                        std::memcpy(&tile[r * tileRow], rows[ty + r].data() + left, n);
                    }
                    EXPECT_GE(TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, tx, ty, 0, 0), tile.data(),
                                                   static_cast<tmsize_t>(tile.size())),
                              0);
                }
        }
        EXPECT_EQ(TIFFWriteDirectory(tif), 1);
    }
    return out;
}

// Row y as the bitmap must hold it, from the file's samples by the rules of
// the layer (blue first, 2 bits widened to 4, 16-bit samples kept).
std::vector<std::uint8_t> ExpectedRow(const TiffCase& c, std::uint32_t y) {
    const std::vector<std::uint8_t> file = FileRow(c, y);
    if (IsIndexedPixelFormat(c.format)) {
        if (c.bits != 2) return file;
        std::vector<std::uint8_t> row((c.width + 1) / 2, 0);
        for (std::uint32_t x = 0; x < c.width; ++x) {
            const std::uint8_t v = (file[x / 4] >> (6 - 2 * (x % 4))) & 3;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
        }
        return row;
    }
    const std::uint32_t bytes = c.bits / 8, channels = GetPixelFormatSize(c.format) / 8 / bytes;
    std::vector<std::uint8_t> row;
    for (std::uint32_t x = 0; x < c.width; ++x) {
        const std::uint8_t* p = file.data() + std::size_t{x} * c.samples * bytes;
        const std::uint32_t order[4] = {2, 1, 0, 3};
        for (std::uint32_t k = 0; k < channels; ++k) row.insert(row.end(), p + order[k] * bytes, p + (order[k] + 1) * bytes);
    }
    return row;
}

const TiffCase kTiffCases[] = {
    // An uncompressed page of one strip, which libtiff reads as many small ones.
    {"one uncompressed strip", 1301, 1101, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, 1101, 0, PixelFormat24bppRGB},
    // One compressed strip larger than a band: read a scanline at a time.
    {"one LZW strip", 1301, 1101, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW, 1101, 0, PixelFormat24bppRGB},
    {"deflate strips of 7 rows", 333, 50, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, 7, 0, PixelFormat24bppRGB},
    {"tiles cut at the edges", 101, 67, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW, 0, 32, PixelFormat24bppRGB},
    {"RGBA", 45, 33, 8, 4, PHOTOMETRIC_RGB, COMPRESSION_NONE, 5, 0, PixelFormat32bppARGB, true},
    {"16-bit RGB tiles", 37, 40, 16, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, 0, 16, PixelFormat48bppRGB},
    {"8-bit grey", 99, 21, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_PACKBITS, 4, 0, PixelFormat8bppIndexed},
    {"2-bit grey", 37, 19, 2, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE, 19, 0, PixelFormat4bppIndexed},
    {"1-bit", 37, 19, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_LZW, 3, 0, PixelFormat1bppIndexed},
};

class DirectDecodeTest : public CodecTest {};

// Every row's padding is zero, whatever the block held before.
void ExpectClearPadding(Bitmap& bitmap) {
    const Rect all{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
    BitmapData data;
    ASSERT_EQ(bitmap.LockBits(all, ImageLockModeRead, bitmap.GetPixelFormat(), data), Ok);
    const auto used = static_cast<std::size_t>(RowBytes(all.Width, bitmap.GetPixelFormat()));
    for (std::int32_t y = 0; y < all.Height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        for (std::size_t i = used; i < static_cast<std::size_t>(data.Stride); ++i) ASSERT_EQ(row[i], 0) << "row " << y;
    }
    EXPECT_EQ(bitmap.UnlockBits(data), Ok);
}

// Leaves page blocks of every size near `bytes` full of a pattern in the
// pool, where the next bitmap of that size will come from.
void SoilPool(std::size_t bytes) {
    std::vector<void*> blocks;
    for (std::size_t size : {bytes, bytes + 4096}) {
        void* block = AllocUninitialized(size);
        ASSERT_NE(block, nullptr);
        std::memset(block, 0xA5, size);
        blocks.push_back(block);
    }
    for (void* block : blocks) Free(block);
}

TEST_F(DirectDecodeTest, TiffRowsAreTheFileSamplesInEveryBandLayout) {
    for (const TiffCase& c : kTiffCases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> file = WriteTiff(c);
        SoilPool(static_cast<std::size_t>(DefaultStride(static_cast<std::int32_t>(c.width), c.format)) * c.height);
        auto image = MustDecode(file);
        ASSERT_TRUE(image);
        Bitmap& bitmap = AsBitmap(*image);
        ASSERT_EQ(bitmap.GetPixelFormat(), c.format);
        std::vector<std::uint8_t> expected;
        for (std::uint32_t y = 0; y < c.height; ++y) {
            const std::vector<std::uint8_t> row = ExpectedRow(c, y);
            expected.insert(expected.end(), row.begin(), row.end());
        }
        EXPECT_TRUE(RowBytesOf(bitmap) == expected);
        ExpectClearPadding(bitmap);
    }
}

// Inks in planes go through the engine's own rendering a band of rows at a
// time, each plane's row beside the others: the same pixels as the inks
// interleaved in one plane.
TEST_F(DirectDecodeTest, InkPlanesDecodeLikeInterleavedInks) {
    const std::uint32_t width = 53, height = 29;
    auto write = [&](std::uint16_t planar, std::uint32_t rowsPerStrip) {
        std::vector<std::uint8_t> out;
        TiffMemoryFile file(out);
        TIFF* tif = file.tiff();
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, planar);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
        std::vector<std::uint8_t> row(width * 4);
        if (planar == PLANARCONFIG_CONTIG) {
            for (std::uint32_t y = 0; y < height; ++y) {
                for (std::uint32_t i = 0; i < width * 4; ++i) row[i] = SampleAt(i / 4, y, i % 4);
                TIFFWriteScanline(tif, row.data(), y, 0);
            }
        } else {
            for (std::uint16_t s = 0; s < 4; ++s)
                for (std::uint32_t y = 0; y < height; ++y) {
                    for (std::uint32_t x = 0; x < width; ++x) row[x] = SampleAt(x, y, s);
                    TIFFWriteScanline(tif, row.data(), y, s);
                }
        }
        TIFFWriteDirectory(tif);
        file.Close();
        return out;
    };
    auto interleaved = MustDecode(write(PLANARCONFIG_CONTIG, height));
    auto planes = MustDecode(write(PLANARCONFIG_SEPARATE, 6));
    ASSERT_TRUE(interleaved && planes);
    EXPECT_TRUE(RowBytesOf(AsBitmap(*planes)) == RowBytesOf(AsBitmap(*interleaved)));
    ExpectClearPadding(AsBitmap(*planes));
}

// A PNG written by libpng from known samples, interlaced or not.
std::vector<std::uint8_t> WritePng(std::uint32_t width, std::uint32_t height, int colourType, int depth,
                                   bool interlaced, const std::function<std::vector<std::uint8_t>(std::uint32_t)>& row) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng failed";
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            bytes->insert(bytes->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, depth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<png_bytep> pointers;
    for (std::uint32_t y = 0; y < height; ++y) rows.push_back(row(y));
    for (auto& r : rows) pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

TEST_F(DirectDecodeTest, PngRowsAreTheFileSamplesInterlacedOrNot) {
    const std::uint32_t width = 61, height = 23;
    auto rgb = [&](std::uint32_t y) {
        std::vector<std::uint8_t> row;
        for (std::uint32_t x = 0; x < width; ++x)
            for (std::uint32_t c = 0; c < 3; ++c) row.push_back(SampleAt(x, y, c));
        return row;
    };
    auto twoBits = [&](std::uint32_t y) {
        std::vector<std::uint8_t> row((width * 2 + 7) / 8, 0);
        for (std::uint32_t x = 0; x < width; ++x)
            row[x / 4] |= static_cast<std::uint8_t>((SampleAt(x, y, 0) & 3) << (6 - 2 * (x % 4)));
        return row;
    };
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        auto colour = MustDecode(WritePng(width, height, PNG_COLOR_TYPE_RGB, 8, interlaced, rgb));
        ASSERT_TRUE(colour);
        std::vector<std::uint8_t> expected;
        for (std::uint32_t y = 0; y < height; ++y)
            for (std::uint32_t x = 0; x < width; ++x)
                for (std::uint32_t c : {2u, 1u, 0u}) expected.push_back(SampleAt(x, y, c));
        EXPECT_TRUE(RowBytesOf(AsBitmap(*colour)) == expected);
        ExpectClearPadding(AsBitmap(*colour));

        auto grey = MustDecode(WritePng(width, height, PNG_COLOR_TYPE_GRAY, 2, interlaced, twoBits));
        ASSERT_TRUE(grey);
        ASSERT_EQ(grey->GetPixelFormat(), PixelFormat4bppIndexed);
        expected.assign((width + 1) / 2 * height, 0);
        for (std::uint32_t y = 0; y < height; ++y)
            for (std::uint32_t x = 0; x < width; ++x)
                expected[y * ((width + 1) / 2) + x / 2] |=
                    static_cast<std::uint8_t>((SampleAt(x, y, 0) & 3) << (x % 2 == 0 ? 4 : 0));
        EXPECT_TRUE(RowBytesOf(AsBitmap(*grey)) == expected);
        ExpectClearPadding(AsBitmap(*grey));
    }
}

// The JPEG decoder's rows are libjpeg's own scanlines (the accurate
// transform, smooth upsampling, blue first), read here by libjpeg directly.
TEST_F(DirectDecodeTest, JpegRowsAreLibjpegScanlines) {
    auto page = MakeBitmap(1301, 1101, PixelFormat24bppRGB);  // rows padded to 4 bytes
    ASSERT_TRUE(page);
    std::vector<std::uint8_t> row(1301 * 3);
    for (std::int32_t y = 0; y < 1101; ++y) {
        for (std::uint32_t i = 0; i < row.size(); ++i) row[i] = SampleAt(i / 3, static_cast<std::uint32_t>(y), i % 3);
        ASSERT_EQ(page->WritePixels(Rect{0, y, 1301, 1}, PixelFormat24bppRGB, static_cast<std::int32_t>(row.size()),
                                    row.data()),
                  Ok);
    }
    const std::vector<std::uint8_t> file = Encode(*page, kJpegCodec.clsid);
    SoilPool(static_cast<std::size_t>(DefaultStride(1301, PixelFormat24bppRGB)) * 1101);
    auto decoded = MustDecode(file);
    ASSERT_TRUE(decoded);

    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> expected;
    while (info.output_scanline < info.output_height) {
        JSAMPROW at = row.data();
        jpeg_read_scanlines(&info, &at, 1);
        expected.insert(expected.end(), row.begin(), row.end());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    EXPECT_TRUE(RowBytesOf(AsBitmap(*decoded)) == expected);
    ExpectClearPadding(AsBitmap(*decoded));
}

}  // namespace
}  // namespace gdiplus::codecs
