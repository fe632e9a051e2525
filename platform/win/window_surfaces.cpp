#include "platform/win/window_surfaces.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/win/host_services.h"

namespace win {
namespace {

struct WindowSurfaceSlot {
    std::mutex mutex;
    // Serial 1 is the desktop's; a freed serial is not handed out again.
    uint32_t nextSerial = 2;
    std::map<uint32_t, WindowSurface> windows;
};

WindowSurfaceSlot& slot() { return HostService<WindowSurfaceSlot>("win.window_surfaces"); }

// A copy, so the host's code runs without the lock held (it may register or
// draw on other windows meanwhile).
std::optional<WindowSurface> surfaceOf(uint32_t window) {
    WindowSurfaceSlot& s = slot();
    std::lock_guard lock(s.mutex);
    const auto found = s.windows.find(window);
    if (found == s.windows.end()) return std::nullopt;
    return found->second;
}

// Whether the buffer holds every row its size and stride claim.
bool holdsItsRows(const uint8_t* bits, size_t bytes, int32_t width, int32_t height, uint32_t stride) {
    if (bits == nullptr || width <= 0 || height <= 0) return false;
    const uint64_t rowBytes = static_cast<uint64_t>(width) * 4;
    if (stride < rowBytes) return false;
    const uint64_t needed = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height - 1) + rowBytes;
    return needed <= bytes;
}

}  // namespace

HWND RegisterHostWindow(WindowSurface surface) {
    if (!surface.clientSize || !surface.writePixels) return HWND{};
    WindowSurfaceSlot& s = slot();
    std::lock_guard lock(s.mutex);
    if (s.nextSerial > kHandleSerialMask) return HWND{};
    const uint32_t handle = (static_cast<uint32_t>(HandleKind::Window) << kHandleKindShift) | s.nextSerial++;
    s.windows.emplace(handle, std::move(surface));
    return HWND{handle};
}

void UnregisterHostWindow(HWND window) {
    WindowSurfaceSlot& s = slot();
    std::lock_guard lock(s.mutex);
    s.windows.erase(static_cast<uint32_t>(window));
}

bool IsHostWindow(uint32_t window) { return surfaceOf(window).has_value(); }

bool HostWindowSize(uint32_t window, WindowSize& size) {
    const auto surface = surfaceOf(window);
    if (!surface) return false;
    size = surface->clientSize();
    return true;
}

bool ReadHostWindow(uint32_t window, const WindowPixels& into) {
    const auto surface = surfaceOf(window);
    return surface && surface->readPixels && surface->readPixels(into);
}

bool WriteHostWindow(uint32_t window, const ConstWindowPixels& from, const PixelRect& part) {
    const auto surface = surfaceOf(window);
    if (!surface) return false;
    surface->writePixels(from, part);
    return true;
}

namespace {

// The part of the rectangle inside both buffers, in pixels; nothing when
// there is none or a buffer is shorter than its shape claims.
std::optional<PixelRect> clippedPart(const ConstWindowPixels& from, const WindowPixels& to, const PixelRect& part) {
    if (!holdsItsRows(from.bits, from.bytes, from.width, from.height, from.stride) ||
        !holdsItsRows(to.bits, to.bytes, to.width, to.height, to.stride)) {
        return std::nullopt;
    }
    // Clipped in 64 bits: a rectangle may lie anywhere and be of any size.
    const int64_t left = std::max<int64_t>(part.left, 0);
    const int64_t top = std::max<int64_t>(part.top, 0);
    const int64_t right = std::min<int64_t>({static_cast<int64_t>(part.left) + std::max(part.width, 0),
                                             from.width, to.width});
    const int64_t bottom = std::min<int64_t>({static_cast<int64_t>(part.top) + std::max(part.height, 0),
                                              from.height, to.height});
    if (left >= right || top >= bottom) return std::nullopt;
    return PixelRect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
                     static_cast<int32_t>(bottom - top)};
}

const uint8_t* pixelAt(const ConstWindowPixels& p, int32_t x, int32_t y) {
    return p.bits + static_cast<size_t>(y) * p.stride + static_cast<size_t>(x) * 4;
}

uint8_t* pixelAt(const WindowPixels& p, int32_t x, int32_t y) {
    return p.bits + static_cast<size_t>(y) * p.stride + static_cast<size_t>(x) * 4;
}

}  // namespace

bool CopyPixelRect(const ConstWindowPixels& from, const WindowPixels& to, const PixelRect& part) {
    const auto clipped = clippedPart(from, to, part);
    if (!clipped) return false;
    for (int32_t y = clipped->top; y < clipped->top + clipped->height; ++y) {
        std::memcpy(pixelAt(to, clipped->left, y), pixelAt(from, clipped->left, y),
                    static_cast<size_t>(clipped->width) * 4);
    }
    return true;
}

bool CopyDrawnPixels(const ConstWindowPixels& from, const WindowPixels& to, const PixelRect& part) {
    const auto clipped = clippedPart(from, to, part);
    if (!clipped) return false;
    for (int32_t y = clipped->top; y < clipped->top + clipped->height; ++y) {
        const uint8_t* source = pixelAt(from, clipped->left, y);
        uint8_t* target = pixelAt(to, clipped->left, y);
        for (int32_t x = 0; x < clipped->width; ++x, source += 4, target += 4) {
            if (source[3] == 0) continue;
            std::memcpy(target, source, 3);
            target[3] = 0xFF;
        }
    }
    return true;
}

}  // namespace win
