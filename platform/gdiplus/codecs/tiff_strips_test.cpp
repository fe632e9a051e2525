// The TIFF writer compresses runs of strips on several threads and places
// the compressed strips into the file itself. These tests hold it to what a
// writer going through the page row by row with libtiff makes: the same
// bytes, tag for tag and strip for strip, and the source's pixels.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/tiff_codec.h"
#include "platform/gdiplus/codecs/tiff_memory_file.h"
#include "platform/gdiplus/file_io.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

constexpr std::uint32_t kTextTags[] = {269, 270, 271, 272, 285, 305, 306, 315, 316, 33432};

// Copies every page of `tiff` through libtiff's scanline writer, tags first,
// then the rows in order: the file a plain sequential writer makes.
std::vector<std::uint8_t> SequentialCopy(const std::vector<std::uint8_t>& tiff) {
    std::vector<std::uint8_t> out;
    TiffMemoryFile in(tiff);
    EXPECT_NE(in.tiff(), nullptr);
    if (!in.tiff()) return out;
    TiffMemoryFile copy(out);
    TIFF* from = in.tiff();
    TIFF* to = copy.tiff();
    do {
        auto copy16 = [&](ttag_t tag) {
            std::uint16_t v = 0;
            if (TIFFGetField(from, tag, &v) == 1) TIFFSetField(to, tag, v);
        };
        auto copy32 = [&](ttag_t tag) {
            std::uint32_t v = 0;
            if (TIFFGetField(from, tag, &v) == 1) TIFFSetField(to, tag, v);
        };
        auto copyFloat = [&](ttag_t tag) {
            float v = 0;
            if (TIFFGetField(from, tag, &v) == 1) TIFFSetField(to, tag, v);
        };
        copy32(TIFFTAG_IMAGEWIDTH);
        copy32(TIFFTAG_IMAGELENGTH);
        for (ttag_t tag : {TIFFTAG_BITSPERSAMPLE, TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_PHOTOMETRIC, TIFFTAG_PLANARCONFIG,
                           TIFFTAG_COMPRESSION, TIFFTAG_PREDICTOR, TIFFTAG_RESOLUTIONUNIT, TIFFTAG_ORIENTATION})
            copy16(tag);
        copy32(TIFFTAG_SUBFILETYPE);
        copyFloat(TIFFTAG_XRESOLUTION);
        copyFloat(TIFFTAG_YRESOLUTION);
        std::uint16_t extraCount = 0, *extra = nullptr;
        if (TIFFGetField(from, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) == 1) TIFFSetField(to, TIFFTAG_EXTRASAMPLES, extraCount, extra);
        std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (TIFFGetField(from, TIFFTAG_COLORMAP, &red, &green, &blue) == 1) TIFFSetField(to, TIFFTAG_COLORMAP, red, green, blue);
        std::uint16_t number = 0, count = 0;
        if (TIFFGetField(from, TIFFTAG_PAGENUMBER, &number, &count) == 1) TIFFSetField(to, TIFFTAG_PAGENUMBER, number, count);
        for (std::uint32_t tag : kTextTags) {
            char* text = nullptr;
            if (TIFFGetField(from, tag, &text) == 1) TIFFSetField(to, tag, text);
        }
        copy32(TIFFTAG_ROWSPERSTRIP);
        std::uint32_t height = 0;
        TIFFGetField(from, TIFFTAG_IMAGELENGTH, &height);
        std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize64(from)));
        for (std::uint32_t y = 0; y < height; ++y) {
            EXPECT_EQ(TIFFReadScanline(from, row.data(), y, 0), 1) << "row " << y;
            EXPECT_EQ(TIFFWriteScanline(to, row.data(), y, 0), 1) << "row " << y;
        }
        EXPECT_EQ(TIFFWriteDirectory(to), 1);
    } while (TIFFReadDirectory(from) == 1);
    EXPECT_TRUE(copy.Close());
    return out;
}

