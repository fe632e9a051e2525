#include "imaging/engine/multi_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;

// Each test gets a temporary folder of its own, so the page files it leaves
// can be counted.
// Each test's temporary files go to a folder of its own, so the page files
// it leaves can be counted.
class MultiPageTest : public EngineTest {
protected:
    size_t FilesLeft() const { return folder_.FileCount(); }
    std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        return folder_.Write(name, bytes);
    }

    // The first pixel of the current page.
    uint32_t FirstPixel(int32_t id) {
        uint32_t colour = 0;
        EXPECT_EQ(GetImagePixel(id, 0, 0, colour), OK);
        return colour;
    }

    ScopedTestFolder folder_{"scanvelt_pages"};
    ScopedTempFolderVariable temp_{folder_.path()};
    ScopedFakeDecoder fakeDecoder_;
    ScopedEncoderSpy tiffSpy_{gdiplus::kTiffCodec};
    ScopedEncoderSpy pngSpy_{gdiplus::kPngCodec};
};

const std::vector<std::pair<uint32_t, uint32_t>> kThreePages = {{4, 3}, {5, 2}, {6, 1}};

TEST_F(MultiPageTest, AThreePageTiffFromAStreamIsSplitIntoPageFiles) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    const int32_t before = RegisteredImageCount();
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile(kThreePages)), false), OK);
    ASSERT_NE(id, 0);
    EXPECT_TRUE(TiffPagesSplit(id));
    EXPECT_TRUE(IsMultiPageTiff(id));
    EXPECT_FALSE(IsMultiFrameGif(id));
    int32_t pages = 0;
    EXPECT_EQ(GetTiffPageCount(id, pages), OK);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(GetCurrentTiffPage(id), 0);
    EXPECT_EQ(FilesLeft(), 3u);
    EXPECT_EQ(RegisteredImageCount(), before + 2) << "the container and its loaded page";
    EXPECT_EQ(SizeOf(id), std::make_pair(4, 3));
    EXPECT_EQ(FirstPixel(id), 0xFF000001u);
    ASSERT_EQ(tiffSpy_.log->frames.size(), 3u) << "one LZW page file per page";
    for (const auto& frame : tiffSpy_.log->frames) {
        EXPECT_EQ(gdiplus::FindEncoderLong(frame, gdiplus::EncoderCompression), uint32_t{CompressionLZW});
    }

    ASSERT_EQ(SelectTiffPage(id, 2), OK);
    EXPECT_EQ(SizeOf(id), std::make_pair(6, 1));
    EXPECT_EQ(FirstPixel(id), 0xFF000003u);
    EXPECT_EQ(SelectTiffPage(id, 5), InvalidParameter);
    EXPECT_EQ(SelectGifFrame(id, 0), UnsupportedImageFormat);
    EXPECT_EQ(SelectTiffPage(424242, 0), GenericError);

    EXPECT_EQ(ReleaseImage(id), OK);
    EXPECT_EQ(FilesLeft(), 0u);
    EXPECT_EQ(RegisteredImageCount(), before);
}

TEST_F(MultiPageTest, APageEditSurvivesSwitchingPages) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile(kThreePages)), false), OK);
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    const std::string oldFile = FindImageEntry(id)->PageFiles[1];
    gdiplus::Bitmap* page = NativeBitmapOf(id);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->SetPixel(0, 0, 0xFF00FF00u), gdiplus::Ok);
    MarkImageModified(id);

    ASSERT_EQ(SelectTiffPage(id, 2), OK);
    EXPECT_NE(FindImageEntry(id)->PageFiles[1], oldFile);
    EXPECT_FALSE(std::filesystem::exists(oldFile));
    EXPECT_EQ(FilesLeft(), 3u);
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    EXPECT_EQ(FirstPixel(id), 0xFF00FF00u);
    EXPECT_EQ(ReleaseImage(id), OK);
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(MultiPageTest, APageThatCannotBeWrittenBackStaysCurrentAndIsReported) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile(kThreePages)), false), OK);
    ASSERT_EQ(NativeBitmapOf(id)->SetPixel(0, 0, 0xFF0000FFu), gdiplus::Ok);
    MarkImageModified(id);
    const std::string oldFile = FindImageEntry(id)->PageFiles[0];
    tiffSpy_.log->failNext = true;
    EXPECT_EQ(SelectTiffPage(id, 1), Win32Error);
    EXPECT_EQ(GetCurrentTiffPage(id), 0);
    EXPECT_EQ(FirstPixel(id), 0xFF0000FFu) << "the change is still there";
    EXPECT_TRUE(std::filesystem::exists(oldFile));
    EXPECT_EQ(FilesLeft(), 3u) << "no half-written page file";
    tiffSpy_.log->failNext = false;
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    ASSERT_EQ(SelectTiffPage(id, 0), OK);
    EXPECT_EQ(FirstPixel(id), 0xFF0000FFu);
    ReleaseImage(id);
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(MultiPageTest, ReplacingTheCurrentPageWritesTheNewPageBeforeTheOldGoes) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile(kThreePages)), false), OK);
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    const std::string oldFile = FindImageEntry(id)->PageFiles[1];
    const int32_t replacement = RegisterBitmap(7, 7, gdiplus::PixelFormat24bppRGB);

    tiffSpy_.log->failNext = true;
    EXPECT_EQ(ReplaceImageBitmap(id, replacement), 0);
    EXPECT_TRUE(std::filesystem::exists(oldFile));
    EXPECT_EQ(SizeOf(id), std::make_pair(5, 2)) << "the old page is still current";
    tiffSpy_.log->failNext = false;

    EXPECT_EQ(ReplaceImageBitmap(id, replacement), id);
    EXPECT_FALSE(std::filesystem::exists(oldFile));
    EXPECT_EQ(SizeOf(id), std::make_pair(7, 7));
    EXPECT_EQ(CurrentPageImageId(id), replacement);
    ASSERT_EQ(SelectTiffPage(id, 0), OK);
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    EXPECT_EQ(SizeOf(id), std::make_pair(7, 7));
    ReleaseImage(id);
    EXPECT_EQ(FilesLeft(), 0u);
}

