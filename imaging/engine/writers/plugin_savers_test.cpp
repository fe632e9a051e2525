#include "imaging/engine/writers/plugin_savers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/engine/testing/test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;

using WithPlugin = WithBuildTreePlugin;

struct FileCase {
    const char* name;
    int32_t pixelFormat;
    std::function<MorvalenStatus(int32_t, const std::string&)> save;
};

TEST_F(WithPlugin, EverySaverWritesAFileThePluginReadsBack) {
    const FileCase cases[] = {
        {"j2k", gdiplus::PixelFormat24bppRGB, [](int32_t id, const std::string& p) { return SaveImageAsJ2k(id, p, 16); }},
        {"jp2", gdiplus::PixelFormat32bppARGB, [](int32_t id, const std::string& p) { return SaveImageAsJp2(id, p, 16); }},
        {"exr", gdiplus::PixelFormat24bppRGB,
         [](int32_t id, const std::string& p) { return SaveImageAsExr(id, p, ExrCompressionZip); }},
        {"ico", gdiplus::PixelFormat32bppARGB, [](int32_t id, const std::string& p) { return SaveImageAsIco(id, p); }},
        {"pbm", gdiplus::PixelFormat1bppIndexed, [](int32_t id, const std::string& p) { return SaveImageAsPbm(id, p); }},
        {"tga", gdiplus::PixelFormat8bppIndexed, [](int32_t id, const std::string& p) { return SaveImageAsTga(id, p); }},
        {"tif", gdiplus::PixelFormat24bppRGB,
         [](int32_t id, const std::string& p) { return SaveImageAsTiffJpeg(id, p, 80); }},
        {"wbmp", gdiplus::PixelFormat1bppIndexed, [](int32_t id, const std::string& p) { return SaveImageAsWbmp(id, p); }},
        {"xpm", gdiplus::PixelFormat8bppIndexed, [](int32_t id, const std::string& p) { return SaveImageAsXpm(id, p); }},
    };
    // JPEG 2000 wants 32 pixels a side for its resolution levels; icons come
    // in a few sizes only.
    for (const FileCase& c : cases) {
        const std::pair<int32_t, int32_t> size{std::string(c.name) == "ico" ? 32 : 40, 32};
        const int32_t id = RegisterBitmap(size.first, size.second, c.pixelFormat);
        const std::string path = scratch_.file(std::string("saved.") + c.name);
        ASSERT_EQ(c.save(id, path), OK) << c.name;
        if (std::string(c.name) == "wbmp") {
            // No reader knows WBMP by its content: type 0, fixed header 0,
            // width and height, then rows of 5 bytes.
            const std::vector<uint8_t> file = ReadFileBytes(path);
            ASSERT_EQ(file.size(), 4u + 32u * 5u);
            EXPECT_EQ((std::vector<uint8_t>(file.begin(), file.begin() + 4)), (std::vector<uint8_t>{0, 0, 40, 32}));
            continue;
        }
        int32_t loaded = 0;
        ASSERT_EQ(LoadWithPlugin(loaded, path, false, true, true), OK) << c.name;
        EXPECT_EQ(SizeOf(loaded), size) << c.name;
        ReleaseImage(loaded);
    }
}

// 16-bit colours whose fields differ in every bit position: a green field
// read with the wrong width, or red and blue swapped, shows.
std::vector<uint32_t> SixteenBitTestColours() {
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 32; ++i) {
        colours.push_back(0xFF000000u | (i * 8) << 16 | ((i * 37) % 256) << 8 | ((255 - i * 8) & 0xFF));
    }
    return colours;
}

TEST_F(WithPlugin, SixteenBitImagesComeBackFromTheirFilesWithTheirOwnColours) {
    struct Case {
        const char* name;
        int32_t format;
        std::function<MorvalenStatus(int32_t, const std::string&)> save;
    };
    const Case cases[] = {
        {"565.tga", gdiplus::PixelFormat16bppRGB565, [](int32_t id, const std::string& p) { return SaveImageAsTga(id, p); }},
        {"555.tga", gdiplus::PixelFormat16bppRGB555, [](int32_t id, const std::string& p) { return SaveImageAsTga(id, p); }},
        {"565.ico", gdiplus::PixelFormat16bppRGB565, [](int32_t id, const std::string& p) { return SaveImageAsIco(id, p); }},
        {"555.ico", gdiplus::PixelFormat16bppRGB555, [](int32_t id, const std::string& p) { return SaveImageAsIco(id, p); }},
        {"1555.tga", gdiplus::PixelFormat16bppARGB1555, [](int32_t id, const std::string& p) { return SaveImageAsTga(id, p); }},
        {"grey16.tga", gdiplus::PixelFormat16bppGrayScale, [](int32_t id, const std::string& p) { return SaveImageAsTga(id, p); }},
    };
    for (const Case& c : cases) {
        const int32_t id = RegisterBitmap(16, 16, c.format);
        std::vector<uint32_t> pixels;
        const std::vector<uint32_t> colours = SixteenBitTestColours();
        // Every fifth pixel transparent: only 1-5-5-5 keeps that.
        for (size_t i = 0; i < 256; ++i) {
            pixels.push_back(colours[(i * 7) % colours.size()] & (i % 5 == 0 ? 0x00FFFFFFu : 0xFFFFFFFFu));
        }
        SetPixels(id, pixels);
        const std::vector<uint32_t> expected = PixelsOf(id);
        const std::string path = scratch_.file(c.name);
        ASSERT_EQ(c.save(id, path), OK) << c.name;
        int32_t loaded = 0;
        ASSERT_EQ(LoadWithPlugin(loaded, path, false, true, true), OK) << c.name;
        EXPECT_EQ(PixelsOf(loaded), expected) << c.name << " format " << PixelFormatOf(loaded);
        ReleaseImage(loaded);
    }
}

