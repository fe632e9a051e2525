#pragma once
// A host window for tests that keeps its client area in memory: it is
// registered while it lives, shows what the libraries hand it and notes the
// rectangle of every hand-over.
#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/win/window_surfaces.h"

namespace win {

// How the tests' messages show a rectangle.
inline void PrintTo(const PixelRect& r, std::ostream* out) {
    *out << "(" << r.left << "," << r.top << " " << r.width << "x" << r.height << ")";
}

}  // namespace win

namespace win::testing {

class MemoryWindow {
public:
    // `readable` false: a window whose host cannot tell what it shows.
    MemoryWindow(int32_t width, int32_t height, uint32_t fill, bool readable = true)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {
        WindowSurface surface;
        surface.clientSize = [this] { return WindowSize{width_, height_}; };
        if (readable) {
            surface.readPixels = [this](const WindowPixels& into) { return CopyPixelRect(view(), into, whole()); };
        }
        surface.writePixels = [this](const ConstWindowPixels& from, const PixelRect& part) {
            parts.push_back(part);
            CopyDrawnPixels(from, mutableView(), part);
        };
        handle_ = RegisterHostWindow(std::move(surface));
    }
    ~MemoryWindow() { UnregisterHostWindow(handle_); }
    MemoryWindow(const MemoryWindow&) = delete;
    MemoryWindow& operator=(const MemoryWindow&) = delete;

    uint32_t handle() const { return static_cast<uint32_t>(handle_); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // The pixel at (x, y), blue in the low byte.
    uint32_t pixel(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // The rectangle every write brought.
    std::vector<PixelRect> parts;

private:
    PixelRect whole() const { return PixelRect{0, 0, width_, height_}; }
    ConstWindowPixels view() const {
        return ConstWindowPixels{reinterpret_cast<const uint8_t*>(pixels_.data()), pixels_.size() * 4, width_, height_,
                                 static_cast<uint32_t>(width_) * 4};
    }
    WindowPixels mutableView() {
        return WindowPixels{reinterpret_cast<uint8_t*>(pixels_.data()), pixels_.size() * 4, width_, height_,
                            static_cast<uint32_t>(width_) * 4};
    }

    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
    HWND handle_{};
};

}  // namespace win::testing
