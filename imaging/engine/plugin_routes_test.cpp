// The routes of loading, saving and page selection that go through the codec
// plug-in: with a scripted plug-in (what the engine asks of it), with the
// build tree's plug-in (files only it reads), and with the plug-in missing.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/save_memory.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/engine/testing/test_files.h"
#include "platform/gdiplus/codecs/icon_test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;

constexpr int32_t kTarga = 17;
constexpr int32_t kJ2k = 30;
constexpr int32_t kJp2 = 31;
// The save flag of a JPEG-compressed TIFF, as the savers send it.
constexpr int32_t kTiffJpegFlag = -32768;

// An 8-bit image with the 256-step grey palette.
int32_t GreyImage(int32_t width, int32_t height) {
    const int32_t id = RegisterBitmap(width, height, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette ramp;
    ramp.Count = 256;
    for (uint32_t i = 0; i < 256; ++i) ramp.Entries[i] = 0xFF000000u | i * 0x010101u;
    EXPECT_EQ(SetImagePalette(id, ramp), OK);
    return id;
}

// --- a scripted plug-in ---

// Reads every file as the format it is told, opens none, and saves by
// writing three bytes (or failing when told to); what it was asked is kept.
class ScriptedPlugin : public RecordingCodecPlugin {
public:
    int32_t fileType = kPluginFormatUnknown;
    bool saveSucceeds = true;
    int32_t loads = 0;
    std::vector<std::pair<int32_t, int32_t>> saves;  // format code, flags

    int32_t GetFileTypeU(const std::string&, int32_t) override { return fileType; }
    int32_t GetFIFFromFilenameU(const std::string&) override { return fileType; }
    PluginHandle LoadU(int32_t, const std::string&, int32_t) override {
        ++loads;
        return 0;
    }
    PluginHandle ConvertFromRawBits(const uint8_t*, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                    bool) override {
        return kBitmap;
    }
    int32_t SaveU(int32_t format, PluginHandle, const std::string& path, int32_t flags) override {
        saves.emplace_back(format, flags);
        if (!saveSucceeds) return 0;
        std::ofstream(path, std::ios::binary) << "\x01\x02\x03";
        return 1;
    }
    static constexpr PluginHandle kBitmap = 77;
};

class ScriptedPluginRoutes : public EngineTest {
protected:
    void SetUp() override {
        InstallPlugin(plugin_);
        EngineTest::SetUp();
        ASSERT_TRUE(PluginAvailable());
    }

    std::shared_ptr<ScriptedPlugin> plugin_ = std::make_shared<ScriptedPlugin>();
    ScopedTestFolder folder_{"scanvelt_plugin_routes"};
};

TEST_F(ScriptedPluginRoutes, ThePluginIsAskedFirstAndItsStatusStandsWhenNothingReads) {
    const std::string file = folder_.Write("unreadable.tga", {'x', 'y', 'z'});
    plugin_->fileType = kTarga;  // a format the plug-in reads, but it cannot open the file
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), InvalidParameter);
    EXPECT_EQ(plugin_->loads, 1);
    EXPECT_EQ(LoadImageFromFile(id, file, false, true, true, 0, true, true), UnknownImageFormat);
    EXPECT_EQ(plugin_->loads, 1) << "GDI+ only never asks the plug-in";
    EXPECT_EQ(id, 0);
}

TEST_F(ScriptedPluginRoutes, AFileThePluginLeavesToGdiplusIsLoadedByIt) {
    ScopedFakeDecoder decoder;
    std::vector<uint8_t> bytes{'F', 'A', 'K', 'E'};
    for (uint32_t value : {1u, 1u, 1u}) gdiplus::testing_support::PutU32(bytes, value);
    bytes.resize(bytes.size() + 4, 0xFF);
    const std::string file = folder_.Write("one.fake", bytes);
    for (const int32_t leftToGdiplus : {kPluginFormatBmp, kPluginFormatPng, kPluginFormatGif, kPluginFormatUnknown}) {
        plugin_->fileType = leftToGdiplus;
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OK) << leftToGdiplus;
        EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindFile);
        ReleaseImage(id);
    }
    EXPECT_EQ(plugin_->loads, 0);
}

