// Engine images handed to the codec plug-in: the bit fields of 16-bit
// pixels, and a palette copied no further than both palettes reach.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <new>
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
    // Runs while the plug-in reads the rows (first row, stride); may throw.
    std::function<void(const uint8_t*, int32_t)> reading;
    PluginHandle answer = 9;

    PluginHandle ConvertFromRawBits(const uint8_t* bits, int32_t, int32_t, int32_t pitch, uint32_t bitsPerPixel,
                                    uint32_t red, uint32_t green, uint32_t blue, bool) override {
        made.push_back({bitsPerPixel, red, green, blue});
        if (reading) reading(bits, pitch);
        return answer;
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

// Whether the image can be locked now, i.e. no lock is held on it.
bool Unlocked(int32_t id) {
    gdiplus::BitmapData data;
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    if (bitmap->LockBits(gdiplus::Rect{0, 0, 1, 1}, gdiplus::ImageLockModeRead, bitmap->GetPixelFormat(), data) !=
        gdiplus::Ok) {
        return false;
    }
    bitmap->UnlockBits(data);
    return true;
}

TEST_F(PluginExport, ThePluginReadsThePixelsUnderALockThatEndsOnEveryPath) {
    const int32_t id = RegisterBitmap(3, 2, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {0xFF010203u, 0xFF040506u, 0xFF070809u, 0xFF0A0B0Cu, 0xFF0D0E0Fu, 0xFF101112u});
    std::vector<uint8_t> rows;
    bool lockedWhileReading = false;
    plugin_->reading = [&](const uint8_t* bits, int32_t pitch) {
        lockedWhileReading = !Unlocked(id);
        for (int32_t y = 0; y < 2; ++y) rows.insert(rows.end(), bits + y * pitch, bits + y * pitch + 9);
    };
    PluginHandle bitmap = 0;
    ASSERT_EQ(ImageToPluginBitmap(bitmap, id), OK);
    EXPECT_EQ(bitmap, 9u);
    EXPECT_TRUE(lockedWhileReading);
    EXPECT_EQ(rows, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 0xC, 0xB, 0xA, 0xF, 0xE, 0xD, 0x12, 0x11, 0x10}));
    EXPECT_TRUE(Unlocked(id));

    // The plug-in could not make its bitmap, or failed outright.
    plugin_->reading = nullptr;
    plugin_->answer = 0;
    EXPECT_EQ(ImageToPluginBitmap(bitmap, id), OutOfMemory);
    EXPECT_EQ(bitmap, 0u);
    EXPECT_TRUE(Unlocked(id));
    plugin_->reading = [](const uint8_t*, int32_t) { throw std::bad_alloc(); };
    EXPECT_EQ(ImageToPluginBitmap(bitmap, id), OutOfMemory);
    EXPECT_EQ(bitmap, 0u);
    EXPECT_TRUE(Unlocked(id));
}

TEST_F(PluginExport, AFailedLockGivesItsStatusAndThePluginReadsNothing) {
    const int32_t id = RegisterBitmap(3, 2, gdiplus::PixelFormat24bppRGB);
    gdiplus::BitmapData held;
    ASSERT_EQ(NativeBitmapOf(id)->LockBits(gdiplus::Rect{0, 0, 3, 2}, gdiplus::ImageLockModeRead,
                                           gdiplus::PixelFormat24bppRGB, held),
              gdiplus::Ok);
    PluginHandle bitmap = 0;
    EXPECT_EQ(ImageToPluginBitmap(bitmap, id), StatusOf(gdiplus::WrongState));
    EXPECT_EQ(bitmap, 0u);
    EXPECT_TRUE(plugin_->made.empty());
    NativeBitmapOf(id)->UnlockBits(held);
    EXPECT_EQ(ImageToPluginBitmap(bitmap, 424242), InvalidParameter);
    EXPECT_TRUE(plugin_->made.empty());
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
