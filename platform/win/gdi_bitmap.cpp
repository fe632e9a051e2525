#include "platform/win/gdi_bitmap.h"

#include "platform/win/handle_table.h"
#include "platform/win/window_surfaces.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>

namespace win {
namespace {

// Largest pixel memory one bitmap may hold.
constexpr uint64_t kMaxBitmapBytes = 1ull << 31;

struct DeviceContext {
    bool memory = false;
    uint32_t window = 0;
    HBITMAP selected{};
    HBITMAP starting{};  // the 1 x 1 bitmap a memory context is born with
    DeviceCaps caps;
    // A host window's context: its bitmap of the client area, and the pixels
    // it started with, so that only what was drawn goes back to the window.
    HBITMAP windowBitmap{};
    std::vector<uint8_t> windowPixelsAtStart;
};

HandleTable<HBITMAP, GdiBitmap>& bitmaps() {
    static HandleTable<HBITMAP, GdiBitmap> table(HandleKind::Bitmap);
    return table;
}

HandleTable<HDC, DeviceContext>& contexts() {
    static HandleTable<HDC, DeviceContext> table(HandleKind::DeviceContext);
    return table;
}

// Guards which bitmap sits in which context.
std::mutex& selectionMutex() {
    static std::mutex mutex;
    return mutex;
}

bool supportedDepth(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// A zero-filled bitmap of that shape; nullopt when the shape is not one a
// bitmap can have or the memory cannot be had.
std::optional<GdiBitmap> makeBitmap(int32_t width, int32_t height, uint16_t bitsPerPixel, bool topDown) {
    if (width <= 0 || height <= 0 || !supportedDepth(bitsPerPixel)) return std::nullopt;
    uint32_t stride = DibStride(width, bitsPerPixel);
    if (stride == 0 || static_cast<uint64_t>(stride) * static_cast<uint64_t>(height) > kMaxBitmapBytes) return std::nullopt;
    GdiBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitsPerPixel = bitsPerPixel;
    bitmap.topDown = topDown;
    bitmap.stride = stride;
    try {
        bitmap.bits.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return bitmap;
}

}  // namespace

uint32_t DibStride(int32_t width, uint16_t bitsPerPixel) {
    if (width <= 0) return 0;
    uint64_t bits = static_cast<uint64_t>(width) * bitsPerPixel;
    uint64_t stride = (bits + 31) / 32 * 4;
    return stride > UINT32_MAX ? 0 : static_cast<uint32_t>(stride);
}

HBITMAP CreateDIBSection(HDC /*dc*/, const BitmapInfoHeader& header, std::span<const uint32_t> colorTable, void** bits) {
    if (bits) *bits = nullptr;
    if (header.compression != BI_RGB || header.planes != 1 || header.height == 0 ||
        header.height == INT32_MIN) {
        return HBITMAP{};
    }
    auto bitmap = makeBitmap(header.width, header.height < 0 ? -header.height : header.height, header.bitCount,
                             header.height < 0);
    if (!bitmap) return HBITMAP{};
    if (header.bitCount <= 8) {
        uint32_t full = 1u << header.bitCount;
        uint32_t entries = header.clrUsed == 0 ? full : std::min(header.clrUsed, full);
        bitmap->colorTable.assign(entries, 0);
        std::copy_n(colorTable.begin(), std::min<size_t>(entries, colorTable.size()), bitmap->colorTable.begin());
    }
    bitmap->xPelsPerMeter = header.xPelsPerMeter;
    bitmap->yPelsPerMeter = header.yPelsPerMeter;
    auto object = std::make_shared<GdiBitmap>(std::move(*bitmap));
    HBITMAP handle = bitmaps().add(object);
    if (bits && handle != HBITMAP{}) *bits = object->bits.data();
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC /*dc*/, int32_t width, int32_t height) {
    auto bitmap = makeBitmap(width, height, kScreenBitsPerPixel, true);
    if (!bitmap) return HBITMAP{};
    return bitmaps().add(std::make_shared<GdiBitmap>(std::move(*bitmap)));
}

int32_t SetDIBits(HDC /*dc*/, HBITMAP handle, uint32_t startScan, uint32_t lines, const void* dibBits,
                  const BitmapInfoHeader& header) {
    auto bitmap = bitmaps().find(handle);
    if (!bitmap || !dibBits || header.compression != BI_RGB || header.width != bitmap->width ||
        header.bitCount != bitmap->bitsPerPixel || header.height == 0 || header.height == INT32_MIN) {
        return 0;
    }
    bool sourceTopDown = header.height < 0;
    int64_t sourceHeight = sourceTopDown ? -static_cast<int64_t>(header.height) : header.height;
    if (startScan >= sourceHeight) return 0;
    uint32_t count = static_cast<uint32_t>(std::min<int64_t>(lines, sourceHeight - startScan));
    count = static_cast<uint32_t>(std::min<int64_t>(count, bitmap->height));
    uint32_t sourceStride = DibStride(header.width, header.bitCount);
    uint32_t rowBytes = std::min(sourceStride, bitmap->stride);
    const auto* source = static_cast<const uint8_t*>(dibBits);
    int32_t copied = 0;
    for (uint32_t k = 0; k < count; ++k) {
        int64_t scan = static_cast<int64_t>(startScan) + k;
        // Scan lines count from the top of a top-down DIB and from the bottom of a bottom-up one.
        int64_t y = sourceTopDown ? scan : sourceHeight - 1 - scan;
        if (y < 0 || y >= bitmap->height) continue;
        std::memcpy(bitmap->row(static_cast<int32_t>(y)), source + static_cast<size_t>(k) * sourceStride, rowBytes);
        ++copied;
    }
    return copied;
}

std::shared_ptr<GdiBitmap> FindBitmap(HBITMAP bitmap) { return bitmaps().find(bitmap); }

HBITMAP AddBitmap(GdiBitmap bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0 || !supportedDepth(bitmap.bitsPerPixel) ||
        bitmap.stride < DibStride(bitmap.width, bitmap.bitsPerPixel) ||
        bitmap.bits.size() < static_cast<size_t>(bitmap.stride) * static_cast<size_t>(bitmap.height)) {
        return HBITMAP{};
    }
    bitmap.selectedInto = 0;
    return bitmaps().add(std::make_shared<GdiBitmap>(std::move(bitmap)));
}

size_t LiveBitmapCount() { return bitmaps().size(); }

bool DeleteObject(HBITMAP handle) {
    std::lock_guard lock(selectionMutex());
    auto bitmap = bitmaps().find(handle);
    if (!bitmap || bitmap->selectedInto != 0) return false;
    return bitmaps().remove(handle) != nullptr;
}

namespace {

// The context of a host window holds a bitmap of the window's client area,
// filled with what the window shows (black when the host cannot tell). A
// window without a size gets a context without a bitmap, as any other window.
void giveWindowItsPixels(DeviceContext& context, uint32_t window) {
    WindowSize size;
    if (!HostWindowSize(window, size)) return;
    auto bitmap = makeBitmap(size.width, size.height, kScreenBitsPerPixel, true);
    if (!bitmap) return;
    ReadHostWindow(window, WindowPixels{bitmap->bits.data(), bitmap->bits.size(), bitmap->width, bitmap->height,
                                        bitmap->stride});
    // A window's pixels carry no alpha; their fourth byte starts at 0 here,
    // and whatever draws sets it, so every pixel drawn tells from those left
    // alone, even one drawn in the colour that was there.
    for (int32_t y = 0; y < bitmap->height; ++y) {
        uint8_t* row = bitmap->row(y);
        for (int32_t x = 0; x < bitmap->width; ++x) row[x * 4 + 3] = 0;
    }
    try {
        context.windowPixelsAtStart = bitmap->bits;
    } catch (const std::bad_alloc&) {
        return;
    }
    context.windowBitmap = bitmaps().add(std::make_shared<GdiBitmap>(std::move(*bitmap)));
    context.selected = context.windowBitmap;
}

// The smallest rectangle holding every pixel that differs from the start;
// nothing when none does.
std::optional<PixelRect> drawnPart(const GdiBitmap& bitmap, const std::vector<uint8_t>& start) {
    if (start.size() != bitmap.bits.size()) return std::nullopt;
    int32_t left = bitmap.width, right = -1, top = -1, bottom = -1;
    for (int32_t y = 0; y < bitmap.height; ++y) {
        const size_t offset = static_cast<size_t>(y) * bitmap.stride;
        const uint8_t* now = bitmap.bits.data() + offset;
        const uint8_t* before = start.data() + offset;
        if (std::memcmp(now, before, static_cast<size_t>(bitmap.width) * 4) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        for (int32_t x = 0; x < bitmap.width; ++x) {
            if (std::memcmp(now + x * 4, before + x * 4, 4) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    if (top < 0) return std::nullopt;
    return PixelRect{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace

HDC GetDC(uint32_t window) {
    auto context = std::make_shared<DeviceContext>();
    context->window = window;
    if (IsHostWindow(window)) giveWindowItsPixels(*context, window);
    std::lock_guard lock(selectionMutex());
    const HDC dc = contexts().add(context);
    if (auto bitmap = bitmaps().find(context->windowBitmap)) {
        if (dc == HDC{}) {
            bitmaps().remove(context->windowBitmap);
        } else {
            bitmap->selectedInto = handleValue(dc);
        }
    }
    return dc;
}

int ReleaseDC(uint32_t window, HDC dc) {
    std::shared_ptr<DeviceContext> context;
    std::shared_ptr<GdiBitmap> bitmap;
    {
        std::lock_guard lock(selectionMutex());
        context = contexts().find(dc);
        if (!context || context->memory || context->window != window) return 0;
        contexts().remove(dc);
        bitmap = bitmaps().remove(context->windowBitmap);
    }
    // What was drawn reaches the window after the context is gone, as the
    // host may repaint at once.
    if (bitmap) {
        if (const auto part = drawnPart(*bitmap, context->windowPixelsAtStart)) {
            WriteHostWindow(window,
                            ConstWindowPixels{bitmap->bits.data(), bitmap->bits.size(), bitmap->width,
                                              bitmap->height, bitmap->stride},
                            *part);
        }
    }
    return 1;
}

HDC CreateCompatibleDC(HDC /*dc*/) {
    auto starting = makeBitmap(1, 1, 1, true);
    if (!starting) return HDC{};
    starting->colorTable = {0x00000000, 0x00FFFFFF};
    auto startingObject = std::make_shared<GdiBitmap>(std::move(*starting));
    HBITMAP startingHandle = bitmaps().add(startingObject);
    if (startingHandle == HBITMAP{}) return HDC{};
    auto context = std::make_shared<DeviceContext>();
    context->memory = true;
    context->selected = startingHandle;
    context->starting = startingHandle;
    std::lock_guard lock(selectionMutex());
    HDC dc = contexts().add(context);
    if (dc == HDC{}) {
        bitmaps().remove(startingHandle);
        return HDC{};
    }
    startingObject->selectedInto = handleValue(dc);
    return dc;
}

bool DeleteDC(HDC dc) {
    std::lock_guard lock(selectionMutex());
    auto context = contexts().find(dc);
    if (!context || !context->memory) return false;
    if (auto selected = bitmaps().find(context->selected)) selected->selectedInto = 0;
    if (auto starting = bitmaps().find(context->starting); starting && starting->selectedInto == 0) {
        bitmaps().remove(context->starting);
    }
    contexts().remove(dc);
    return true;
}

HBITMAP SelectObject(HDC dc, HBITMAP handle) {
    std::lock_guard lock(selectionMutex());
    auto context = contexts().find(dc);
    auto bitmap = bitmaps().find(handle);
    if (!context || !context->memory || !bitmap) return HBITMAP{};
    if (bitmap->selectedInto != 0 && bitmap->selectedInto != handleValue(dc)) return HBITMAP{};
    HBITMAP previous = context->selected;
    if (auto old = bitmaps().find(previous)) old->selectedInto = 0;
    bitmap->selectedInto = handleValue(dc);
    context->selected = handle;
    return previous;
}

HBITMAP SelectedBitmap(HDC dc) {
    std::lock_guard lock(selectionMutex());
    auto context = contexts().find(dc);
    return context ? context->selected : HBITMAP{};
}

bool SetDeviceCaps(HDC dc, const DeviceCaps& caps) {
    std::lock_guard lock(selectionMutex());
    auto context = contexts().find(dc);
    if (!context) return false;
    context->caps = caps;
    return true;
}

int32_t GetDeviceCaps(HDC dc, int32_t index) {
    std::lock_guard lock(selectionMutex());
    auto context = contexts().find(dc);
    if (!context) return 0;
    const DeviceCaps& caps = context->caps;
    const auto selected = bitmaps().find(context->selected);
    const int32_t width = caps.physicalWidth > 0 ? caps.physicalWidth : (selected ? selected->width : 0);
    const int32_t height = caps.physicalHeight > 0 ? caps.physicalHeight : (selected ? selected->height : 0);
    switch (index) {
    case LOGPIXELSX: return caps.dpiX;
    case LOGPIXELSY: return caps.dpiY;
    case PHYSICALWIDTH: return width;
    case PHYSICALHEIGHT: return height;
    case PHYSICALOFFSETX: return caps.offsetX;
    case PHYSICALOFFSETY: return caps.offsetY;
    case HORZRES: return caps.printableWidth > 0 ? caps.printableWidth : width;
    case VERTRES: return caps.printableHeight > 0 ? caps.printableHeight : height;
    default: return 0;
    }
}

}  // namespace win