TEST_F(ScriptedPluginRoutes, AGreyJpegGoesThroughThePluginWithItsQualityClamped) {
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec);
    const int32_t grey = GreyImage(4, 4);
    struct Case {
        int32_t quality;
        int32_t flags;
    };
    for (const Case& c : {Case{150, 100}, Case{60, 60}, Case{0, 1}, Case{-1, 0}}) {
        ASSERT_EQ(SaveImageAsJpeg(grey, folder_.PathOf("g.jpg"), c.quality, false), OK);
        EXPECT_EQ(plugin_->saves.back(), std::make_pair(kPluginFormatJpeg, c.flags)) << c.quality;
        EXPECT_EQ(plugin_->unloaded.back(), ScriptedPlugin::kBitmap) << "the plug-in bitmap is given back";
    }
    EXPECT_TRUE(jpeg.log->frames.empty()) << "GDI+ was not needed";

    ASSERT_EQ(SaveImageAsJpeg(grey, folder_.PathOf("g.jpg"), 60, true), OK);
    EXPECT_EQ(jpeg.log->frames.size(), 1u) << "GDI+ only";
    plugin_->saveSucceeds = false;
    ASSERT_EQ(SaveImageAsJpeg(grey, folder_.PathOf("g.jpg"), 60, false), OK);
    EXPECT_EQ(jpeg.log->frames.size(), 2u) << "a failed plug-in save falls back to GDI+";

    const int32_t colour = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    const size_t asked = plugin_->saves.size();
    ASSERT_EQ(SaveImageAsJpeg(colour, folder_.PathOf("c.jpg"), 60, false), OK);
    EXPECT_EQ(plugin_->saves.size(), asked) << "only grey images go to the plug-in";
}

TEST_F(ScriptedPluginRoutes, TheGreyJpegBytesLeaveNoTemporaryFile) {
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec);
    const int32_t grey = GreyImage(4, 4);
    plugin_->saveSucceeds = false;  // the JPEG saver falls back to GDI+, through the temporary file
    ScopedTestFolder temporary("scanvelt_plugin_routes_tmp");
    ScopedTempFolderVariable variable(temporary.path());
    int32_t count = 0;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(SaveImageToBytes(grey, count, bytes, "JPG", 80), OK);
    EXPECT_EQ(static_cast<size_t>(count), bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2), (std::vector<uint8_t>{0xFF, 0xD8}));
    EXPECT_EQ(plugin_->saves.size(), 1u) << "the plug-in was asked first";
    EXPECT_EQ(temporary.FileCount(), 0u);
}

// --- the build tree's plug-in ---

using BuildTreePluginRoutes = WithBuildTreePlugin;

TEST_F(BuildTreePluginRoutes, FilesOnlyThePluginWritesLoadThroughIt) {
    struct Case {
        const char* name;
        int32_t format;
        int32_t flags;
        const char* formatName;
        bool lossless;
    };
    const Case cases[] = {
        {"a.tga", kTarga, 0, "TARGA", true},
        {"a.j2k", kJ2k, 16, "J2K", false},
        {"a.jp2", kJp2, 16, "JP2", false},
        {"jpeg-in.tif", kPluginFormatTiff, kTiffJpegFlag, "TIFF", false},
    };
    // JPEG 2000 wants 32 pixels a side for its resolution levels.
    const int32_t id = RegisterBitmap(40, 32, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, AsymmetricPixels(40, 32));
    ActiveCodecPlugin()->SetTiffJpegCompression(90);
    for (const Case& c : cases) {
        const std::string file = scratch_.file(c.name);
        ASSERT_EQ(SaveImageWithPlugin(id, c.format, file, c.flags), OK) << c.name;
        int32_t loaded = 0;
        ASSERT_EQ(LoadImageFromFile(loaded, file, false, false, true, 0, true, true), OK) << c.name;
        EXPECT_EQ(ImageKindOf(loaded), ImageKindPluginBitmap) << c.name;
        EXPECT_EQ(FormatNameOf(loaded), c.formatName) << c.name;
        EXPECT_EQ(SizeOf(loaded), std::make_pair(40, 32)) << c.name;
        if (c.lossless) EXPECT_EQ(PixelsOf(loaded), AsymmetricPixels(40, 32)) << c.name;
        ReleaseImage(loaded);
    }
}

