#pragma once
// What the engine's tests share: a fixture that runs each test inside a
// started engine and puts the thread's hooks back afterwards, bitmaps made in
// memory, and a codec plug-in that records what the engine gives back to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/image_ids.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt::testing_support {

// A registered bitmap of the engine's own memory (kind 0).
inline int32_t RegisterBitmap(int32_t width, int32_t height, int32_t format) {
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    EXPECT_EQ(gdiplus::Bitmap::Create(width, height, format, bitmap), gdiplus::Ok);
    int32_t id = 0;
    RegisterImage(id, std::move(bitmap), "", "", ImageKindMemory);
    return id;
}

// A registered entry without a GDI+ image, as a container is.
inline int32_t RegisterEmpty() {
    int32_t id = 0;
    RegisterImage(id, nullptr, "", "", ImageKindMemory);
    return id;
}

// Images registered in this thread's table (free slots not counted).
inline int32_t RegisteredImageCount() {
    int32_t count = 0;
    for (int32_t slot = 0; slot < ImageSlotCount(); ++slot) count += ImageSlot(slot).ImageID != 0 ? 1 : 0;
    return count;
}

// Width and height of the image.
inline std::pair<int32_t, int32_t> SizeOf(int32_t imageId) {
    std::pair<int32_t, int32_t> size;
    GetImageWidth(imageId, size.first);
    GetImageHeight(imageId, size.second);
    return size;
}

// Horizontal and vertical resolution of the image.
inline std::pair<float, float> ResolutionOf(int32_t imageId) {
    std::pair<float, float> dpi;
    GetImageHorizontalResolution(imageId, dpi.first);
    GetImageVerticalResolution(imageId, dpi.second);
    return dpi;
}

// A lock record describing a caller's buffer of 32-bit pixels without padding.
inline gdiplus::BitmapData CallerBuffer32(std::vector<uint32_t>& pixels, uint32_t width, uint32_t height) {
    gdiplus::BitmapData data;
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<int32_t>(4 * width);
    data.PixelFormat = gdiplus::PixelFormat32bppARGB;
    data.Scan0 = pixels.data();
    return data;
}

// Every pixel of the image, row by row.
inline std::vector<uint32_t> PixelsOf(int32_t imageId) {
    std::vector<uint32_t> pixels;
    const gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
    if (bitmap == nullptr) return pixels;
    for (uint32_t y = 0; y < bitmap->GetHeight(); ++y) {
        for (uint32_t x = 0; x < bitmap->GetWidth(); ++x) {
            uint32_t color = 0;
            EXPECT_EQ(bitmap->GetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), color), gdiplus::Ok);
            pixels.push_back(color);
        }
    }
    return pixels;
}

// Sets every pixel, row by row.
inline void SetPixels(int32_t imageId, const std::vector<uint32_t>& pixels) {
    gdiplus::Bitmap* bitmap = NativeBitmapOf(imageId);
    ASSERT_NE(bitmap, nullptr);
    const auto width = static_cast<int32_t>(bitmap->GetWidth());
    for (size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_EQ(bitmap->SetPixel(static_cast<int32_t>(i) % width, static_cast<int32_t>(i) / width, pixels[i]),
                  gdiplus::Ok);
    }
}

// Candidates handed out in order, then distinct others.
inline void DrawIdsFrom(std::vector<int32_t> candidates) {
    auto queue = std::make_shared<std::vector<int32_t>>(std::move(candidates));
    auto next = std::make_shared<size_t>(0);
    SetImageIdSource([queue, next]() -> int32_t {
        if (*next < queue->size()) return (*queue)[(*next)++];
        return 12'345'678 + static_cast<int32_t>((*next)++);
    });
}

// Each test runs inside a started engine; the thread's hooks are put back after.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartImaging()); }
    void TearDown() override {
        StopImaging();
        SetImageIdSource({});
        SetModuleVersionReader({});
        SetCodecPluginLoader({});
        SetEngineMessageHandler({});
    }
};

// A plug-in that owns no pixels: every call answers "nothing", and the
// handles the engine gives back are recorded.
class RecordingCodecPlugin : public CodecPlugin {
public:
    std::vector<PluginHandle> closedFiles, unloaded, closedMultiBitmaps, unlockedPages;

