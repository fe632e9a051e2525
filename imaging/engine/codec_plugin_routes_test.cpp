#include "imaging/engine/codec_plugin_routes.h"

#include <gtest/gtest.h>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/save_memory.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;

// The routes as a test sees them: what they were asked, what they answer.
struct RouteLog {
    std::vector<std::string> loads;
    std::vector<std::pair<int32_t, int32_t>> saves;  // format code, flags
    MorvalenStatus loadAnswer = UnknownImageFormat;
    bool saveAnswer = true;
};

class PluginRoutesTest : public EngineTest {
protected:
    void SetUp() override {
        InstallPlugin(std::make_shared<RecordingCodecPlugin>());
        EngineTest::SetUp();
        ASSERT_TRUE(PluginAvailable());
        SetCodecPluginRoutes(CodecPluginRoutes{
            [this](int32_t&, const std::string& path, bool, bool, bool) {
                log_.loads.push_back(path);
                return log_.loadAnswer;
            },
            [this](int32_t, int32_t format, const std::string& path, int32_t flags) {
                log_.saves.emplace_back(format, flags);
                if (log_.saveAnswer) folder_.Write(std::filesystem::path(path).filename().string(), {1, 2, 3});
                return log_.saveAnswer;
            },
            {}});
    }
    void TearDown() override {
        SetCodecPluginRoutes({});
        EngineTest::TearDown();
    }

    // An 8-bit image with the 256-step grey palette.
    int32_t GreyImage() {
        const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat8bppIndexed);
        gdiplus::ColorPalette ramp;
        ramp.Count = 256;
        for (uint32_t i = 0; i < 256; ++i) ramp.Entries[i] = 0xFF000000u | i * 0x010101u;
        EXPECT_EQ(SetImagePalette(id, ramp), OK);
        return id;
    }

    RouteLog log_;
    ScopedTestFolder folder_{"scanvelt_plugin_routes"};
};

TEST_F(PluginRoutesTest, ThePluginIsAskedFirstAndItsStatusStandsWhenNothingReads) {
    const std::string file = folder_.Write("unreadable.xyz", {'x', 'y', 'z'});
    int32_t id = 0;
    log_.loadAnswer = OutOfMemory;  // the plug-in could not open it
    EXPECT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OutOfMemory);
    ASSERT_EQ(log_.loads.size(), 1u);
    EXPECT_EQ(LoadImageFromFile(id, file, false, true, true, 0, true, true), UnknownImageFormat);
    EXPECT_EQ(log_.loads.size(), 1u) << "GDI+ only never asks the plug-in";
}

TEST_F(PluginRoutesTest, AFileThePluginLeavesToGdiplusIsLoadedByIt) {
    ScopedFakeDecoder decoder;
    std::vector<uint8_t> bytes{'F', 'A', 'K', 'E'};
    for (uint32_t value : {1u, 1u, 1u}) gdiplus::testing_support::PutU32(bytes, value);
    bytes.resize(bytes.size() + 4, 0xFF);
    const std::string file = folder_.Write("one.fake", bytes);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), OK);
    EXPECT_EQ(log_.loads.size(), 1u);
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindFile);
}

TEST_F(PluginRoutesTest, AGreyJpegGoesThroughThePluginWithItsQualityClamped) {
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec);
    const int32_t grey = GreyImage();
    struct Case {
        int32_t quality;
        int32_t flags;
    };
    for (const Case& c : {Case{150, 100}, Case{60, 60}, Case{0, 1}, Case{-1, 0}}) {
        ASSERT_EQ(SaveImageAsJpeg(grey, folder_.PathOf("g.jpg"), c.quality, false), OK);
        EXPECT_EQ(log_.saves.back(), std::make_pair(kPluginFormatJpeg, c.flags)) << c.quality;
    }
    EXPECT_TRUE(jpeg.log->frames.empty()) << "GDI+ was not needed";

    ASSERT_EQ(SaveImageAsJpeg(grey, folder_.PathOf("g.jpg"), 60, true), OK);
    EXPECT_EQ(jpeg.log->frames.size(), 1u) << "GDI+ only";
    log_.saveAnswer = false;
    ASSERT_EQ(SaveImageAsJpeg(grey, folder_.PathOf("g.jpg"), 60, false), OK);
    EXPECT_EQ(jpeg.log->frames.size(), 2u) << "a failed plug-in save falls back to GDI+";

    const int32_t colour = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    const size_t asked = log_.saves.size();
    ASSERT_EQ(SaveImageAsJpeg(colour, folder_.PathOf("c.jpg"), 60, false), OK);
    EXPECT_EQ(log_.saves.size(), asked) << "only grey images go to the plug-in";
}

TEST_F(PluginRoutesTest, TheGreyJpegBytesLeaveNoTemporaryFile) {
    ScopedEncoderSpy jpeg(gdiplus::kJpegCodec);
    const int32_t grey = GreyImage();
    log_.saveAnswer = false;  // the JPEG saver falls back to GDI+, through the temporary file
    ScopedTestFolder temporary("scanvelt_plugin_routes_tmp");
    ScopedTempFolderVariable variable(temporary.path());
    int32_t count = 0;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(SaveImageToBytes(grey, count, bytes, "JPG", 80), OK);
    EXPECT_EQ(static_cast<size_t>(count), bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2), (std::vector<uint8_t>{0xFF, 0xD8}));
    EXPECT_EQ(log_.saves.size(), 1u) << "the plug-in was asked first";
    EXPECT_EQ(temporary.FileCount(), 0u);
}

}  // namespace
}  // namespace scanvelt
