#pragma once
// For the barcode readers' tests: symbols drawn by zint read back as grey
// images, and grey pages registered as engine images.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/bitmap_data.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"

namespace scanvelt::testing_support {

// A registered image of the grey page in `format` (24 or 32 bits), at `dpi`.
inline int32_t EngineImageOf(const barcode::GreyImage& page, float dpi,
                             int32_t format = gdiplus::PixelFormat24bppRGB) {
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    EXPECT_EQ(gdiplus::Bitmap::Create(page.width, page.height, format, bitmap), gdiplus::Ok);
    gdiplus::BitmapData data{};
    const gdiplus::Rect all{0, 0, page.width, page.height};
    EXPECT_EQ(bitmap->LockBits(all, gdiplus::ImageLockModeWrite, gdiplus::PixelFormat24bppRGB, data), gdiplus::Ok);
    for (int32_t y = 0; y < page.height; ++y) {
        auto* row = static_cast<uint8_t*>(data.Scan0) + ptrdiff_t(y) * data.Stride;
        for (int32_t x = 0; x < page.width; ++x) std::memset(row + 3 * x, page.pixels[size_t(y) * page.width + x], 3);
    }
    bitmap->UnlockBits(data);
    int32_t id = 0;
    RegisterImage(id, std::move(bitmap), "", "", ImageKindMemory);
    SetImageResolution(id, dpi, dpi, true);
    return id;
}

// The symbol zint draws (scale in pixels per module) as a grey image.
inline barcode::GreyImage ZintSymbol(const files::testing::ScratchFolder& folder, const std::string& symbology,
                                     const std::string& data, int scale, const std::string& options = "--notext") {
    const std::string file = barcode::testing::ZintFile(folder, "s.bmp", symbology, data, scale, "BMP", options);
    EXPECT_FALSE(file.empty()) << "zint failed on " << symbology;
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromFile(id, file, false, false, false, 0, true, false), OK);
    const auto [w, h] = SizeOf(id);
    const std::vector<uint32_t> argb = PixelsOf(id);
    ReleaseImage(id);
    barcode::GreyImage grey{w, h, std::vector<uint8_t>(argb.size())};
    for (size_t i = 0; i < argb.size(); ++i) grey.pixels[i] = uint8_t(argb[i] & 0xFF);
    return grey;
}

}  // namespace scanvelt::testing_support
