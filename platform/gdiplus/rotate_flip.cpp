// Quarter turns and mirroring, pixel by pixel at any bit depth, into a new
// buffer of the bitmap's own.
#include <utility>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_convert.h"

namespace gdiplus {

Status Bitmap::RotateFlip(RotateFlipType type) {
    if (type < RotateNoneFlipNone || type > Rotate270FlipX) return InvalidParameter;
    if (IsLocked()) return ObjectBusy;
    if (type == RotateNoneFlipNone) return Ok;

    const int quarterTurns = type % 4;  // clockwise
    const bool mirror = type >= RotateNoneFlipX;
    const bool sideways = quarterTurns % 2 == 1;
    const std::int32_t newWidth = sideways ? height_ : width_;
    const std::int32_t newHeight = sideways ? width_ : height_;

    std::unique_ptr<Bitmap> turned;
    if (Status s = MakeOwned(newWidth, newHeight, format_, turned); s != Ok) return s;
    const std::uint32_t bits = GetPixelFormatSize(format_);
    for (std::int32_t y = 0; y < newHeight; ++y) {
        std::uint8_t* target = turned->Row(y);
        for (std::int32_t x = 0; x < newWidth; ++x) {
            // Undo the mirror, then the turn, to find the source pixel.
            const std::int32_t tx = mirror ? newWidth - 1 - x : x;
            std::int32_t sx = tx;
            std::int32_t sy = y;
            switch (quarterTurns) {
            case 1: sx = y; sy = height_ - 1 - tx; break;
            case 2: sx = width_ - 1 - tx; sy = height_ - 1 - y; break;
            case 3: sx = width_ - 1 - y; sy = tx; break;
            default: break;
            }
            CopyPixelBits(Row(sy), sx, target, x, 1, bits);
        }
    }

    width_ = newWidth;
    height_ = newHeight;
    scan0_ = turned->scan0_;
    stride_ = turned->stride_;
    owned_ = std::move(turned->owned_);
    // The dots per inch turn with the pixels.
    if (sideways) std::swap(dpiX_, dpiY_);
    return Ok;
}

}  // namespace gdiplus
