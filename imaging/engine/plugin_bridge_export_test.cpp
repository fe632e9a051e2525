// Engine images handed to the codec plug-in: the bit fields of 16-bit
// pixels, and a palette copied no further than both palettes reach.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using namespace testing_support;

class RawBitsPlugin : public RecordingCodecPlugin {
public:
    struct Masks {
        uint32_t bitsPerPixel, red, green, blue;
        bool operator==(const Masks&) const = default;
    };
    std::vector<Masks> made;
    uint32_t coloursUsed = 0;
    std::array<uint32_t, 300> palette{};

    PluginHandle ConvertFromRawBits(const uint8_t*, int32_t, int32_t, int32_t, uint32_t bitsPerPixel, uint32_t red,
                                    uint32_t green, uint32_t blue, bool) override {
        made.push_back({bitsPerPixel, red, green, blue});
        return 9;
    }
    uint32_t GetColorsUsed(PluginHandle) override { return coloursUsed; }
    uint8_t* GetPalette(PluginHandle) override { return reinterpret_cast<uint8_t*>(palette.data()); }
};

class PluginExport : public EngineTest {
protected:
    void SetUp() override {
        InstallPlugin(plugin_);
        EngineTest::SetUp();
    }
    std::shared_ptr<RawBitsPlugin> plugin_ = std::make_shared<RawBitsPlugin>();
};

TEST_F(PluginExport, SixteenBitImagesGoOverWithTheirRealBitFields) {
    struct Case {
        int32_t format;
        RawBitsPlugin::Masks masks;
    };
    const Case cases[] = {
        {gdiplus::PixelFormat16bppRGB565, {16, 0xF800, 0x07E0, 0x001F}},
        {gdiplus::PixelFormat16bppRGB555, {16, 0x7C00, 0x03E0, 0x001F}},
        {gdiplus::PixelFormat16bppARGB1555, {16, 0x7C00, 0x03E0, 0x001F}},
        {gdiplus::PixelFormat24bppRGB, {24, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        PluginHandle bitmap = 0;
        ASSERT_EQ(ImageToPluginBitmap(bitmap, RegisterBitmap(3, 2, c.format)), OK);
        ASSERT_FALSE(plugin_->made.empty());
        EXPECT_EQ(plugin_->made.back(), c.masks) << c.format;
    }
}

TEST_F(PluginExport, SetPluginPaletteCopiesNoMoreThanEitherPaletteHolds) {
    plugin_->palette.fill(0xABABABABu);
    plugin_->coloursUsed = 256;
    const std::vector<uint32_t> two{0xFF000000u, 0xFFFFFFFFu};
    EXPECT_EQ(SetPluginPalette(9, two), 256);
    EXPECT_EQ(plugin_->palette[0], 0xFF000000u);
    EXPECT_EQ(plugin_->palette[1], 0xFFFFFFFFu);
    EXPECT_EQ(plugin_->palette[2], 0xABABABABu);

    plugin_->palette.fill(0xABABABABu);
    plugin_->coloursUsed = 2;
    const std::vector<uint32_t> many(256, 0xFF123456u);
    EXPECT_EQ(SetPluginPalette(9, many), 2);
    EXPECT_EQ(plugin_->palette[1], 0xFF123456u);
    EXPECT_EQ(plugin_->palette[2], 0xABABABABu);
}

}  // namespace
}  // namespace scanvelt
