// Multi-page TIFF files page by page, against files libtiff wrote.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <string>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

struct PageLayout {
    uint32_t width;
    uint32_t height;
    uint16_t samples;      // 1 grey or 3 RGB
    uint16_t bits;         // 1 or 8 per sample
    uint16_t photometric;  // MINISWHITE, MINISBLACK or RGB
};

// Row y of page p: every byte p * 16 + y, so rows and pages tell apart.
std::vector<uint8_t> PageRow(const PageLayout& layout, int page, uint32_t y) {
    const size_t bytes = (static_cast<size_t>(layout.width) * layout.samples * layout.bits + 7) / 8;
    return std::vector<uint8_t>(bytes, static_cast<uint8_t>(page * 16 + y));
}

std::string WriteTiff(const ScratchFolder& scratch, const std::string& name, const std::vector<PageLayout>& pages) {
    const std::string path = scratch.file(name);
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    for (size_t p = 0; p < pages.size(); ++p) {
        const PageLayout& layout = pages[p];
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, layout.width);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, layout.height);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samples);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, layout.bits);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, layout.photometric);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, layout.bits == 1 ? COMPRESSION_CCITTFAX4 : COMPRESSION_LZW);
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        for (uint32_t y = 0; y < layout.height; ++y) {
            std::vector<uint8_t> row = PageRow(layout, static_cast<int>(p), y);
            TIFFWriteScanline(tiff, row.data(), y, 0);
        }
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    return path;
}

const std::vector<PageLayout> kThreePages = {
    {8, 4, 1, 8, PHOTOMETRIC_MINISBLACK},
    {5, 3, 3, 8, PHOTOMETRIC_RGB},
    {16, 2, 1, 1, PHOTOMETRIC_MINISWHITE},
};

class OpenPages {
public:
    explicit OpenPages(const std::string& path)
        : file(MVIMGPLUG_OpenFileU(U16(path).c_str())), multi(MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, file)) {}
    ~OpenPages() {
        MVIMGPLUG_CloseMultiBitmap(multi, 0);
        MVIMGPLUG_CloseFileHandle(file);
    }
    MvimgplugHandle file;
    MvimgplugHandle multi;
};

TEST(Pages, EachPageLocksWithItsOwnSizeAndRowsUpright) {
    ScratchFolder scratch;
    OpenPages pages(WriteTiff(scratch, "three.tif", kThreePages));
    ASSERT_NE(pages.multi, 0u);
    ASSERT_EQ(MVIMGPLUG_GetPageCount(pages.multi), 3);

    for (int p = 0; p < 2; ++p) {
        const PageLayout& layout = kThreePages[p];
        const MvimgplugHandle page = MVIMGPLUG_LockPage(pages.multi, p);
        ASSERT_NE(page, 0u) << p;
        EXPECT_EQ(MVIMGPLUG_GetWidth(page), layout.width);
        EXPECT_EQ(MVIMGPLUG_GetHeight(page), layout.height);
        EXPECT_EQ(MVIMGPLUG_GetBPP(page), layout.samples * 8u);
        for (uint32_t y = 0; y < layout.height; ++y) EXPECT_EQ(RowOf(page, y), PageRow(layout, p, y)) << p << " " << y;
        MVIMGPLUG_UnlockPage(pages.multi, page, 0);
        EXPECT_EQ(MVIMGPLUG_GetWidth(page), 0u);
    }

    const MvimgplugHandle bits = MVIMGPLUG_LockPage(pages.multi, 2);
    ASSERT_NE(bits, 0u);
    EXPECT_EQ(MVIMGPLUG_GetBPP(bits), 1u);
    EXPECT_EQ(MVIMGPLUG_GetPhotoMetric(bits), 0);  // min-is-white
    EXPECT_EQ(RowOf(bits, 0), (std::vector<uint8_t>{0x20, 0x20}));
    EXPECT_EQ(RowOf(bits, 1), (std::vector<uint8_t>{0x21, 0x21}));
    MVIMGPLUG_UnlockPage(pages.multi, bits, 0);
}

TEST(Pages, PagesOutsideTheFileAreRefused) {
    ScratchFolder scratch;
    OpenPages pages(WriteTiff(scratch, "three.tif", kThreePages));
    EXPECT_EQ(MVIMGPLUG_LockPage(pages.multi, -1), 0u);
    EXPECT_EQ(MVIMGPLUG_LockPage(pages.multi, 3), 0u);
}

TEST(Pages, TheFileStaysOpenForTheMultiBitmapAfterItsHandleIsClosed) {
    ScratchFolder scratch;
    OpenPages pages(WriteTiff(scratch, "three.tif", kThreePages));
    MVIMGPLUG_CloseFileHandle(pages.file);
    EXPECT_EQ(MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, pages.file), 0u);
    const MvimgplugHandle page = MVIMGPLUG_LockPage(pages.multi, 1);
    ASSERT_NE(page, 0u);
    EXPECT_EQ(RowOf(page, 2), PageRow(kThreePages[1], 1, 2));
    MVIMGPLUG_UnlockPage(pages.multi, page, 0);
}

TEST(Pages, ClosingTheMultiBitmapGivesBackItsLockedPages) {
    ScratchFolder scratch;
    const std::string path = WriteTiff(scratch, "three.tif", kThreePages);
    OpenPages first(path);
    OpenPages second(path);
    const MvimgplugHandle page = MVIMGPLUG_LockPage(first.multi, 0);
    ASSERT_NE(page, 0u);
    // A page is given back only to its own multi-bitmap.
    MVIMGPLUG_UnlockPage(second.multi, page, 0);
    EXPECT_EQ(MVIMGPLUG_GetWidth(page), 8u);
    MVIMGPLUG_CloseMultiBitmap(first.multi, 0);
    EXPECT_EQ(MVIMGPLUG_GetWidth(page), 0u);
    EXPECT_EQ(MVIMGPLUG_GetPageCount(first.multi), 0);
    EXPECT_EQ(MVIMGPLUG_GetPageCount(second.multi), 3);
    // A page is not a bitmap to unload.
    const MvimgplugHandle other = MVIMGPLUG_LockPage(second.multi, 0);
    MVIMGPLUG_Unload(other);
    EXPECT_EQ(MVIMGPLUG_GetWidth(other), 8u);
}

TEST(Pages, OnlyTiffAndIconFilesOpenPageByPage) {
    ScratchFolder scratch;
    const std::string path = WriteTiff(scratch, "one.tif", {kThreePages[0]});
    OpenPages single(path);
    EXPECT_EQ(MVIMGPLUG_GetPageCount(single.multi), 1);
    const MvimgplugHandle file = MVIMGPLUG_OpenFileU(U16(path).c_str());
    for (int32_t format : {kJpeg, kTarga, kPng, kGif}) EXPECT_EQ(MVIMGPLUG_OpenMultiBitmapU(format, 0, file), 0u);
    MVIMGPLUG_CloseFileHandle(file);
    EXPECT_EQ(MVIMGPLUG_OpenFileU(U16(scratch.file("missing.tif")).c_str()), 0u);
    EXPECT_EQ(MVIMGPLUG_OpenFileU(U16(scratch.path()).c_str()), 0u);
}

}  // namespace
}  // namespace mvimgplug::testing
