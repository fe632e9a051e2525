#include "imaging/viewer/back_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/win/gdi_bitmap.h"

namespace scanvelt {

BackBuffer::BackBuffer() : dc_(win::CreateCompatibleDC(win::HDC{})) {}

BackBuffer::~BackBuffer() {
    dropBitmap();
    if (dc_ != win::HDC{}) win::DeleteDC(dc_);
}

void BackBuffer::dropBitmap() {
    if (bitmap_ == win::HBITMAP{}) return;
    win::SelectObject(dc_, original_);
    win::DeleteObject(bitmap_);
    bitmap_ = win::HBITMAP{};
    pixels_ = nullptr;
    width_ = height_ = 0;
}

bool BackBuffer::resize(int32_t width, int32_t height, uint32_t color) {
    dropBitmap();
    if (width <= 0 || height <= 0 || dc_ == win::HDC{}) return false;
    win::BitmapInfoHeader header;
    header.width = width;
    header.height = -height;  // top-down, as the host reads it
    header.bitCount = 32;
    void* bits = nullptr;
    win::HBITMAP made = win::CreateDIBSection(dc_, header, {}, &bits);
    if (made == win::HBITMAP{} || !bits) return false;
    original_ = win::SelectObject(dc_, made);
    bitmap_ = made;
    pixels_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    fill(0, 0, width, height, color);
    return true;
}

void BackBuffer::fill(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color) {
    if (!pixels_) return;
    int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
    int32_t x1 = std::min(x + width, width_), y1 = std::min(y + height, height_);
    for (int32_t row = y0; row < y1; ++row)
        std::fill(pixels_ + static_cast<size_t>(row) * width_ + x0, pixels_ + static_cast<size_t>(row) * width_ + std::max(x0, x1), color);
}

bool BackBuffer::moveWithin(int32_t x, int32_t y, int32_t width, int32_t height, int32_t dx, int32_t dy) {
    if (!pixels_ || x < 0 || y < 0 || width < 0 || height < 0 || width > width_ - x || height > height_ - y)
        return false;
    if (std::abs(dx) >= width || std::abs(dy) >= height) return true;  // nothing stays in view
    const int32_t rows = height - std::abs(dy), columns = width - std::abs(dx);
    const int32_t toX = x + std::max(-dx, 0), fromX = x + std::max(dx, 0);
    const auto rowAt = [&](int32_t row) { return pixels_ + static_cast<size_t>(row) * width_; };
    // Rows move in the order that never overwrites a row still to be read.
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t k = dy > 0 ? i : rows - 1 - i;
        const int32_t to = y + std::max(-dy, 0) + k, from = y + std::max(dy, 0) + k;
        std::memmove(rowAt(to) + toX, rowAt(from) + fromX, static_cast<size_t>(columns) * sizeof(uint32_t));
    }
    return true;
}

bool BackBuffer::copyFrom(const BackBuffer& other) {
    if (!pixels_ || !other.pixels_ || other.width_ != width_ || other.height_ != height_) return false;
    std::memcpy(pixels_, other.pixels_, static_cast<size_t>(width_) * height_ * sizeof(uint32_t));
    return true;
}

}  // namespace scanvelt
