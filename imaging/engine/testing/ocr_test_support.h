#pragma once
// What the OCR tests of the engine, the PDF writer and the control share: the
// build tree's OCR plug-in bound, and pages of printed text drawn in code made
// into engine images at their resolution.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/ocr_plugin.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/bitmap_data.h"
#include "plugins/mvocr/testing/text_page.h"

namespace scanvelt::testing_support {

#ifdef MVOCR_LIBRARY
// Binds the build tree's plug-in for as long as it lives.
struct BuildTreeOcrPlugin {
    BuildTreeOcrPlugin() { SetOcrPluginFile(MVOCR_LIBRARY); }
    ~BuildTreeOcrPlugin() { SetOcrPluginFile(""); }
};
#endif

// The page as an engine image of 24 bits (or 1 bit) at `dpi`; 0 on failure.
inline int32_t TextPageImage(const mvocr::testing::TextPage& page, float dpi, bool oneBit = false) {
    const gdiplus::PixelFormat format = oneBit ? gdiplus::PixelFormat1bppIndexed : gdiplus::PixelFormat24bppRGB;
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    if (gdiplus::Bitmap::Create(page.Width, page.Height, format, bitmap) != gdiplus::Ok) return 0;
    int32_t pitch = page.Stride;
    std::vector<uint8_t> rows = oneBit ? mvocr::testing::OneBitRows(page, pitch) : page.Bgr;
    gdiplus::BitmapData data{};
    if (bitmap->LockBits({0, 0, page.Width, page.Height}, gdiplus::ImageLockModeWrite, format, data) != gdiplus::Ok)
        return 0;
    for (int32_t y = 0; y < page.Height; ++y)
        std::memcpy(static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    rows.data() + static_cast<size_t>(y) * pitch, static_cast<size_t>(pitch));
    bitmap->UnlockBits(data);
    int32_t id = 0;
    if (AdoptNativeImage(id, std::move(bitmap)) != OK) return 0;
    SetImageResolution(id, dpi, dpi, false);
    return id;
}

}  // namespace scanvelt::testing_support
