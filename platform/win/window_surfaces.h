#pragma once
// Windows the host shows, as surfaces the libraries can draw on. The libraries
// own no windows: a host registers each window it wants drawn into and gets a
// window handle for it (a plain number, since every library keeps its own
// handle tables). Everything that crosses between host and library here is
// plain data: a size, rows of pixels and a rectangle.
//
// A device context of such a window (GetDC) holds a bitmap of the window's
// client size, filled with what the window shows when the host can tell;
// ReleaseDC hands the part that was drawn on back to the window, which shows
// it.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/win/desktop_window.h"

namespace win {

// 32-bit pixels, blue in the low byte (the layout of a 32-bit DIB), top row
// first, `stride` bytes from one row to the next; `bytes` is the buffer's
// length.
struct WindowPixels {
    uint8_t* bits = nullptr;
    size_t bytes = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t stride = 0;
};

struct ConstWindowPixels {
    const uint8_t* bits = nullptr;
    size_t bytes = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t stride = 0;
};

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct WindowSize {
    int32_t width = 0;
    int32_t height = 0;
};

// What the host does for one window. `clientSize` is required; `readPixels`
// may be empty (a window whose pixels cannot be read starts black).
struct WindowSurface {
    std::function<WindowSize()> clientSize;
    // Fills `into` (of the client size) with what the window shows; false when it cannot.
    std::function<bool(const WindowPixels& into)> readPixels;
    // Puts what was drawn in the rectangle `part` of `from` (of the client
    // size) at the same place in the window and has the window show it. A
    // pixel was drawn when its fourth byte is not 0 (CopyDrawnPixels); the
    // others are to be left as the window shows them.
    std::function<void(const ConstWindowPixels& from, const PixelRect& part)> writePixels;
};

// Registers a window; the null handle when the surface lacks its size or
// writer. The handle stays the window's until it is unregistered.
HWND RegisterHostWindow(WindowSurface surface);
void UnregisterHostWindow(HWND window);
bool IsHostWindow(uint32_t window);

// The window's client size; nothing for a window that is not registered.
bool HostWindowSize(uint32_t window, WindowSize& size);
// What the window shows, into `into`; false when it is not registered or the
// host cannot read it.
bool ReadHostWindow(uint32_t window, const WindowPixels& into);
// Hands the rectangle `part` of `from` to the window; false when it is not registered.
bool WriteHostWindow(uint32_t window, const ConstWindowPixels& from, const PixelRect& part);

// Copies the rectangle `part` of `from` to the same place in `to`. Only the
// part that lies inside both is copied; false when nothing does or a buffer
// is shorter than its size and stride claim.
bool CopyPixelRect(const ConstWindowPixels& from, const WindowPixels& to, const PixelRect& part);
// The same for the pixels of the rectangle that were drawn (fourth byte not
// 0), which arrive with their fourth byte 0xFF; the others stay as they are.
bool CopyDrawnPixels(const ConstWindowPixels& from, const WindowPixels& to, const PixelRect& part);

}  // namespace win
