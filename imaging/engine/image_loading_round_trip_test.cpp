// Round trips through the real codecs: files written by the savers are read
// back by the loaders and, where a tool of their own exists, by it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "imaging/engine/encoder_table.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/save_memory.h"
#include "imaging/engine/save_prepare.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt {
namespace {

using namespace testing_support;

class RoundTripTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        for (const char* pattern : {"*.tif", "*.jpg", "*.gif", "*.png", "*.bmp"}) {
            if (EncoderIndexOf(pattern) < 0) GTEST_SKIP() << "no encoder for " << pattern << ": codecs not linked";
        }
    }
    std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

    ScopedTestFolder folder_{"scanvelt_round_trip"};
};

// The standard output of a tool, nullopt when it cannot be run.
std::optional<std::string> ToolOutput(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    std::array<char, 4096> chunk{};
    while (size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) output.append(chunk.data(), n);
    const int status = pclose(pipe);
    if (status != 0) return std::nullopt;
    return output;
}

bool ToolExists(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null").c_str()) == 0; }

size_t CountOf(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// An 8 x 6 page: a bilevel checkerboard, colour stripes, or grey steps.
int32_t MakePage(int32_t format) {
    const int32_t id = RegisterBitmap(8, 6, format);
    std::vector<uint32_t> pixels(48);
    for (uint32_t i = 0; i < 48; ++i) {
        const uint32_t x = i % 8, y = i / 8;
        if (format == gdiplus::PixelFormat1bppIndexed) {
            pixels[i] = (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
        } else {
            pixels[i] = x < 3 ? 0xFFFF0000u : x < 6 ? 0xFF00FF00u : 0xFF0000FFu;
        }
    }
    SetPixels(id, pixels);
    return id;
}

TEST_F(RoundTripTest, AThreePageTiffBuiltWithTheSaveFlags) {
    const int32_t first = MakePage(gdiplus::PixelFormat1bppIndexed);
    const int32_t colour = MakePage(gdiplus::PixelFormat24bppRGB);
    const int32_t bilevel = MakePage(gdiplus::PixelFormat1bppIndexed);
    const std::vector<uint32_t> firstPixels = PixelsOf(first), colourPixels = PixelsOf(colour);
    const std::string file = PathOf("three.tif");
    ASSERT_EQ(TiffMultiPageStart(first, file, CompressionCCITT4), OK);
    ASSERT_EQ(TiffMultiPageAdd(first, colour), OK);
    ASSERT_EQ(TiffMultiPageAdd(first, bilevel), OK);
    ASSERT_EQ(ReleaseImage(first), OK);

    // scripts/setup installs the oracle (libtiff-tools): a machine without it fails here.
    ASSERT_TRUE(ToolExists("tiffinfo")) << "tiffinfo is missing: run scripts/setup";
    {
        const std::optional<std::string> info = ToolOutput("tiffinfo '" + file + "'");
        ASSERT_TRUE(info.has_value()) << "tiffinfo refused the file";
        EXPECT_EQ(CountOf(*info, "TIFF Directory at offset"), 3u) << *info;
        const std::regex scheme("Compression Scheme: ([^\\n]+)");
        std::vector<std::string> schemes;
        for (std::sregex_iterator it(info->begin(), info->end(), scheme), end; it != end; ++it) {
            schemes.push_back((*it)[1]);
        }
        EXPECT_EQ(schemes, (std::vector<std::string>{"CCITT Group 4", "LZW", "CCITT Group 4"})) << *info;
    }

    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OK);
    int32_t pages = 0;
    ASSERT_EQ(GetTiffPageCount(id, pages), OK);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat1bppIndexed);
    EXPECT_EQ(PixelsOf(id), firstPixels);
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    EXPECT_EQ(PixelsOf(id), colourPixels);
    ASSERT_EQ(SelectTiffPage(id, 2), OK);
    EXPECT_EQ(PixelsOf(id), firstPixels);
}

TEST_F(RoundTripTest, ASavedJpegCarriesItsExifButNoTimeZoneOffset) {
    const int32_t id = MakePage(gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(SetPropertyItemAscii(id, 0x010F, "Scanvelt maker", false), OK);
    const uint8_t offset[2] = {2, 0};
    ASSERT_EQ(SetPropertyItemValues(id, kTagTimeZoneOffset, 3, offset, false), OK);
    const std::string file = PathOf("exif.jpg");
    ASSERT_EQ(SaveImageAsJpeg(id, file, 90, true), OK);

    const std::vector<uint8_t> raw = ReadFileBytes(file);
    const std::string bytes(raw.begin(), raw.end());
    EXPECT_NE(bytes.find(std::string("Exif\0\0", 6)), std::string::npos);
    EXPECT_NE(bytes.find("Scanvelt maker"), std::string::npos);

    int32_t loaded = 0;
    ASSERT_EQ(LoadImageFromFile(loaded, file, false, false, true, 0, true, true), OK);
    int32_t size = 0;
    EXPECT_EQ(GetPropertyItemSize(loaded, 0x010F, size), OK);
    EXPECT_EQ(GetPropertyItemSize(loaded, kTagTimeZoneOffset, size), PropertyNotFound);
    EXPECT_EQ(SizeOf(loaded), std::make_pair(8, 6));
}

// A GIF of three frames written through the GIF encoder's multi-frame save.
std::string WriteThreeFrameGif(const std::string& file, const std::vector<uint32_t>& delays, uint16_t loops) {
    gdiplus::PropertyItem delayItem{gdiplus::PropertyTagFrameDelay, static_cast<uint32_t>(4 * delays.size()),
                                    gdiplus::PropertyTagTypeLong, {}};
    for (uint32_t d : delays) {
        for (int i = 0; i < 4; ++i) delayItem.value.push_back(static_cast<uint8_t>(d >> (8 * i)));
    }
    const gdiplus::PropertyItem loopItem{gdiplus::PropertyTagLoopCount, 2, gdiplus::PropertyTagTypeShort,
                                         {static_cast<uint8_t>(loops), static_cast<uint8_t>(loops >> 8)}};
    std::vector<std::unique_ptr<gdiplus::Bitmap>> frames;
    for (uint32_t colour : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}) {
        std::unique_ptr<gdiplus::Bitmap> frame;
        EXPECT_EQ(gdiplus::Bitmap::Create(4, 4, gdiplus::PixelFormat32bppARGB, frame), gdiplus::Ok);
        for (int32_t i = 0; i < 16; ++i) frame->SetPixel(i % 4, i / 4, colour);
        frame->SetPropertyItem(delayItem);
        frame->SetPropertyItem(loopItem);
        frames.push_back(std::move(frame));
    }
    const gdiplus::Guid gif = EncoderClsid(EncoderIndexOf("*.gif"));
    const gdiplus::EncoderParameters start{
        gdiplus::EncoderParameter::Long(gdiplus::EncoderSaveFlag, gdiplus::EncoderValueMultiFrame)};
    const gdiplus::EncoderParameters add{
        gdiplus::EncoderParameter::Long(gdiplus::EncoderSaveFlag, gdiplus::EncoderValueFrameDimensionTime)};
    EXPECT_EQ(frames[0]->Save(file, gif, &start), gdiplus::Ok);
    EXPECT_EQ(frames[0]->SaveAdd(*frames[1], add), gdiplus::Ok);
    EXPECT_EQ(frames[0]->SaveAdd(*frames[2], add), gdiplus::Ok);
    frames.clear();  // completes the file
    return file;
}

TEST_F(RoundTripTest, AThreeFrameGifKeepsDelaysAndLoopCount) {
    for (const uint16_t loops : {uint16_t{0}, uint16_t{5}, uint16_t{40000}}) {
        const std::string file = WriteThreeFrameGif(PathOf("anim.gif"), {10, 20, 30}, loops);
        ASSERT_TRUE(ToolExists("giftext")) << "giftext is missing (giflib-tools): run scripts/setup";
        {
            const std::optional<std::string> text = ToolOutput("giftext '" + file + "'");
            ASSERT_TRUE(text.has_value()) << "giftext refused the file";
            EXPECT_EQ(CountOf(*text, "Image #"), 3u) << *text;
        }
        for (const bool fromStream : {false, true}) {
            int32_t id = 0;
            if (fromStream) {
                ASSERT_EQ(LoadImageFromStream(id, StreamOf(ReadFileBytes(file)), false), OK);
                EXPECT_TRUE(GifFramesSplit(id));
            } else {
                ASSERT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OK);
                EXPECT_FALSE(GifFramesSplit(id));
            }
            std::vector<int32_t> delays;
            ASSERT_EQ(GetGifFrameDelays(id, delays), OK);
            EXPECT_EQ(delays, (std::vector<int32_t>{10, 20, 30})) << loops << fromStream;
            EXPECT_EQ(FindImageEntry(id)->GifLoopCount, loops) << fromStream;
            ASSERT_EQ(SelectGifFrame(id, 1), OK);
            EXPECT_EQ(PixelsOf(id)[0], 0xFF00FF00u);

            // Saved again, the current frame carries the animation items.
            const std::string again = PathOf("again.gif");
            ASSERT_EQ(SaveImageAsGif(id, again), OK);
            int32_t reloaded = 0;
            ASSERT_EQ(LoadImageFromFile(reloaded, again, false, false, true, 0, true, true), OK);
            ReleaseImage(reloaded);
            ReleaseImage(id);
        }
    }
}