gdiplus::PropertyItem LongsItem(gdiplus::PROPID id, std::vector<uint32_t> values) {
    gdiplus::PropertyItem item{id, static_cast<uint32_t>(4 * values.size()), gdiplus::PropertyTagTypeLong, {}};
    for (uint32_t v : values) {
        for (int i = 0; i < 4; ++i) item.value.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return item;
}

gdiplus::PropertyItem LoopItem(uint16_t count) {
    return {gdiplus::PropertyTagLoopCount, 2, gdiplus::PropertyTagTypeShort,
            {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)}};
}

TEST_F(MultiPageTest, AGifKeepsItsDelaysAndLoopCount) {
    struct Case {
        std::vector<uint32_t> delays;
        uint16_t loops;
        std::vector<int32_t> kept;
    };
    const Case cases[] = {
        {{10, 0, 30}, 40000, {10, 25, 30}},
        {{0, 0, 0}, 0, {25, 25, 25}},
        {{7}, 65535, {7, 25, 25}},
    };
    for (const Case& c : cases) {
        ScopedTestFramesDecoder decoder(gdiplus::ImageFormatGIF,
                                        {LongsItem(gdiplus::PropertyTagFrameDelay, c.delays), LoopItem(c.loops)});
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile(kThreePages)), false), OK);
        EXPECT_TRUE(GifFramesSplit(id));
        std::vector<int32_t> delays;
        EXPECT_EQ(GetGifFrameDelays(id, delays), OK);
        EXPECT_EQ(delays, c.kept);
        EXPECT_EQ(FindImageEntry(id)->GifLoopCount, c.loops);
        // The animation items go back on the current frame at every selection.
        ASSERT_EQ(SelectGifFrame(id, 2), OK);
        gdiplus::PropertyItem loop;
        ASSERT_EQ(NativeImageOf(id)->GetPropertyItem(gdiplus::PropertyTagLoopCount, loop), gdiplus::Ok);
        EXPECT_EQ(loop, LoopItem(c.loops));
        gdiplus::PropertyItem written;
        ASSERT_EQ(NativeImageOf(id)->GetPropertyItem(gdiplus::PropertyTagFrameDelay, written), gdiplus::Ok);
        std::vector<uint32_t> kept(c.kept.begin(), c.kept.end());
        EXPECT_EQ(written, LongsItem(gdiplus::PropertyTagFrameDelay, kept));
        EXPECT_FALSE(FindImageEntry(CurrentPageImageId(id))->IsModified);
        ReleaseImage(id);
    }
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(MultiPageTest, ASingleFrameStaysAnOrdinaryImage) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatGIF);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile({{3, 3}})), false), OK);
    EXPECT_FALSE(IsMultiFrameGif(id));
    int32_t count = 7;
    EXPECT_EQ(GetGifFrameCount(id, count), UnsupportedImageFormat);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(GetCurrentGifFrame(id), -1);
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(MultiPageTest, AFileKeptNativeSelectsFramesInsideItsImage) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    const std::string file = WriteFile("three.tstf", TestFramesFile(kThreePages));
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OK);
    EXPECT_FALSE(TiffPagesSplit(id));
    EXPECT_TRUE(IsMultiPageTiff(id));
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindFile);
    int32_t pages = 0;
    EXPECT_EQ(GetTiffPageCount(id, pages), OK);
    EXPECT_EQ(pages, 3);
    ASSERT_EQ(SelectTiffPage(id, 2), OK);
    EXPECT_EQ(GetCurrentTiffPage(id), 2);
    EXPECT_EQ(SizeOf(id), std::make_pair(6, 1));
    EXPECT_EQ(FilesLeft(), 1u) << "only the file itself";
}

TEST_F(MultiPageTest, TheQuestionsOfAnUnregisteredId) {
    int32_t count = 9;
    EXPECT_EQ(GetTiffPageCount(424242, count), UnsupportedImageFormat);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(GetCurrentTiffPage(424242), 0);
    EXPECT_FALSE(TiffPagesSplit(424242));
    std::vector<int32_t> delays{1};
    EXPECT_EQ(GetGifFrameDelays(424242, delays), InvalidParameter);
    EXPECT_EQ(SelectNativeTiffPage(424242, 0), InvalidParameter);
}

}  // namespace
}  // namespace scanvelt