TEST_F(WithPlugin, AnUnregisteredImageIsInvalidParameterAndWritesNothing) {
    const std::string path = scratch_.file("none.tga");
    EXPECT_EQ(SaveImageAsTga(424242, path), InvalidParameter);
    EXPECT_EQ(SaveImageAsJ2k(424242, path, 16), InvalidParameter);
    EXPECT_EQ(SaveImageAsTiffJpeg(424242, path, 75), InvalidParameter);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(WithPlugin, PixelFormatsAFileFormatDoesNotTakeAreRefused) {
    const std::string path = scratch_.file("refused");
    EXPECT_EQ(SaveImageAsWbmp(RegisterBitmap(4, 4, gdiplus::PixelFormat8bppIndexed), path), UnsupportedPixelFormat);
    EXPECT_EQ(SaveImageAsTga(RegisterBitmap(4, 4, gdiplus::PixelFormat48bppRGB), path), UnsupportedPixelFormat);
    EXPECT_EQ(SaveImageAsTga(RegisterBitmap(4, 4, gdiplus::PixelFormat4bppIndexed), path), UnsupportedPixelFormat);
    EXPECT_EQ(SaveImageAsJ2k(RegisterBitmap(4, 4, gdiplus::PixelFormat1bppIndexed), path, 16), UnsupportedPixelFormat);
    EXPECT_EQ(SaveImageAsPbm(RegisterBitmap(4, 4, gdiplus::PixelFormat32bppARGB), path), UnsupportedPixelFormat);
    EXPECT_EQ(SaveImageAsXpm(RegisterBitmap(4, 4, gdiplus::PixelFormat32bppRGB), path), UnsupportedPixelFormat);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(WithPlugin, AFileThatCannotBeWrittenIsGenericError) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(SaveImageAsTga(id, scratch_.file("missing/folder.tga")), GenericError);
}

TEST(PluginSavers, WithoutThePluginEverySaverAnswersMvimgplugDllRequired) {
    WithMissingPlugin([] {
        const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
        for (const int32_t imageId : {id, 424242}) {
            EXPECT_EQ(SaveImageAsJ2k(imageId, "x.j2k", 16), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsJp2(imageId, "x.jp2", 16), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsExr(imageId, "x.exr", 0), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsIco(imageId, "x.ico"), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsPbm(imageId, "x.pbm"), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsTga(imageId, "x.tga"), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsTiffJpeg(imageId, "x.tif", 75), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsWbmp(imageId, "x.wbmp"), MvimgplugDllRequired);
            EXPECT_EQ(SaveImageAsXpm(imageId, "x.xpm"), MvimgplugDllRequired);
        }
    });
}

// A plug-in that records the TIFF quality and the save it is asked for.
class SaveRecordingPlugin : public RecordingCodecPlugin {
public:
    std::vector<int32_t> qualities;
    std::vector<int32_t> savedFlags;
    bool saves = true;
    PluginHandle ConvertFromRawBits(const uint8_t*, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                    bool) override {
        return 41;
    }
    PluginHandle ConvertToRGBF(PluginHandle) override { return rgbf; }
    int32_t SaveU(int32_t, PluginHandle, const std::string&, int32_t flags) override {
        savedFlags.push_back(flags);
        return saves ? 1 : 0;
    }
    void SetTiffJpegCompression(int32_t quality) override { qualities.push_back(quality); }
    PluginHandle rgbf = 42;
};

class WithRecordingPlugin : public EngineTest {
protected:
    void SetUp() override {
        InstallPlugin(plugin_);
        EngineTest::SetUp();
    }
    std::shared_ptr<SaveRecordingPlugin> plugin_ = std::make_shared<SaveRecordingPlugin>();
};

TEST_F(WithRecordingPlugin, TheTiffQualityIsBroughtInto0To100BeforeThePixelFormatIsLookedAt) {
    const int32_t colour = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(SaveImageAsTiffJpeg(colour, "a.tif", 150), OK);
    EXPECT_EQ(SaveImageAsTiffJpeg(colour, "a.tif", -1), OK);
    EXPECT_EQ(SaveImageAsTiffJpeg(RegisterBitmap(4, 4, gdiplus::PixelFormat32bppARGB), "a.tif", 50),
              UnsupportedPixelFormat);
    EXPECT_EQ(plugin_->qualities, (std::vector<int32_t>{100, 0, 50}));
    EXPECT_EQ(plugin_->savedFlags, (std::vector<int32_t>{-32768, -32768}));
    EXPECT_EQ(plugin_->unloaded, (std::vector<PluginHandle>{41, 41}));
}

TEST_F(WithRecordingPlugin, ExrSavesTheFloatingPointBitmapAndUnloadsBoth) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(SaveImageAsExr(id, "a.exr", ExrCompressionPiz), OK);
    EXPECT_EQ(plugin_->savedFlags, (std::vector<int32_t>{ExrCompressionPiz}));
    EXPECT_EQ(plugin_->unloaded, (std::vector<PluginHandle>{41, 42}));
    plugin_->rgbf = 0;
    EXPECT_EQ(SaveImageAsExr(id, "a.exr", 0), OutOfMemory);
    EXPECT_EQ(plugin_->unloaded.back(), 41u);
}

TEST_F(WithRecordingPlugin, AFailedPluginSaveIsGenericErrorNeverOk) {
    plugin_->saves = false;
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(SaveImageAsIco(id, "a.ico"), GenericError);
    EXPECT_EQ(SaveImageAsXpm(id, "a.xpm"), GenericError);
    EXPECT_EQ(plugin_->unloaded.size(), 2u);
}

}  // namespace
}  // namespace scanvelt
