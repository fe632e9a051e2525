// JPEG-compressed TIFF with a quality, CCITT group 4 and zlib, each checked
// by the library that reads it back (libtiff, zlib).
#include <gtest/gtest.h>
#include <tiffio.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

constexpr uint32_t kWidth = 64;
constexpr uint32_t kHeight = 48;

std::string SaveTiffJpeg(const ScratchFolder& scratch, MvimgplugHandle bitmap, int32_t quality,
                         const std::string& name) {
    MVIMGPLUG_SetTiffJpegCompression(quality);
    const std::string path = scratch.file(name);
    EXPECT_EQ(MVIMGPLUG_SaveU(kTiff, bitmap, U16(path).c_str(), kTiffJpegFlag), 1);
    return path;
}

// The largest difference of a channel from the test picture, as libtiff reads the file.
int WorstError(const std::string& path) {
    TiffReader tiff(path);
    const std::vector<uint32_t> pixels = tiff.Rgba();
    int worst = 0;
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            const uint32_t p = pixels[y * kWidth + x];
            worst = std::max({worst, std::abs(static_cast<int>(TIFFGetR(p)) - TestRed(x, y)),
                              std::abs(static_cast<int>(TIFFGetG(p)) - TestGreen(x, y)),
                              std::abs(static_cast<int>(TIFFGetB(p)) - TestBlue(x, y))});
        }
    }
    return worst;
}

TEST(TiffJpeg, LibTiffReadsAJpegCompressedFileAtTheChosenQuality) {
    ScratchFolder scratch;
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    MVIMGPLUG_SetDotsPerMeterX(picture.get(), 11811);  // 300 dpi
    MVIMGPLUG_SetDotsPerMeterY(picture.get(), 7874);   // 200 dpi
    const std::string fine = SaveTiffJpeg(scratch, picture.get(), 95, "fine.tif");
    const std::string coarse = SaveTiffJpeg(scratch, picture.get(), 5, "coarse.tif");

    TiffReader tiff(fine);
    ASSERT_NE(tiff.get(), nullptr);
    EXPECT_EQ(tiff.Field16(TIFFTAG_COMPRESSION), COMPRESSION_JPEG);
    EXPECT_EQ(tiff.Field16(TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_YCBCR);
    EXPECT_EQ(tiff.Field32(TIFFTAG_IMAGEWIDTH), kWidth);
    EXPECT_EQ(tiff.Field32(TIFFTAG_IMAGELENGTH), kHeight);
    float dpiX = 0, dpiY = 0;
    TIFFGetField(tiff.get(), TIFFTAG_XRESOLUTION, &dpiX);
    TIFFGetField(tiff.get(), TIFFTAG_YRESOLUTION, &dpiY);
    EXPECT_NEAR(dpiX, 300, 0.01);
    EXPECT_NEAR(dpiY, 200, 0.01);

    EXPECT_LE(WorstError(fine), 8);
    EXPECT_GT(WorstError(coarse), WorstError(fine));
    EXPECT_LT(FileBytes(coarse).size(), FileBytes(fine).size());
    // The plug-in reads its own file back upright.
    Bitmap loaded(MVIMGPLUG_LoadU(kTiff, U16(fine).c_str(), 0));
    ExpectTestPicture24(loaded.get(), kWidth, kHeight, 8);
}

TEST(TiffJpeg, QualityIsClampedToOneToAHundred) {
    ScratchFolder scratch;
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    EXPECT_EQ(FileBytes(SaveTiffJpeg(scratch, picture.get(), 150, "over.tif")),
              FileBytes(SaveTiffJpeg(scratch, picture.get(), 100, "top.tif")));
    EXPECT_EQ(FileBytes(SaveTiffJpeg(scratch, picture.get(), -1, "under.tif")),
              FileBytes(SaveTiffJpeg(scratch, picture.get(), 1, "bottom.tif")));
    EXPECT_NE(FileBytes(scratch.file("top.tif")), FileBytes(scratch.file("bottom.tif")));
}

TEST(TiffJpeg, GreyPicturesStayGrey) {
    ScratchFolder scratch;
    Bitmap grey(NewTestBitmap8(kWidth, kHeight));
    TiffReader tiff(SaveTiffJpeg(scratch, grey.get(), 90, "grey.tif"));
    EXPECT_EQ(tiff.Field16(TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_MINISBLACK);
    EXPECT_EQ(tiff.Field16(TIFFTAG_SAMPLESPERPIXEL), 1);
    EXPECT_EQ(tiff.Field16(TIFFTAG_COMPRESSION), COMPRESSION_JPEG);
}

uint8_t* GrowVector(void* context, int32_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    bytes->resize(static_cast<size_t>(length));
    return bytes->data();
}

// 1-bit rows, set bits black: a frame around a diagonal, 3 bytes a row with 1 spare.
std::vector<uint8_t> FrameRows(int32_t width, int32_t height, int32_t stride) {
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * height, 0xA5);  // the spare bytes hold noise
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool black = y == 0 || y == height - 1 || x == 0 || x == width - 1 || x == y;
            uint8_t& byte = rows[static_cast<size_t>(y) * stride + x / 8];
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
            byte = black ? (byte | bit) : (byte & ~bit);
        }
    }
    return rows;
}