// A page of flat areas, edges and noise, in colours the format holds exactly
// (an indexed format's palette entries).
std::unique_ptr<Bitmap> Page(std::int32_t width, std::int32_t height, PixelFormat format, bool translucent) {
    auto bitmap = MakeBitmap(width, height, format);
    if (!bitmap) return bitmap;
    ColorPalette palette;
    bitmap->GetPalette(palette);
    if (format == PixelFormat4bppIndexed || format == PixelFormat8bppIndexed) {
        palette.Count = 1u << GetPixelFormatSize(format);
        for (std::uint32_t i = 0; i < palette.Count; ++i)
            palette.Entries[i] = MakeARGB(0xFF, static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                                          static_cast<std::uint8_t>(i * 11 + 3));
        EXPECT_EQ(bitmap->SetPalette(palette), Ok);
    }
    std::vector<ARGB> pixels(static_cast<std::size_t>(width) * height);
    std::uint32_t noise = 2463534242u;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const bool flat = (x / 64 + y / 48) % 3 == 0;
            std::uint32_t v = flat ? 200u : (x * 3u + y * 5u + (noise & 15u));
            ARGB colour = MakeARGB(0xFF, static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v / 2 + y),
                                   static_cast<std::uint8_t>(x ^ y));
            if (IsIndexedPixelFormat(format)) colour = palette.Entries[(v / 7) % palette.Count];
            if (translucent && x % 97 == 0) colour = (colour & 0x00FFFFFFu) | (static_cast<ARGB>(noise & 0xFF) << 24);
            pixels[static_cast<std::size_t>(y) * width + x] = colour;
        }
    }
    EXPECT_EQ(bitmap->WritePixels(Rect{0, 0, width, height}, PixelFormat32bppARGB, width * 4, pixels.data()), Ok);
    return bitmap;
}

std::vector<ARGB> ArgbOf(const Image& image) {
    const auto width = static_cast<std::int32_t>(image.GetWidth()), height = static_cast<std::int32_t>(image.GetHeight());
    std::vector<ARGB> pixels(static_cast<std::size_t>(width) * height);
    EXPECT_EQ(image.CopyPixels(Rect{0, 0, width, height}, PixelFormat32bppARGB, width * 4, pixels.data()), Ok);
    return pixels;
}

EncoderParameters Params(std::uint32_t compression, std::uint32_t depth) {
    EncoderParameters parameters{EncoderParameter::Long(EncoderCompression, compression)};
    if (depth != 0) parameters.push_back(EncoderParameter::Long(EncoderColorDepth, depth));
    return parameters;
}

class TiffStripsTest : public CodecTest {};

