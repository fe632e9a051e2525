#pragma once
// For the tests of the control's image members: pages made in code with a
// resolution and a property item, and the checks that an edit kept them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::testing_support {

inline constexpr int32_t kTagImageDescription = 0x010E;
inline constexpr const char* kPageDescription = "scanned page 17";

// A colour pattern with detail everywhere; channels stay within 30..220, so
// that stretching the contrast has something to do.
inline uint32_t PatternPixel(int32_t x, int32_t y) {
    const uint32_t r = 30 + static_cast<uint32_t>((x * 37 + y * 11) % 191);
    const uint32_t g = 30 + static_cast<uint32_t>((x * 5 + y * 29 + 40) % 191);
    const uint32_t b = 30 + static_cast<uint32_t>((x * y + 3 * x) % 191);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// A page of the format drawn with PatternPixel, at 300 x 200 dpi, with an
// image description item.
inline int32_t MakePage(int32_t width, int32_t height, int32_t format = gdiplus::PixelFormat24bppRGB) {
    int32_t id = RegisterBitmap(width, height, format);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) pixels.push_back(PatternPixel(x, y));
    if (!gdiplus::IsIndexedPixelFormat(format)) SetPixels(id, pixels);
    EXPECT_EQ(SetImageResolution(id, 300.0f, 200.0f, true), OK);
    EXPECT_EQ(SetPropertyItemAscii(id, kTagImageDescription, kPageDescription, false), OK);
    return id;
}

inline std::string DescriptionOf(int32_t imageId) {
    auto item = PropertyItemById(imageId, kTagImageDescription);
    if (!item || item->Length() < 1) return {};
    std::vector<uint8_t> bytes;
    item->GetDataB(bytes);
    std::string text(bytes.begin(), bytes.end());
    return text.substr(0, text.find('\0'));
}

// The page still has MakePage's resolution and description.
inline void ExpectPageMetadata(int32_t imageId, float horizontal = 300.0f, float vertical = 200.0f) {
    auto [h, v] = ResolutionOf(imageId);
    EXPECT_FLOAT_EQ(h, horizontal);
    EXPECT_FLOAT_EQ(v, vertical);
    EXPECT_EQ(DescriptionOf(imageId), kPageDescription);
}

}  // namespace scanvelt::testing_support
