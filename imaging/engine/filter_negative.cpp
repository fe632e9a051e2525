#include "imaging/engine/filter_negative.h"

#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"

namespace scanvelt {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;

}  // namespace

bool NegativeFilter(FilterPixels& pixels, const FilterArguments&) {
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        pixels.Pixels[pixels.Position] ^= kColourBits;
    }
    return false;
}

void NegatePalette(gdiplus::ColorPalette& palette, const FilterArguments&) {
    for (uint32_t i = 0; i < palette.Count && i < gdiplus::ColorPalette::kMaxEntries; ++i) {
        palette.Entries[i] ^= kColourBits;
    }
}

MorvalenStatus NegateBits1bpp(int32_t imageId, const RoiRect& roi) {
    return StatusOfRun([&] {
        const int32_t stride = StrideForDepth(roi.Width, 1);
        std::vector<uint8_t> rows(static_cast<size_t>(CheckedMultiply(stride, roi.Height)));
        const gdiplus::Rect rect{roi.Left, roi.Top, roi.Width, roi.Height};
        gdiplus::BitmapData data;
        data.Width = static_cast<uint32_t>(roi.Width);
        data.Height = static_cast<uint32_t>(roi.Height);
        data.Stride = stride;
        data.PixelFormat = gdiplus::PixelFormat1bppIndexed;
        data.Scan0 = rows.data();
        MorvalenStatus status = LockImageBits(imageId, rect, kLockReadIntoCallerBuffer, data.PixelFormat, data);
        if (status != OK) return status;
        status = UnlockImageBits(imageId, data);
        if (status != OK) return status;
        for (uint8_t& byte : rows) byte = static_cast<uint8_t>(~byte);
        data.Scan0 = rows.data();
        status = LockImageBits(imageId, rect, kLockWriteFromCallerBuffer, data.PixelFormat, data);
        if (status != OK) return status;
        return UnlockImageBits(imageId, data);
    });
}

}  // namespace scanvelt
