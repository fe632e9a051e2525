#include "imaging/viewer/back_buffer.h"

#include <algorithm>

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

}  // namespace scanvelt