TEST_F(RoundTripTest, MemorySavesHoldExactlyTheEncodedBytes) {
    const int32_t id = MakePage(gdiplus::PixelFormat24bppRGB);
    for (const char* format : {"png", " PNG ", "jpg", "tif", "bmp", "pcx"}) {
        int32_t count = 0;
        std::vector<uint8_t> bytes;
        ASSERT_EQ(SaveImageToBytes(id, count, bytes, format, 0), OK) << format;
        EXPECT_EQ(static_cast<size_t>(count), bytes.size());
        // Written to a file by the matching saver, the bytes are the same.
        const std::string name = std::string(format).find("png") != std::string::npos ||
                                         std::string(format).find("PNG") != std::string::npos
                                     ? "m.png"
                                     : "m.other";
        if (name == "m.png") {
            ASSERT_EQ(SaveImageAsPng(id, PathOf(name)), OK);
            EXPECT_EQ(bytes, ReadFileBytes(PathOf(name))) << format;
        }
        std::shared_ptr<win::Stream> stream;
        ASSERT_EQ(SaveImageToStream(id, stream, format, 0), OK);
        win::StreamStat stat;
        ASSERT_EQ(stream->Stat(&stat), win::S_OK);
        EXPECT_EQ(stat.size, bytes.size()) << format;
        int32_t loaded = 0;
        ASSERT_EQ(LoadImageFromStream(loaded, stream, false), OK) << format;
        EXPECT_EQ(SizeOf(loaded), std::make_pair(8, 6));
        ReleaseImage(loaded);
    }
    std::string text;
    ASSERT_EQ(SaveImageToString(id, text, "bmp", 0), OK);
    EXPECT_EQ(text.substr(0, 2), "BM");
}

}  // namespace
}  // namespace scanvelt
