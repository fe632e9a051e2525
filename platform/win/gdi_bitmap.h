#pragma once
// GDI bitmaps (device-independent sections and screen-compatible bitmaps) and
// the device contexts they are selected into. Pixels are kept the way a DIB
// holds them, so hosts and GDI+ can exchange them without conversion.
#include "platform/win/handles.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace win {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t DIB_RGB_COLORS = 0;
// Bits per pixel of the (virtual) screen: what compatible bitmaps get.
constexpr uint16_t kScreenBitsPerPixel = 32;

// The fields of a 40-byte BITMAPINFOHEADER (its size field is implied).
struct BitmapInfoHeader {
    int32_t width = 0;
    int32_t height = 0;  // positive: rows bottom-up; negative: top-down
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// Row length in bytes, padded to four bytes as DIB rows are; 0 when it
// would not fit 32 bits.
uint32_t DibStride(int32_t width, uint16_t bitsPerPixel);

struct GdiBitmap {
    int32_t width = 0;
    int32_t height = 0;  // always positive
    uint16_t bitsPerPixel = 0;
    bool topDown = false;  // memory holds the top row first
    uint32_t stride = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    std::vector<uint8_t> bits;           // sized once; its address is handed out
    std::vector<uint32_t> colorTable;    // RGBQUAD values: blue in the low byte
    uint32_t selectedInto = 0;           // value of the HDC holding it, 0 when none

    // Image row y, counted from the top.
    uint8_t* row(int32_t y) { return bits.data() + static_cast<size_t>(memoryRow(y)) * stride; }
    const uint8_t* row(int32_t y) const { return bits.data() + static_cast<size_t>(memoryRow(y)) * stride; }

private:
    int32_t memoryRow(int32_t y) const { return topDown ? y : height - 1 - y; }
};

// A DIB section: 1, 4, 8, 16, 24 or 32 bits per pixel, BI_RGB. For up to 8
// bits the colour table takes clrUsed entries (all 2^bits when 0) from
// `colorTable`, missing ones 0. `bits` receives the address of the pixels.
// The null handle for anything else, or when memory runs out.
HBITMAP CreateDIBSection(HDC dc, const BitmapInfoHeader& header, std::span<const uint32_t> colorTable, void** bits);

// A bitmap in the screen's format (kScreenBitsPerPixel), all black.
HBITMAP CreateCompatibleBitmap(HDC dc, int32_t width, int32_t height);

// Copies `lines` rows of a DIB (described by `header`, rows padded to four
// bytes, scan 0 the bottom row for a bottom-up DIB) into the bitmap, from
// scan `startScan` on. The DIB must have the bitmap's width and bits per
// pixel; pixel values are copied unchanged. Returns the rows copied, 0 on failure.
int32_t SetDIBits(HDC dc, HBITMAP bitmap, uint32_t startScan, uint32_t lines, const void* dibBits,
                  const BitmapInfoHeader& header);

// The bitmap object behind a handle, for the layers that read or draw its
// pixels; nullptr for an invalid handle.
std::shared_ptr<GdiBitmap> FindBitmap(HBITMAP bitmap);

// Registers a bitmap made elsewhere (GDI+ making a bitmap of an image).
HBITMAP AddBitmap(GdiBitmap bitmap);

// Frees a bitmap; false for an invalid handle or a bitmap still selected into
// a device context.
bool DeleteObject(HBITMAP bitmap);

// Bitmaps alive now, for the tests' leak checks.
size_t LiveBitmapCount();

// --- device contexts ---

// A device context of the screen (window 0) or of a window; one per call.
// Only a window the host registered (window_surfaces.h) has pixels: its
// context holds a 32-bit bitmap of the window's client area.
HDC GetDC(uint32_t window);
// Gives back a context from GetDC: 1 when released, 0 otherwise. What was
// drawn into a host window's context goes to the window.
int ReleaseDC(uint32_t window, HDC dc);
// A memory context; it starts with a 1 x 1 monochrome bitmap selected.
HDC CreateCompatibleDC(HDC dc);
// Frees a memory context; the bitmap selected into it is deselected (its
// starting bitmap is freed with it).
bool DeleteDC(HDC dc);
// Selects a bitmap into a memory context and returns the one it held; the
// null handle on failure (not a memory context, invalid bitmap, bitmap
// selected into another context).
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
// The bitmap a context holds; the null handle for none or an invalid context.
HBITMAP SelectedBitmap(HDC dc);

// --- device capabilities ---

// GetDeviceCaps indexes this platform answers.
constexpr int32_t HORZRES = 8;
constexpr int32_t VERTRES = 10;
constexpr int32_t LOGPIXELSX = 88;
constexpr int32_t LOGPIXELSY = 90;
constexpr int32_t PHYSICALWIDTH = 110;
constexpr int32_t PHYSICALHEIGHT = 111;
constexpr int32_t PHYSICALOFFSETX = 112;
constexpr int32_t PHYSICALOFFSETY = 113;

// What a context stands for: the screen's 96 dpi unless a device (a
// printer's page) gave it its own. Sizes and offsets in device pixels; zero
// sizes mean the size of the selected bitmap.
struct DeviceCaps {
    int32_t dpiX = 96;
    int32_t dpiY = 96;
    int32_t physicalWidth = 0;
    int32_t physicalHeight = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t printableWidth = 0;
    int32_t printableHeight = 0;
};

// Gives a context the capabilities of a device; false for an invalid context.
bool SetDeviceCaps(HDC dc, const DeviceCaps& caps);
// One capability; 0 for an invalid context or an index not listed above.
int32_t GetDeviceCaps(HDC dc, int32_t index);

}  // namespace win
