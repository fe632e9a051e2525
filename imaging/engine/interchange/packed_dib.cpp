#include <cstring>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/interchange/interchange.h"
#include "imaging/engine/pixel_locks.h"
#include "platform/win/global_memory.h"

namespace scanvelt {

namespace {

constexpr uint32_t kHeaderSize = 40;

void Put16(uint8_t* at, uint16_t v) { std::memcpy(at, &v, 2); }
void Put32(uint8_t* at, uint32_t v) { std::memcpy(at, &v, 4); }

int32_t PelsPerMetre(float dpi) { return RoundToInt32(static_cast<double>(dpi) * 100.0 / 2.54); }

// Copies the whole image into the DIB's rows in its own format, bottom row
// first: one lock whose rows run backwards from the last DIB row.
MorvalenStatus ReadRowsBottomUp(int32_t imageId, int32_t width, int32_t height, int32_t stride, uint8_t* rows) {
    gdiplus::BitmapData data;
    data.Width = static_cast<uint32_t>(width);
    data.Height = static_cast<uint32_t>(height);
    data.Stride = -stride;
    data.PixelFormat = PixelFormatOf(imageId);
    data.Scan0 = rows + static_cast<size_t>(height - 1) * stride;
    const MorvalenStatus locked = LockImageBits(imageId, gdiplus::Rect{0, 0, width, height},
                                                kLockReadIntoCallerBuffer, data.PixelFormat, data);
    if (locked != OK) return locked;
    return UnlockImageBits(imageId, data);
}

MorvalenStatus FillBlock(int32_t imageId, win::HGLOBAL& block) {
    float dpiX = 0, dpiY = 0;
    GetImageVerticalResolution(imageId, dpiY);
    GetImageHorizontalResolution(imageId, dpiX);
    int32_t height = 0, width = 0, stride = 0;
    GetImageHeight(imageId, height);
    GetImageWidth(imageId, width);
    const int32_t depth = BitDepthOf(imageId);
    if (const MorvalenStatus status = ImageStride(imageId, stride); status != OK) return status;
    if (stride < 0) stride = -stride;
    const int32_t imageBytes = CheckedMultiply(stride, height);

    std::vector<uint32_t> colours;
    if (depth == 1 || depth == 4 || depth == 8) {
        gdiplus::ColorPalette palette;
        if (const MorvalenStatus status = ReadImagePalette(imageId, palette); status != OK) return status;
        colours.assign(size_t{1} << depth, 0);
        for (uint32_t i = 0; i < palette.Count && i < colours.size(); ++i) colours[i] = palette.Entries[i];
    }
    const size_t total = kHeaderSize + 4 * colours.size() + static_cast<size_t>(imageBytes);
    const win::HGLOBAL made = win::GlobalAlloc(win::GMEM_FIXED, total);
    if (made == win::HGLOBAL{}) return OutOfMemory;
    auto* bytes = static_cast<uint8_t*>(win::GlobalLock(made));

    Put32(bytes, kHeaderSize);
    Put32(bytes + 4, static_cast<uint32_t>(width));
    Put32(bytes + 8, static_cast<uint32_t>(height));
    Put16(bytes + 12, 1);
    Put16(bytes + 14, static_cast<uint16_t>(depth));
    Put32(bytes + 16, 0);
    Put32(bytes + 20, static_cast<uint32_t>(imageBytes));
    Put32(bytes + 24, static_cast<uint32_t>(PelsPerMetre(dpiX)));
    Put32(bytes + 28, static_cast<uint32_t>(PelsPerMetre(dpiY)));
    Put32(bytes + 32, static_cast<uint32_t>(colours.size()));
    Put32(bytes + 36, 0);
    if (!colours.empty()) std::memcpy(bytes + kHeaderSize, colours.data(), 4 * colours.size());

    // A lock that fails frees the block: half a picture is not handed out.
    const MorvalenStatus status =
        ReadRowsBottomUp(imageId, width, height, stride, bytes + kHeaderSize + 4 * colours.size());
    win::GlobalUnlock(made);
    if (status != OK) {
        win::GlobalFree(made);
        return status;
    }
    block = made;
    return OK;
}

}  // namespace

MorvalenStatus ImageToPackedDib(int32_t imageId, win::HGLOBAL& block) {
    block = win::HGLOBAL{};
    return StatusOfRun([&] { return FillBlock(imageId, block); });
}

}  // namespace scanvelt
