#pragma once
// The viewer's back buffer: a 32-bit top-down DIB section selected into a
// memory device context, so that GDI+ draws into it through the context and
// the host reads its pixels.
#include <cstddef>
#include <cstdint>

#include "platform/win/handles.h"

namespace scanvelt {

class BackBuffer {
public:
    BackBuffer();
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // A new buffer of that size, filled with `color`; false (and no pixels)
    // when it cannot be made or the size is not positive.
    bool resize(int32_t width, int32_t height, uint32_t color);
    // Fills a rectangle, clipped to the buffer.
    void fill(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color);
    // Moves the content of a rectangle within it: pixel (x, y) takes what was
    // at (x + dx, y + dy); what would come from outside the rectangle keeps
    // its old content. False (nothing moved) when the rectangle does not lie
    // inside the buffer.
    bool moveWithin(int32_t x, int32_t y, int32_t width, int32_t height, int32_t dx, int32_t dy);
    // Takes every pixel of a buffer of the same size; false (nothing copied)
    // for another size.
    bool copyFrom(const BackBuffer& other);

    win::HDC dc() const { return dc_; }
    uint32_t* pixels() const { return pixels_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t stride() const { return width_ * 4; }
    uint32_t pixel(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

private:
    void dropBitmap();

    win::HDC dc_{};
    win::HBITMAP bitmap_{};
    win::HBITMAP original_{};
    uint32_t* pixels_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace scanvelt
