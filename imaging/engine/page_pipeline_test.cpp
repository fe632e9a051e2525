// The benchmarks' page pipeline end to end, held to reference code: an
// uncompressed TIFF written by libtiff, loaded by the engine, turned negative
// through the dispatcher's 32-bit working copy, and saved uncompressed; the
// saved file, read back by libtiff, holds exactly 255 minus every sample of
// the input. The page blocks that the bitmap and the working copy are made
// from are soiled first, so a pixel left unwritten anywhere on the way (the
// decoder writes into pixels it did not clear, the working copy is not
// zeroed) would show in the file.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstring>
#include <vector>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/filter_negative.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"
#include "platform/gdiplus/memory.h"

namespace scanvelt {
namespace {

// Large enough that the bitmap and the working copy are page blocks of the
// pool; rows of 3 x 1301 bytes carry padding in the bitmap.
constexpr uint32_t kWidth = 1301;
constexpr uint32_t kHeight = 1101;

uint8_t SampleAt(uint32_t x, uint32_t y, uint32_t c) { return static_cast<uint8_t>(x * 5 + y * 11 + c * 83 + (x ^ y) % 7); }

bool WriteInput(const std::string& path) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
    std::vector<uint8_t> row(kWidth * 3);
    bool written = true;
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t i = 0; i < row.size(); ++i) row[i] = SampleAt(i / 3, y, i % 3);
        written = written && TIFFWriteScanline(tif, row.data(), y, 0) == 1;
    }
    TIFFClose(tif);
    return written;
}

// Page blocks of about `bytes` full of a pattern, left in the pool.
void SoilPool(size_t bytes) {
    for (size_t size : {bytes, bytes + 4096}) {
        gdiplus::OwnedBuffer block = gdiplus::AllocUninitializedBuffer(size);
        ASSERT_TRUE(block);
        std::memset(block.get(), 0xA5, size);
    }
}

class PagePipelineTest : public testing_support::EngineTest {};

TEST_F(PagePipelineTest, NegativeOfAnUncompressedPageIsExactInTheSavedFile) {
    testing_support::ScopedTestFolder folder("page_pipeline");
    const std::string input = folder.PathOf("in.tif"), output = folder.PathOf("out.tif");
    ASSERT_TRUE(WriteInput(input));
    SoilPool(size_t{(kWidth * 3 + 3) / 4 * 4} * kHeight);  // the bitmap
    SoilPool(size_t{kWidth} * kHeight * 4);                 // the working copy
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, input, false, true, true, 0, true, true), OK);
    double unused = 0;
    ASSERT_EQ(ApplyFilter(kNegativeCode, id, 0, RoiRect{0, 0, static_cast<int32_t>(kWidth), static_cast<int32_t>(kHeight)},
                          0.0f, 0.5f, 1.0f, 0, 0, 0, unused),
              OK);
    ASSERT_EQ(SaveImageAsTiff(id, output, CompressionNone, 0), OK);
    ReleaseImage(id);

    TIFF* tif = TIFFOpen(output.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    std::vector<uint32_t> raster(size_t{kWidth} * kHeight);
    const bool read = TIFFReadRGBAImageOriented(tif, kWidth, kHeight, raster.data(), ORIENTATION_TOPLEFT, 1) == 1;
    TIFFClose(tif);
    ASSERT_TRUE(read);
    size_t wrong = 0;
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            const uint32_t p = raster[size_t{y} * kWidth + x];
            const bool same = TIFFGetR(p) == 255u - SampleAt(x, y, 0) && TIFFGetG(p) == 255u - SampleAt(x, y, 1) &&
                              TIFFGetB(p) == 255u - SampleAt(x, y, 2) && TIFFGetA(p) == 255u;
            if (!same && wrong++ < 5) ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << p;
        }
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace scanvelt