TEST_F(TiffStripsTest, ParallelStripsMakeTheSequentialWritersFile) {
    struct Case {
        const char* name;
        std::int32_t width, height;
        PixelFormat format;
        std::uint32_t compression, depth;
        bool translucent;
    };
    // Pages of several megabytes, so that their strips are split into runs.
    const Case cases[] = {
        {"colour LZW", 1700, 1300, PixelFormat24bppRGB, EncoderValueCompressionLZW, 0, false},
        {"colour uncompressed", 1700, 700, PixelFormat24bppRGB, EncoderValueCompressionNone, 0, false},
        {"translucent RGBA", 1100, 1000, PixelFormat32bppARGB, EncoderValueCompressionLZW, 0, true},
        {"opaque ARGB as RGB", 1100, 1000, PixelFormat32bppARGB, EncoderValueCompressionLZW, 0, false},
        {"48-bit LZW", 900, 800, PixelFormat48bppRGB, EncoderValueCompressionLZW, 0, false},
        {"64-bit LZW", 700, 800, PixelFormat64bppARGB, EncoderValueCompressionLZW, 0, true},
        {"16-bit grey", 1500, 1000, PixelFormat16bppGrayScale, EncoderValueCompressionLZW, 0, false},
        {"palette 8-bit", 2100, 1500, PixelFormat8bppIndexed, EncoderValueCompressionLZW, 0, false},
        {"palette 4-bit", 2900, 2000, PixelFormat4bppIndexed, EncoderValueCompressionLZW, 0, false},
        {"bilevel CCITT4", 4100, 3000, PixelFormat1bppIndexed, EncoderValueCompressionCCITT4, 0, false},
        {"bilevel CCITT3", 4100, 3000, PixelFormat1bppIndexed, EncoderValueCompressionCCITT3, 0, false},
        {"bilevel RLE", 4100, 3000, PixelFormat1bppIndexed, EncoderValueCompressionRle, 0, false},
        {"colour as 8 bits", 1300, 900, PixelFormat24bppRGB, EncoderValueCompressionLZW, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = Page(c.width, c.height, c.format, c.translucent);
        ASSERT_TRUE(page);
        ASSERT_EQ(page->SetResolution(300, 200), Ok);
        const std::vector<std::uint8_t> parallel = Encode(*page, kTiffCodec.clsid, Params(c.compression, c.depth));
        ASSERT_FALSE(parallel.empty());
        EXPECT_TRUE(parallel == SequentialCopy(parallel)) << "differs from the sequential writer's file";
        auto decoded = MustDecode(parallel);
        ASSERT_TRUE(decoded);
        if (c.depth == 0) EXPECT_TRUE(ArgbOf(*decoded) == ArgbOf(*page)) << "pixels differ";
    }
}

TEST_F(TiffStripsTest, PagesOfAMultiPageFileAreWrittenAsOneWriterWould) {
    auto colour = Page(1600, 1200, PixelFormat24bppRGB, false);
    auto bilevel = Page(3000, 2000, PixelFormat1bppIndexed, false);
    auto palette = Page(1000, 900, PixelFormat8bppIndexed, false);
    // Rows of an odd number of bytes: its strips, written from where the
    // page's samples were read, are followed by a byte that puts the next
    // directory on a word.
    auto uncompressed = Page(999, 1100, PixelFormat24bppRGB, false);
    ScratchFolder folder;
    const auto path = folder / "pages.tif";
    auto flag = [](std::uint32_t value, std::uint32_t compression) {
        return EncoderParameters{EncoderParameter::Long(EncoderSaveFlag, value),
                                 EncoderParameter::Long(EncoderCompression, compression)};
    };
    ASSERT_EQ(colour->Save(path, kTiffCodec.clsid, &static_cast<const EncoderParameters&>(
                                                       flag(EncoderValueMultiFrame, EncoderValueCompressionLZW))),
              Ok);
    ASSERT_EQ(colour->SaveAdd(*bilevel, flag(EncoderValueFrameDimensionPage, EncoderValueCompressionCCITT4)), Ok);
    ASSERT_EQ(colour->SaveAdd(*uncompressed, flag(EncoderValueFrameDimensionPage, EncoderValueCompressionNone)), Ok);
    ASSERT_EQ(colour->SaveAdd(*palette, flag(EncoderValueFrameDimensionPage, EncoderValueCompressionLZW)), Ok);
    ASSERT_EQ(colour->SaveAdd(EncoderParameters{EncoderParameter::Long(EncoderSaveFlag, EncoderValueFlush)}), Ok);
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(ReadWholeFile(path, bytes), Ok);
    EXPECT_TRUE(bytes == SequentialCopy(bytes));
}

TEST_F(TiffStripsTest, APageSavedToAFileIsThePageEncodedInMemory) {
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {999, EncoderValueCompressionNone}, {1700, EncoderValueCompressionNone}, {999, EncoderValueCompressionLZW}};
    for (const auto& [width, compression] : cases) {
        SCOPED_TRACE(std::to_string(width) + " pixels wide, compression " + std::to_string(compression));
        auto page = Page(width, 900, PixelFormat24bppRGB, false);
        ASSERT_TRUE(page);
        ScratchFolder folder;
        const auto path = folder / "page.tif";
        const EncoderParameters parameters = Params(compression, 0);
        ASSERT_EQ(page->Save(path, kTiffCodec.clsid, &parameters), Ok);
        std::vector<std::uint8_t> saved;
        ASSERT_EQ(ReadWholeFile(path, saved), Ok);
        EXPECT_TRUE(saved == Encode(*page, kTiffCodec.clsid, parameters)) << "the file differs from the encoded bytes";
        EXPECT_TRUE(saved == SequentialCopy(saved)) << "differs from the sequential writer's file";
    }
}

}  // namespace
}  // namespace gdiplus::codecs
