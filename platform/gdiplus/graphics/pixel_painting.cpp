#include "platform/gdiplus/graphics/pixel_painting.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "platform/gdiplus/graphics/cairo_ptr.h"

namespace gdiplus {
namespace {

// 32bppPARGB and CAIRO_FORMAT_ARGB32 are the same bytes only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

std::optional<Rect> Intersect(const Rect& a, const Rect& b) {
    const std::int64_t left = std::max(a.X, b.X);
    const std::int64_t top = std::max(a.Y, b.Y);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{a.X} + a.Width, std::int64_t{b.X} + b.Width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{a.Y} + a.Height, std::int64_t{b.Y} + b.Height);
    if (right <= left || bottom <= top) return std::nullopt;
    return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

// The pixels of one lock as premultiplied ARGB rows cairo can address
// (positive stride); a bitmap whose own rows run bottom-up goes through a
// buffer of ours.
class PremultipliedLock {
public:
    PremultipliedLock(Bitmap& bitmap, const Rect& area) : bitmap_(bitmap) {
        status_ = bitmap_.LockBits(area, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppPARGB, data_);
        if (status_ == Ok && data_.Stride < 0) {
            bitmap_.UnlockBits(data_);
            status_ = AnswerOutOfMemory([&] {
                buffer_.assign(static_cast<std::size_t>(area.Width) * area.Height, 0);
                return Ok;
            });
            if (status_ != Ok) return;
            data_ = BitmapData{};
            data_.Stride = 4 * area.Width;
            data_.Scan0 = buffer_.data();
            status_ = bitmap_.LockBits(area, ImageLockModeRead | ImageLockModeWrite | ImageLockModeUserInputBuf,
                                       PixelFormat32bppPARGB, data_);
        }
        locked_ = status_ == Ok;
    }
    ~PremultipliedLock() { Unlock(); }

    Status status() const { return status_; }
    const BitmapData& data() const { return data_; }
    Status Unlock() {
        if (!locked_) return status_;
        locked_ = false;
        return bitmap_.UnlockBits(data_);
    }

private:
    Bitmap& bitmap_;
    BitmapData data_;
    std::vector<std::uint32_t> buffer_;
    Status status_ = GenericError;
    bool locked_ = false;
};

}  // namespace

std::optional<Rect> InkArea(const CairoDrawing& draw) {
    SurfacePtr recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    CairoPtr cr(cairo_create(recording.get()));
    draw(cr.get());
    cr.reset();
    double x = 0, y = 0, width = 0, height = 0;
    cairo_recording_surface_ink_extents(recording.get(), &x, &y, &width, &height);
    if (!(width > 0) || !(height > 0)) return std::nullopt;
    // Far beyond any bitmap: the clip to the bitmap decides.
    constexpr double kLimit = 1 << 30;
    const double left = std::clamp(std::floor(x), -kLimit, kLimit);
    const double top = std::clamp(std::floor(y), -kLimit, kLimit);
    const double right = std::clamp(std::ceil(x + width), -kLimit, kLimit);
    const double bottom = std::clamp(std::ceil(y + height), -kLimit, kLimit);
    if (right <= left || bottom <= top) return std::nullopt;
    return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

Status PaintArea(Bitmap& bitmap, const Rect& area, const CairoDrawing& draw) {
    const Rect whole{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
    const std::optional<Rect> clipped = Intersect(area, whole);
    if (!clipped) return Ok;
    PremultipliedLock lock(bitmap, *clipped);
    if (lock.status() != Ok) return lock.status();
    SurfacePtr surface(cairo_image_surface_create_for_data(static_cast<unsigned char*>(lock.data().Scan0),
                                                           CAIRO_FORMAT_ARGB32, clipped->Width, clipped->Height,
                                                           lock.data().Stride));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return OutOfMemory;
    cairo_surface_set_device_offset(surface.get(), -clipped->X, -clipped->Y);
    {
        CairoPtr cr(cairo_create(surface.get()));
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return OutOfMemory;
        draw(cr.get());
    }
    cairo_surface_finish(surface.get());
    return lock.Unlock();
}

}  // namespace gdiplus
