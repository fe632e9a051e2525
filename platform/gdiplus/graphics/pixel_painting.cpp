#include "platform/gdiplus/graphics/pixel_painting.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdiplus/graphics/cairo_ptr.h"
#include "platform/gdiplus/pixel_convert.h"

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

namespace {

// A device extent as whole pixels, far beyond any bitmap clamped: the clip to
// the bitmap decides.
std::optional<Rect> WholePixels(double left, double top, double right, double bottom) {
    constexpr double kLimit = 1 << 30;
    left = std::clamp(std::floor(left), -kLimit, kLimit);
    top = std::clamp(std::floor(top), -kLimit, kLimit);
    right = std::clamp(std::ceil(right), -kLimit, kLimit);
    bottom = std::clamp(std::ceil(bottom), -kLimit, kLimit);
    if (!(right > left) || !(bottom > top)) return std::nullopt;
    return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

}  // namespace

std::optional<Rect> DevicePixelsCovering(const cairo_matrix_t& matrix,
                                         std::initializer_list<std::pair<double, double>> corners) {
    double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
    for (auto [x, y] : corners) {
        cairo_matrix_transform_point(&matrix, &x, &y);
        if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
        // cairo holds device coordinates in 24.8 fixed point.
        x = std::nearbyint(x * 256) / 256;
        y = std::nearbyint(y * 256) / 256;
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    return WholePixels(left, top, right, bottom);
}

std::optional<Rect> InkArea(const CairoDrawing& draw) {
    SurfacePtr recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    CairoPtr cr(cairo_create(recording.get()));
    draw(cr.get());
    cr.reset();
    double x = 0, y = 0, width = 0, height = 0;
    cairo_recording_surface_ink_extents(recording.get(), &x, &y, &width, &height);
    if (!(width > 0) || !(height > 0)) return std::nullopt;
    return WholePixels(x, y, x + width, y + height);
}

namespace {

// Four pixels at a time: the passes below run over every pixel of a frame.
using FourPixels = std::uint32_t __attribute__((vector_size(16)));

void MakeOpaque(std::uint32_t* pixels, std::int32_t count) {
    std::int32_t x = 0;
    for (; x + 4 <= count; x += 4) {
        FourPixels four;
        std::memcpy(&four, pixels + x, sizeof four);
        four |= 0xFF000000u;
        std::memcpy(pixels + x, &four, sizeof four);
    }
    for (; x < count; ++x) pixels[x] |= 0xFF000000u;
}

}  // namespace

bool AllOpaque(const std::uint32_t* pixels, std::int32_t count) {
    std::int32_t x = 0;
    FourPixels alpha{0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    for (; x + 4 <= count; x += 4) {
        FourPixels four;
        std::memcpy(&four, pixels + x, sizeof four);
        alpha &= four;
    }
    std::uint32_t all = alpha[0] & alpha[1] & alpha[2] & alpha[3];
    for (; x < count; ++x) all &= pixels[x];
    return (all & 0xFF000000u) == 0xFF000000u;
}

namespace {

// A 32-bit RGB bitmap (a device context's: a window's back buffer) is drawn
// on where its rows lie: its pixels read as opaque premultiplied ARGB once
// their fourth byte is 0xFF, so setting that byte is the whole conversion in;
// the way back only touches pixels the drawing left see-through, which is
// rare on an opaque target. The same pixels come out as through a copy, and
// a frame costs no page-sized buffer and no conversion of every pixel.
Status PaintOpaqueRowsInPlace(Bitmap& bitmap, const Rect& area, const CairoDrawing& draw, bool& painted) {
    painted = false;
    BitmapData data;
    if (Status s = bitmap.LockBits(area, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppRGB, data); s != Ok)
        return s;
    if (data.Stride <= 0 || data.Stride % 4 != 0) {
        // Bottom-up rows: cairo cannot address them; the copying lock can.
        return bitmap.UnlockBits(data);
    }
    painted = true;
    auto* first = static_cast<std::uint8_t*>(data.Scan0);
    const auto rowOf = [&](std::int32_t y) { return first + static_cast<std::ptrdiff_t>(y) * data.Stride; };
    for (std::int32_t y = 0; y < area.Height; ++y) MakeOpaque(reinterpret_cast<std::uint32_t*>(rowOf(y)), area.Width);
    Status status = Ok;
    {
        SurfacePtr surface(cairo_image_surface_create_for_data(first, CAIRO_FORMAT_ARGB32, area.Width, area.Height,
                                                               data.Stride));
        if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
            status = OutOfMemory;
        } else {
            cairo_surface_set_device_offset(surface.get(), -area.X, -area.Y);
            CairoPtr cr(cairo_create(surface.get()));
            if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
                status = OutOfMemory;
            } else {
                draw(cr.get());
            }
            cr.reset();
            cairo_surface_finish(surface.get());
        }
    }
    if (status == Ok) {
        const ColorPalette none;
        PixelConverter toRgb(PixelFormat32bppPARGB, none, PixelFormat32bppRGB, none);
        for (std::int32_t y = 0; y < area.Height; ++y) {
            if (!AllOpaque(reinterpret_cast<const std::uint32_t*>(rowOf(y)), area.Width))
                toRgb.Convert(rowOf(y), 0, rowOf(y), 0, area.Width);
        }
    }
    const Status unlocked = bitmap.UnlockBits(data);
    return status != Ok ? status : unlocked;
}

}  // namespace

Status PaintArea(Bitmap& bitmap, const Rect& area, const CairoDrawing& draw) {
    const Rect whole{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
    const std::optional<Rect> clipped = Intersect(area, whole);
    if (!clipped) return Ok;
    if (bitmap.GetPixelFormat() == PixelFormat32bppRGB) {
        bool painted = false;
        const Status status = PaintOpaqueRowsInPlace(bitmap, *clipped, draw, painted);
        if (painted || status != Ok) return status;
    }
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
