// The bridge with the build tree's codec plug-in, and without any.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/plugin_formats.h"
#include "imaging/engine/leading_number.h"
#include "imaging/engine/plugin_loader.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/plugin_test_support.h"

namespace scanvelt {
namespace {

using testing_support::AsymmetricPixels;
using testing_support::PixelsOf;
using testing_support::RegisterBitmap;
using testing_support::ResolutionOf;
using testing_support::SetPixels;
using testing_support::SizeOf;
using win::testing::ScopedEnvironment;

constexpr int32_t kTarga = 17;
constexpr int32_t kTiff = 18;
constexpr int32_t kPbmRaw = 8;

using WithPlugin = testing_support::WithBuildTreePlugin;

// Saves the image through the plug-in and loads the file back through the plug-in route.
int32_t ThroughPlugin(int32_t imageId, int32_t format, const std::string& path, int32_t flags = 0) {
    EXPECT_EQ(SaveImageWithPlugin(imageId, format, path, flags), OK);
    int32_t loaded = 0;
    EXPECT_EQ(LoadWithPlugin(loaded, path, false, true, true), OK);
    return loaded;
}

TEST_F(WithPlugin, TheSessionFindsTheSharedObjectAndReadsItsVersion) {
    EXPECT_EQ(CurrentImagingSession().PluginVersion, "1.0.0.0");
    EXPECT_NE(ActiveCodecPlugin(), nullptr);
}

TEST_F(WithPlugin, AColourImageComesBackUprightWithItsPixels) {
    const int32_t id = RegisterBitmap(6, 4, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, AsymmetricPixels(6, 4));
    const int32_t loaded = ThroughPlugin(id, kTarga, scratch_.file("colour.tga"));
    ASSERT_NE(loaded, 0);
    EXPECT_EQ(PixelFormatOf(loaded), gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(PixelsOf(loaded), AsymmetricPixels(6, 4));
    EXPECT_EQ(FormatNameOf(loaded), "TARGA");
    // The image borrows the plug-in bitmap's pixels and gives it back at release.
    EXPECT_EQ(ImageKindOf(loaded), ImageKindPluginBitmap);
    EXPECT_EQ(ReleaseImage(loaded), OK);
}

TEST_F(WithPlugin, ResolutionSurvivesInWholeDotsPerInch) {
    const int32_t id = RegisterBitmap(5, 3, gdiplus::PixelFormat24bppRGB);
    SetImageResolution(id, 300, 200, true);
    const int32_t loaded = ThroughPlugin(id, kTiff, scratch_.file("dpi.tif"));
    EXPECT_EQ(ResolutionOf(loaded), (std::pair<float, float>{300, 200}));
}

TEST_F(WithPlugin, PaletteImagesKeepPaletteAndIndexes) {
    const int32_t id = RegisterBitmap(5, 3, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette palette;
    palette.Count = 256;
    for (uint32_t i = 0; i < 256; ++i) palette.Entries[i] = 0xFF000000 | (i << 16) | ((255 - i) << 8) | (i / 2);
    SetImagePaletteUnmarked(id, palette);
    std::vector<uint32_t> pixels;
    for (int i = 0; i < 15; ++i) pixels.push_back(palette.Entries[static_cast<size_t>(i * 17)]);
    SetPixels(id, pixels);
    const int32_t loaded = ThroughPlugin(id, kTiff, scratch_.file("palette.tif"));
    EXPECT_EQ(PixelFormatOf(loaded), gdiplus::PixelFormat8bppIndexed);
    EXPECT_EQ(PixelsOf(loaded), pixels);
}

TEST_F(WithPlugin, OneBitImagesKeepTheirPicture) {
    const int32_t id = RegisterBitmap(9, 3, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> pixels;
    for (int i = 0; i < 27; ++i) pixels.push_back(i % 4 == 0 || i / 9 == 1 ? 0xFFFFFFFF : 0xFF000000);
    SetPixels(id, pixels);
    for (const auto& [format, name] : {std::pair{kPbmRaw, "bits.pbm"}, std::pair{kTiff, "bits.tif"}}) {
        const int32_t loaded = ThroughPlugin(id, format, scratch_.file(name));
        EXPECT_EQ(PixelFormatOf(loaded), gdiplus::PixelFormat1bppIndexed) << name;
        EXPECT_EQ(PixelsOf(loaded), pixels) << name;
    }
}

TEST_F(WithPlugin, AnOpaqueArgbImageLeavesAsTwentyFourBits) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat32bppARGB);
    SetPixels(id, AsymmetricPixels(4, 4));
    PluginHandle bitmap = 0;
    ASSERT_EQ(ImageToPluginBitmap(bitmap, id), OK);
    EXPECT_EQ(ActiveCodecPlugin()->GetBPP(bitmap), 24u);
    ActiveCodecPlugin()->Unload(bitmap);

    SetPixels(id, AsymmetricPixels(4, 4, false));
    ASSERT_EQ(ImageToPluginBitmap(bitmap, id), OK);
    EXPECT_EQ(ActiveCodecPlugin()->GetBPP(bitmap), 32u);
    ActiveCodecPlugin()->Unload(bitmap);

    const int32_t deep = RegisterBitmap(4, 4, gdiplus::PixelFormat48bppRGB);
    EXPECT_EQ(ImageToPluginBitmap(bitmap, deep), UnsupportedImageFormat);
    EXPECT_EQ(bitmap, 0u);
}

TEST_F(WithPlugin, FileTypesFollowContentAndATiffName) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    PluginHandle bitmap = 0;
    ASSERT_EQ(ImageToPluginBitmap(bitmap, id), OK);
    const std::string targa = scratch_.file("really-targa.tif");
    ASSERT_TRUE(PluginSave(kTarga, bitmap, targa, 0));
    ActiveCodecPlugin()->Unload(bitmap);
    // A TIFF name wins over the content: the file is opened as TIFF, which fails.
    EXPECT_EQ(PluginFileType(targa), kTiff);
    int32_t loaded = 0;
    EXPECT_EQ(LoadWithPlugin(loaded, targa, false, true, true), InvalidParameter);
    EXPECT_EQ(loaded, 0);
    const std::string named = scratch_.file("named.tga");
    std::filesystem::copy_file(targa, named);
    EXPECT_EQ(PluginFileType(named), kTarga);
    EXPECT_EQ(LoadWithPlugin(loaded, named, false, true, true), OK);
    EXPECT_EQ(SizeOf(loaded), (std::pair<int32_t, int32_t>{4, 4}));
    EXPECT_EQ(LoadWithPlugin(loaded, scratch_.write("noise.jpg", "no picture"), false, true, true),
              UnknownImageFormat);
}

TEST_F(WithPlugin, ResolutionConvertsWithTheRounding) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    PluginHandle bitmap = 0;
    ASSERT_EQ(ImageToPluginBitmap(bitmap, id), OK);
    SetPluginDpiX(bitmap, 300);
    SetPluginDpiY(bitmap, 72);
    EXPECT_EQ(ActiveCodecPlugin()->GetDotsPerMeterX(bitmap), 11811u);
    EXPECT_EQ(ActiveCodecPlugin()->GetDotsPerMeterY(bitmap), 2835u);
    EXPECT_EQ(PluginDpiX(bitmap), 300);
    EXPECT_EQ(PluginDpiY(bitmap), 72);
    ActiveCodecPlugin()->Unload(bitmap);
}

TEST(WithoutPlugin, AMissingSharedObjectLeavesThePluginUnavailable) {
    testing_support::WithMissingPlugin([] {
        int32_t id = 0;
        EXPECT_EQ(LoadWithPlugin(id, "/nowhere/picture.tga", false, true, true), Aborted);
        EXPECT_EQ(id, 0);
        const int32_t image = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
        PluginHandle bitmap = 7;
        EXPECT_EQ(ImageToPluginBitmap(bitmap, image), MvimgplugDllRequired);
        EXPECT_EQ(PluginFileType("/nowhere/picture.tif"), -1);
        EXPECT_FALSE(PluginSave(kTarga, 1, "/nowhere/x.tga", 0));
    });
}

TEST(WithoutPlugin, NoSharedObjectOnTheSearchPathReadsAsNoVersion) {
    testing_support::OnFreshThread([] {
        ScopedEnvironment path("LD_LIBRARY_PATH", "/nonexistent");
        ASSERT_TRUE(StartImaging());
        EXPECT_FALSE(PluginAvailable());
        EXPECT_EQ(LeadingNumberOf(CurrentImagingSession().PluginVersion), 0);
        StopImaging();
    });
}

// A plug-in whose one 8-bit bitmap has a BITMAPINFO that claims more colours
// than the 1,064 bytes behind its address hold.
class OverclaimingPlugin : public testing_support::RecordingCodecPlugin {
public:
    OverclaimingPlugin() {
        info_.resize(40 + 256 * 4);
        const int32_t fields[] = {40, 2, -2, 0x00080001, 0, 0, 0, 0, 100000};
        std::memcpy(info_.data(), fields, sizeof fields);
    }
    const uint8_t* GetInfo(PluginHandle) override { return info_.data(); }
    uint8_t* GetBits(PluginHandle) override { return bits_; }
    uint32_t GetColorsUsed(PluginHandle) override { return 100000; }
    uint32_t GetBPP(PluginHandle) override { return 8; }
    uint32_t GetWidth(PluginHandle) override { return 2; }
    uint32_t GetHeight(PluginHandle) override { return 2; }
    uint32_t GetPitch(PluginHandle) override { return 4; }

private:
    std::vector<uint8_t> info_;
    uint8_t bits_[8] = {};
};

TEST(PluginDibSections, ABitmapInfoIsReadNoFurtherThanItsColourTable) {
    testing_support::OnFreshThread([] {
        testing_support::InstallPlugin(std::make_shared<OverclaimingPlugin>());
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(DibSectionFromPluginBitmap(1, win::HDC{}, false), win::HBITMAP{});
        StopImaging();
    });
}

TEST(PluginFormats, NamesOfTheTable) {
    EXPECT_EQ(PluginFormatName(-1), "UNKNOWN");
    EXPECT_EQ(PluginFormatName(0), "BMP");
    EXPECT_EQ(PluginFormatName(17), "TARGA");
    EXPECT_EQ(PluginFormatName(18), "TIFF");
    EXPECT_EQ(PluginFormatName(31), "JP2");
    EXPECT_EQ(PluginFormatName(35), "JBIG");
    EXPECT_EQ(PluginFormatName(36), "");
    EXPECT_EQ(PluginFormatName(-2), "");
}

}  // namespace
}  // namespace scanvelt
