// Loading a packed DIB from global memory: the BMP codec's DIB reader checks
// the header against the block and reads it; the loader adds the engine's
// rules for 1-bit palettes and resolution.
#include <cmath>
#include <span>
#include <utility>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "platform/gdiplus/codecs/dib_reader.h"
#include "platform/win/global_memory.h"

namespace scanvelt {

namespace {

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr int32_t kNegativeFilter = 2;

// Pixels per metre of a packed DIB's header; 0, 0 where it has none.
std::pair<int32_t, int32_t> PelsPerMeterOf(std::span<const uint8_t> dib) {
    gdiplus::codecs::DibHeader header;
    if (gdiplus::codecs::ReadDibHeader(gdiplus::codecs::ByteView(dib), 0, header) != gdiplus::Ok) return {0, 0};
    return {header.xPelsPerMeter, header.yPelsPerMeter};
}

float DpiOf(int32_t pelsPerMeter, bool wholeDpi) {
    const double dpi = pelsPerMeter / 100.0 * 2.54;
    return static_cast<float>(wholeDpi ? std::nearbyint(dpi) : std::nearbyint(dpi * 1000.0) / 1000.0);
}

// A 1-bit image whose colour 0 is white gets palette black, white and
// inverted bits: the same picture, with pixel value 1 meaning white.
void PutWhiteOnOne(int32_t imageId) {
    gdiplus::ColorPalette palette;
    if (PixelFormatOf(imageId) != gdiplus::PixelFormat1bppIndexed || GetImagePalette(imageId, palette) != OK ||
        palette.Count < 1 || palette.Entries[0] != kOpaqueWhite) {
        return;
    }
    gdiplus::ColorPalette blackWhite;
    blackWhite.Count = 2;
    blackWhite.Entries[0] = kOpaqueBlack;
    blackWhite.Entries[1] = kOpaqueWhite;
    SetImagePalette(imageId, blackWhite);
    int32_t width = 0;
    int32_t height = 0;
    GetImageWidth(imageId, width);
    GetImageHeight(imageId, height);
    double testResult = 0;
    ApplyFilter(kNegativeFilter, imageId, 0, RoiRect{0, 0, width, height}, 0.0f, 0.5f, 1.0f, 0, 0, 0, testResult);
}

}  // namespace

MorvalenStatus LoadImageFromDib(int32_t& outId, win::HGLOBAL dib, bool keepHandle, bool wholeDpi) {
    if (dib == win::HGLOBAL{}) return InvalidParameter;
    const auto* block = static_cast<const uint8_t*>(win::GlobalLock(dib));
    if (block == nullptr) return GenericError;
    const std::span<const uint8_t> bytes(block, win::GlobalSize(dib));
    int32_t newId = 0;
    const MorvalenStatus status = ImageFromGdiDib(bytes, newId);
    const auto [pelsX, pelsY] = PelsPerMeterOf(bytes);
    win::GlobalUnlock(dib);
    if (status != OK) return status;
    PutWhiteOnOne(newId);
    if (keepHandle) AttachGlobalMemory(newId, dib);

    const float horizontal = DpiOf(pelsX, wholeDpi);
    const float vertical = DpiOf(pelsY, wholeDpi);
    if (horizontal > 0 && vertical > 0) SetImageResolution(newId, horizontal, vertical, false);
    outId = newId;
    return OK;
}

}  // namespace scanvelt