    PluginHandle OpenFileU(const std::string&) override { return 0; }
    void CloseFileHandle(PluginHandle file) override { closedFiles.push_back(file); }
    int32_t GetFileTypeU(const std::string&, int32_t) override { return kPluginFormatUnknown; }
    int32_t GetFIFFromFilenameU(const std::string&) override { return kPluginFormatUnknown; }
    PluginHandle LoadU(int32_t, const std::string&, int32_t) override { return 0; }
    int32_t SaveU(int32_t, PluginHandle, const std::string&, int32_t) override { return 0; }
    void Unload(PluginHandle bitmap) override { unloaded.push_back(bitmap); }
    PluginHandle OpenMultiBitmapU(int32_t, int32_t, PluginHandle) override { return 0; }
    int32_t GetPageCount(PluginHandle) override { return 0; }
    PluginHandle LockPage(PluginHandle, int32_t) override { return 0; }
    void UnlockPage(PluginHandle, PluginHandle page, bool) override { unlockedPages.push_back(page); }
    void CloseMultiBitmap(PluginHandle multiBitmap, int32_t) override { closedMultiBitmaps.push_back(multiBitmap); }
    uint32_t GetWidth(PluginHandle) override { return 0; }
    uint32_t GetHeight(PluginHandle) override { return 0; }
    uint32_t GetPitch(PluginHandle) override { return 0; }
    uint32_t GetBPP(PluginHandle) override { return 0; }
    uint8_t* GetBits(PluginHandle) override { return nullptr; }
    const uint8_t* GetInfo(PluginHandle) override { return nullptr; }
    int32_t GetImageType(PluginHandle) override { return 0; }
    int32_t GetColorType(PluginHandle) override { return 0; }
    int32_t GetPhotoMetric(PluginHandle) override { return 0; }
    uint32_t GetColorsUsed(PluginHandle) override { return 0; }
    uint8_t* GetPalette(PluginHandle) override { return nullptr; }
    uint32_t GetTransparencyCount(PluginHandle) override { return 0; }
    bool IsTransparent(PluginHandle) override { return false; }
    uint32_t GetDotsPerMeterX(PluginHandle) override { return 0; }
    uint32_t GetDotsPerMeterY(PluginHandle) override { return 0; }
    void SetDotsPerMeterX(PluginHandle, uint32_t) override {}
    void SetDotsPerMeterY(PluginHandle, uint32_t) override {}
    void SetTransparentIndex(PluginHandle, int32_t) override {}
    PluginHandle ConvertToType(PluginHandle, int32_t, bool) override { return 0; }
    PluginHandle ConvertToGreyscale(PluginHandle) override { return 0; }
    PluginHandle ConvertTo24Bits(PluginHandle) override { return 0; }
    PluginHandle ConvertTo32Bits(PluginHandle) override { return 0; }
    PluginHandle ConvertToRGBF(PluginHandle) override { return 0; }
    PluginHandle TmoReinhard05(PluginHandle, double, double) override { return 0; }
    PluginHandle ConvertFromRawBits(const uint8_t*, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                    bool) override {
        return 0;
    }
    bool FlipVertical(PluginHandle) override { return false; }
    bool Invert(PluginHandle) override { return false; }
    uint32_t GetMetadataCount(int32_t, PluginHandle) override { return 0; }
    PluginHandle FindFirstMetadata(int32_t, PluginHandle, PluginHandle& tag) override {
        tag = 0;
        return 0;
    }
    bool FindNextMetadata(PluginHandle, PluginHandle& tag) override {
        tag = 0;
        return false;
    }
    void FindCloseMetadata(PluginHandle) override {}
    PluginTag TagRecord(PluginHandle) override { return {}; }
    PluginHandle CreateTag() override { return 0; }
    bool SetTagKey(PluginHandle, const std::string&) override { return false; }
    bool SetTagID(PluginHandle, uint16_t) override { return false; }
    bool SetTagType(PluginHandle, uint16_t) override { return false; }
    bool SetTagCount(PluginHandle, uint32_t) override { return false; }
    bool SetTagLength(PluginHandle, uint32_t) override { return false; }
    bool SetTagValue(PluginHandle, const uint8_t*) override { return false; }
    std::string GetTagKey(PluginHandle) override { return {}; }
    bool SetMetadata(int32_t, PluginHandle, const std::string&, PluginHandle) override { return false; }
    void DeleteTag(PluginHandle) override {}
    void SetTiffJpegCompression(int32_t) override {}
    int32_t VB_CompressCCITT4(std::vector<uint8_t>&, const std::vector<uint8_t>&, int32_t, int32_t, int32_t,
                              int32_t) override {
        return 1;
    }
    int32_t ZLibCompress2(uint8_t*, int32_t, const uint8_t*, int32_t) override { return 0; }
};

// Runs a test body on a thread of its own, whose engine state (table, session,
// hooks) starts empty and ends with the thread.
inline void OnFreshThread(const std::function<void()>& body) { std::thread(body).join(); }

// Makes the plug-in "installed" for this thread's engine: its version reads
// non-zero and the loader binds `plugin`.
inline void InstallPlugin(std::shared_ptr<CodecPlugin> plugin) {
    SetModuleVersionReader([](std::string_view dll) -> std::string {
        return dll == "mvimgplug.dll" ? "3.18.0.0" : "6.1.0.0";
    });
    SetCodecPluginLoader([plugin] { return plugin; });
}

}  // namespace scanvelt::testing_support
