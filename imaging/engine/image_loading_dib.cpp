// Loading a packed DIB from global memory: the header is checked against the
// block before anything behind it is read.
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "platform/win/global_memory.h"

namespace scanvelt {

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr int32_t kNegativeFilter = 2;

uint32_t U32At(const uint8_t* bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes + at, 4);
    return value;
}

uint16_t U16At(const uint8_t* bytes, size_t at) {
    uint16_t value = 0;
    std::memcpy(&value, bytes + at, 2);
    return value;
}

// Where the parts of a packed DIB lie, once they are known to fit the block.
struct DibLayout {
    GdiDib dib;
    std::vector<uint32_t> colorTable;
};

// The 16- and 32-bit colour masks GDI+ can take: 5-5-5, 5-6-5 and 8-8-8
// with an optional alpha byte.
bool TakeMasks(uint16_t bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha, GdiDib& dib) {
    if (bits == 16 && red == 0x7C00 && green == 0x03E0 && blue == 0x001F) return true;
    if (bits == 16 && red == 0xF800 && green == 0x07E0 && blue == 0x001F) {
        dib.rgb565 = true;
        return true;
    }
    if (bits == 32 && red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF) {
        dib.alpha = alpha == 0xFF000000u;
        return alpha == 0 || dib.alpha;
    }
    return false;
}

// Reads and checks the header of a block of `size` bytes. False for a DIB
// this loader does not take or one that the block is too short for.
bool ReadLayout(uint8_t* block, size_t size, DibLayout& layout) {
    if (size < kInfoHeaderSize) return false;
    const uint32_t headerSize = U32At(block, 0);
    if (headerSize < kInfoHeaderSize || headerSize == kCoreHeaderSize || headerSize > size) return false;
    win::BitmapInfoHeader& header = layout.dib.header;
    header.width = static_cast<int32_t>(U32At(block, 4));
    header.height = static_cast<int32_t>(U32At(block, 8));
    header.bitCount = U16At(block, 14);
    header.compression = U32At(block, 16);
    header.xPelsPerMeter = static_cast<int32_t>(U32At(block, 24));
    header.yPelsPerMeter = static_cast<int32_t>(U32At(block, 28));
    header.clrUsed = U32At(block, 32);
    const uint16_t bits = header.bitCount;
    if (header.width < 1 || header.height == 0 || header.height == INT32_MIN) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    uint64_t offset = headerSize;
    if (header.compression == kBitFields) {
        if (bits != 16 && bits != 32) return false;
        // A BITMAPINFOHEADER is followed by the three masks; headers from 52
        // bytes on hold them (and from 56 bytes on the alpha mask too).
        if (headerSize == kInfoHeaderSize) {
            offset += 12;
        } else if (headerSize < kInfoHeaderSize + 12) {
            return false;
        }
        if (offset > size) return false;
        constexpr size_t masksAt = kInfoHeaderSize;
        const uint32_t alpha = headerSize >= 56 ? U32At(block, 52) : 0;
        if (!TakeMasks(bits, U32At(block, masksAt), U32At(block, masksAt + 4), U32At(block, masksAt + 8), alpha,
                       layout.dib)) {
            return false;
        }
    } else if (header.compression != win::BI_RGB) {
        return false;
    }

    const uint64_t maxColours = bits <= 8 ? (1u << bits) : 0;
    const uint64_t colours = header.clrUsed != 0 ? header.clrUsed : maxColours;
    if (bits <= 8 && colours > maxColours) return false;
    if (offset + 4 * colours > size) return false;
    if (bits <= 8) {
        layout.colorTable.resize(colours);
        for (uint64_t i = 0; i < colours; ++i) layout.colorTable[i] = U32At(block, offset + 4 * i);
    }
    offset += 4 * colours;

    const uint64_t rows = header.height < 0 ? -static_cast<int64_t>(header.height) : header.height;
    const uint32_t stride = win::DibStride(header.width, bits);
    if (stride == 0 || offset + static_cast<uint64_t>(stride) * rows > size) return false;
    layout.dib.colorTable = layout.colorTable;
    layout.dib.bits = block + offset;
    return true;
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
    auto* block = static_cast<uint8_t*>(win::GlobalLock(dib));
    if (block == nullptr) return GenericError;
    DibLayout layout;
    if (!ReadLayout(block, win::GlobalSize(dib), layout)) {
        win::GlobalUnlock(dib);
        return InvalidParameter;
    }
    int32_t newId = 0;
    const MorvalenStatus status = ImageFromGdiDib(layout.dib, keepHandle, newId);
    if (status == OK) PutWhiteOnOne(newId);
    win::GlobalUnlock(dib);
    if (status != OK) return status;
    if (keepHandle) AttachGlobalMemory(newId, dib);

    const float horizontal = DpiOf(layout.dib.header.xPelsPerMeter, wholeDpi);
    const float vertical = DpiOf(layout.dib.header.yPelsPerMeter, wholeDpi);
    if (horizontal > 0 && vertical > 0) SetImageResolution(newId, horizontal, vertical, false);
    outId = newId;
    return OK;
}

}  // namespace scanvelt