TEST_F(BuildTreePluginRoutes, IconsKeepTheirTransparencyThroughThePluginAndThroughGdiplus) {
    using namespace icon_test_files;
    if (!std::filesystem::exists(kImageMagickConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed";
    for (const bool gdiplusOnly : {false, true}) {
        SCOPED_TRACE(gdiplusOnly ? "through GDI+" : "through the plug-in");
        const auto loaded = [&](const std::filesystem::path& path) {
            int32_t id = 0;
            std::vector<uint8_t> bgra;  // ARGB words are B, G, R, A in memory
            if (LoadImageFromFile(id, path.string(), false, gdiplusOnly, true, 0, true, true) != OK) return bgra;
            EXPECT_EQ(ImageKindOf(id) == ImageKindPluginBitmap, !gdiplusOnly) << path;
            for (const uint32_t argb : PixelsOf(id))
                for (int shift = 0; shift < 32; shift += 8) bgra.push_back(static_cast<uint8_t>(argb >> shift));
            ReleaseImage(id);
            return bgra;
        };
        for (const auto& [path, differing] : IconsReadDifferentlyFromImageMagick(scratch_.path(), loaded))
            EXPECT_EQ(differing, 0) << path;
    }
}

TEST_F(BuildTreePluginRoutes, AGreyJpegIsWrittenByThePlugin) {
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec);
    const int32_t grey = GreyImage(8, 8);
    const std::string file = scratch_.file("grey.jpg");
    ASSERT_EQ(SaveImageAsJpeg(grey, file, 85, false), OK);
    EXPECT_TRUE(jpeg.log->frames.empty()) << "GDI+ was not asked";
    const std::vector<uint8_t> bytes = ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    int32_t loaded = 0;
    ASSERT_EQ(LoadImageFromFile(loaded, file, false, false, true, 0, true, true), OK);
    EXPECT_EQ(SizeOf(loaded), std::make_pair(8, 8));
    EXPECT_EQ(PixelFormatOf(loaded), gdiplus::PixelFormat8bppIndexed) << "a grey JPEG reads as grey";
}

TEST_F(BuildTreePluginRoutes, PagesOfAPagedTiffAreSelectedInThePlugin) {
    // Three pages of distinct colours, written by the engine's multi-page TIFF saver.
    const uint32_t colours[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    std::vector<int32_t> pages;
    for (const uint32_t colour : colours) {
        pages.push_back(RegisterBitmap(5, 3, gdiplus::PixelFormat24bppRGB));
        SetPixels(pages.back(), std::vector<uint32_t>(15, colour));
    }
    const std::string file = scratch_.file("three.tif");
    ASSERT_EQ(TiffMultiPageStart(pages[0], file, CompressionLZW), OK);
    ASSERT_EQ(TiffMultiPageAdd(pages[0], pages[1]), OK);
    ASSERT_EQ(TiffMultiPageAdd(pages[0], pages[2]), OK);
    ASSERT_EQ(ReleaseImage(pages[0]), OK);  // completes the file

    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OK);
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindPluginBitmap) << "a container over the plug-in's pages";
    EXPECT_EQ(ImageKindOf(id), ImageKindPluginPage) << "the current page, locked in the plug-in";
    EXPECT_TRUE(IsMultiPageTiff(id));
    EXPECT_FALSE(TiffPagesSplit(id));
    EXPECT_EQ(GetCurrentTiffPage(id), 0);
    EXPECT_EQ(PixelsOf(id)[0], colours[0]);
    const int32_t images = RegisteredImageCount();
    for (const int32_t page : {2, 1, 1, 0}) {
        ASSERT_EQ(SelectTiffPage(id, page), OK) << page;
        EXPECT_EQ(GetCurrentTiffPage(id), page);
        EXPECT_EQ(PixelsOf(id)[0], colours[page]) << page;
        EXPECT_EQ(RegisteredImageCount(), images) << "the old page was released: " << page;
    }
    EXPECT_EQ(SelectTiffPage(id, 3), InvalidParameter);
    EXPECT_EQ(ReleaseImage(id), OK);
    EXPECT_EQ(RegisteredImageCount(), images - 2) << "the container and its page are gone";
}

// --- without the plug-in ---

TEST(MissingPluginRoutes, LoadingAndSavingFallBackOrReportThePluginRequired) {
    WithMissingPlugin([] {
        ScopedTestFolder folder("scanvelt_missing_plugin");
        // A TGA file: nothing but the plug-in reads it.
        const std::string targa = folder.Write("a.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3});
        int32_t id = 0;
        EXPECT_EQ(LoadImageFromFile(id, targa, false, false, true, 0, true, true), Aborted);
        EXPECT_EQ(id, 0);

        const int32_t grey = GreyImage(4, 4);
        EXPECT_EQ(SaveImageWithPlugin(grey, kTarga, folder.PathOf("b.tga"), 0), MvimgplugDllRequired);
        EXPECT_FALSE(std::filesystem::exists(folder.PathOf("b.tga")));
        // The grey JPEG is written by GDI+ instead.
        const std::string jpeg = folder.PathOf("grey.jpg");
        ASSERT_EQ(SaveImageAsJpeg(grey, jpeg, 80, false), OK);
        EXPECT_EQ(ReadFileBytes(jpeg).at(0), 0xFF);
        int32_t loaded = 0;
        ASSERT_EQ(LoadImageFromFile(loaded, jpeg, false, false, true, 0, true, true), OK);
        EXPECT_EQ(ImageKindOf(loaded), ImageKindFile) << "read by GDI+";
    });
}

}  // namespace
}  // namespace scanvelt