TEST(CcittG4, LibTiffDecodesTheCodeToTheSameRows) {
    constexpr int32_t width = 20, height = 15, stride = 4;
    const std::vector<uint8_t> rows = FrameRows(width, height, stride);
    std::vector<uint8_t> code;
    MvimgplugByteSink sink{&code, GrowVector};
    const MvimgplugBytes source{rows.data(), static_cast<int32_t>(rows.size())};
    ASSERT_EQ(MVIMGPLUG_VB_CompressCCITT4(&sink, &source, width, height, stride, 0), 0);
    ASSERT_FALSE(code.empty());

    // Wrap the code in a TIFF as a PDF reader would take it: K -1, black is 1.
    ScratchFolder scratch;
    const std::string path = scratch.file("g4.tif");
    TIFF* out = TIFFOpen(path.c_str(), "w");
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, height);
    ASSERT_EQ(TIFFWriteRawStrip(out, 0, code.data(), static_cast<tmsize_t>(code.size())),
              static_cast<tmsize_t>(code.size()));
    TIFFClose(out);

    TiffReader in(path);
    std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(in.get())));
    for (int32_t y = 0; y < height; ++y) {
        ASSERT_EQ(TIFFReadScanline(in.get(), row.data(), static_cast<uint32_t>(y), 0), 1);
        for (int32_t x = 0; x < width; ++x) {
            const int expected = (rows[static_cast<size_t>(y) * stride + x / 8] >> (7 - x % 8)) & 1;
            EXPECT_EQ((row[x / 8] >> (7 - x % 8)) & 1, expected) << "x " << x << " y " << y;
        }
    }
}

TEST(CcittG4, RowsThatDoNotFitTheirDescriptionAreRefused) {
    std::vector<uint8_t> code;
    MvimgplugByteSink sink{&code, GrowVector};
    const std::vector<uint8_t> rows(30, 0);
    const MvimgplugBytes source{rows.data(), static_cast<int32_t>(rows.size())};
    EXPECT_NE(MVIMGPLUG_VB_CompressCCITT4(&sink, &source, 20, 15, 2, 0), 0);   // stride below a row
    EXPECT_NE(MVIMGPLUG_VB_CompressCCITT4(&sink, &source, 20, 15, 3, 0), 0);   // 45 bytes needed
    EXPECT_NE(MVIMGPLUG_VB_CompressCCITT4(&sink, &source, 0, 15, 3, 0), 0);
    EXPECT_NE(MVIMGPLUG_VB_CompressCCITT4(&sink, nullptr, 8, 1, 1, 0), 0);
    EXPECT_NE(MVIMGPLUG_VB_CompressCCITT4(nullptr, &source, 8, 1, 1, 0), 0);
    MvimgplugByteSink noRoom{nullptr, [](void*, int32_t) -> uint8_t* { return nullptr; }};
    EXPECT_NE(MVIMGPLUG_VB_CompressCCITT4(&noRoom, &source, 8, 10, 3, 0), 0);
    EXPECT_EQ(MVIMGPLUG_VB_CompressCCITT4(&sink, &source, 20, 10, 3, 0), 0);
}

TEST(ZLib, ACompressedStreamInflatesToTheSource) {
    std::string source;
    for (int i = 0; i < 1000; ++i) source += "BT /F1 12 Tf 72 " + std::to_string(i) + " Td (line) Tj ET\n";
    std::vector<uint8_t> dest(source.size() + source.size() / 100 + 12);
    const int32_t length = MVIMGPLUG_ZLibCompress2(dest.data(), static_cast<int32_t>(dest.size()),
                                                   reinterpret_cast<const uint8_t*>(source.data()),
                                                   static_cast<int32_t>(source.size()));
    ASSERT_GT(length, 0);
    EXPECT_LT(static_cast<size_t>(length), source.size() / 4);
    std::string inflated(source.size(), '\0');
    uLongf inflatedLength = inflated.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &inflatedLength, dest.data(),
                         static_cast<uLong>(length)),
              Z_OK);
    EXPECT_EQ(inflatedLength, source.size());
    EXPECT_EQ(inflated, source);
}

TEST(ZLib, FailuresAreZeroOrLess) {
    const std::vector<uint8_t> source(1000, 7);
    std::vector<uint8_t> tiny(4);
    EXPECT_LE(MVIMGPLUG_ZLibCompress2(tiny.data(), 4, source.data(), 1000), 0);
    EXPECT_LE(MVIMGPLUG_ZLibCompress2(nullptr, 100, source.data(), 1000), 0);
    EXPECT_LE(MVIMGPLUG_ZLibCompress2(tiny.data(), 4, nullptr, 10), 0);
    EXPECT_LE(MVIMGPLUG_ZLibCompress2(tiny.data(), -1, source.data(), 1000), 0);
}

}  // namespace
}  // namespace mvimgplug::testing
