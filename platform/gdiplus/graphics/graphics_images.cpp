// Drawing images: a source rectangle of an image scaled into a destination
// rectangle through the interpolation mode's cairo filter.
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/graphics/graphics.h"
#include "platform/gdiplus/graphics/image_surface.h"
#include "platform/gdiplus/graphics/nearest_drawing.h"
#include "platform/gdiplus/graphics/units.h"

namespace gdiplus {
namespace {

cairo_filter_t FilterOf(InterpolationMode mode) {
    switch (mode) {
    case InterpolationModeNearestNeighbor:
        return CAIRO_FILTER_NEAREST;
    case InterpolationModeHighQualityBilinear:
        // Averages the pixels a destination pixel covers before interpolating.
        return CAIRO_FILTER_GOOD;
    case InterpolationModeHighQuality:
    case InterpolationModeBicubic:
    case InterpolationModeHighQualityBicubic:
        return CAIRO_FILTER_BEST;
    default:
        return CAIRO_FILTER_BILINEAR;
    }
}

// Source and destination extents along one axis, the source turned to run
// forwards (a backwards source flips the destination instead).
struct Span {
    double source = 0;
    double sourceSize = 0;
    double destination = 0;
    double destinationSize = 0;

    Span(double s, double ss, double d, double ds) : source(s), sourceSize(ss), destination(d), destinationSize(ds) {
        if (sourceSize < 0) {
            source += sourceSize;
            sourceSize = -sourceSize;
            destination += destinationSize;
            destinationSize = -destinationSize;
        }
    }
    double Scale() const { return destinationSize / sourceSize; }
    // The destination coordinate of a source coordinate.
    double DestinationOf(double s) const { return destination + (s - source) * Scale(); }
};

// The rows of a premultiplied 32-bit bitmap as a cairo surface over them,
// read-locked until the object goes.
class HeldRows {
public:
    HeldRows() = default;
    HeldRows(const HeldRows&) = delete;
    HeldRows& operator=(const HeldRows&) = delete;
    ~HeldRows() {
        if (bitmap_) bitmap_->UnlockBits(data_);
    }

    // A surface over `area` of `image`, or null when the image must be copied:
    // another kind or format, colour adjustments, the target itself, a lock,
    // straight ARGB with a pixel that is not opaque (an opaque pixel is the
    // same bytes premultiplied, so a scanned page is drawn where it lies).
    SurfacePtr Take(const Image& image, const Bitmap& target, const Rect& area, const ImageAttributes* attributes) {
        if (attributes != nullptr && attributes->Adjusts(ColorAdjustTypeBitmap)) return nullptr;
        const PixelFormat format = image.GetPixelFormat();
        if (format != PixelFormat32bppPARGB && format != PixelFormat32bppARGB) return nullptr;
        auto* bitmap = const_cast<Bitmap*>(dynamic_cast<const Bitmap*>(&image));
        if (bitmap == nullptr || bitmap == &target) return nullptr;
        // A read lock in the bitmap's own format hands out its rows, uncopied.
        if (bitmap->LockBits(area, ImageLockModeRead, format, data_) != Ok) return nullptr;
        bitmap_ = bitmap;
        // Rows the copy must read instead are let go, so that the copy can lock them.
        if (data_.Stride <= 0 || data_.Stride % 4 != 0) return LetGo();
        if (format == PixelFormat32bppARGB) {
            for (std::int32_t y = 0; y < area.Height; ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(data_.Scan0) +
                                                                         static_cast<std::ptrdiff_t>(y) * data_.Stride);
                if (!AllOpaque(row, area.Width)) return LetGo();
            }
        }
        SurfacePtr surface(cairo_image_surface_create_for_data(static_cast<unsigned char*>(data_.Scan0),
                                                               CAIRO_FORMAT_ARGB32, area.Width, area.Height,
                                                               data_.Stride));
        if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return LetGo();
        return surface;
    }

private:
    SurfacePtr LetGo() {
        bitmap_->UnlockBits(data_);
        bitmap_ = nullptr;
        return nullptr;
    }

    Bitmap* bitmap_ = nullptr;
    BitmapData data_;
};

// A device coordinate at cairo's 1/256 pixel precision, when it is a whole pixel.
std::optional<std::int32_t> WholeDevicePixel(double coordinate) {
    const double snapped = std::nearbyint(coordinate * 256) / 256;
    if (snapped != std::floor(snapped) || std::abs(snapped) > (1 << 30)) return std::nullopt;
    return static_cast<std::int32_t>(snapped);
}

// Nearest-pixel drawings that only scale and move, with edges on whole
// pixels, skip cairo (see nearest_drawing.h): the part [left, right) x
// [top, bottom) of the source through the spans. Nothing when cairo must draw.
std::optional<Status> DrawNearestWithoutCairo(Bitmap& target, const cairo_matrix_t& device, const Image& image,
                                              const Rect& area, const Span& x, const Span& y, double left, double top,
                                              double right, double bottom) {
    auto* source = const_cast<Bitmap*>(dynamic_cast<const Bitmap*>(&image));
    if (source == nullptr || device.xy != 0 || device.yx != 0 || !(device.xx > 0) || !(device.yy > 0) ||
        !(x.Scale() > 0) || !(y.Scale() > 0))
        return std::nullopt;
    const auto x0 = WholeDevicePixel(device.xx * x.DestinationOf(left) + device.x0);
    const auto y0 = WholeDevicePixel(device.yy * y.DestinationOf(top) + device.y0);
    const auto x1 = WholeDevicePixel(device.xx * x.DestinationOf(right) + device.x0);
    const auto y1 = WholeDevicePixel(device.yy * y.DestinationOf(bottom) + device.y0);
    if (!x0 || !y0 || !x1 || !y1) return std::nullopt;
    const std::int32_t fillLeft = std::max(*x0, 0), fillTop = std::max(*y0, 0);
    const std::int32_t fillRight = std::min(*x1, static_cast<std::int32_t>(target.GetWidth()));
    const std::int32_t fillBottom = std::min(*y1, static_cast<std::int32_t>(target.GetHeight()));
    if (fillRight <= fillLeft || fillBottom <= fillTop) return Ok;
    // Device pixel -> world -> the area's pixels, as cairo's pattern matrix goes.
    const NearestAxis alongX{1.0 / (device.xx * x.Scale()),
                             (-device.x0 / device.xx - x.destination) / x.Scale() + x.source - area.X};
    const NearestAxis alongY{1.0 / (device.yy * y.Scale()),
                             (-device.y0 / device.yy - y.destination) / y.Scale() + y.source - area.Y};
    return DrawNearestScaled(target, Rect{fillLeft, fillTop, fillRight - fillLeft, fillBottom - fillTop}, *source,
                             area, alongX, alongY);
}

}  // namespace

Status Graphics::DrawImage(const Image& image, const RectF& destination) {
    const RectF whole{0, 0, static_cast<float>(image.GetWidth()), static_cast<float>(image.GetHeight())};
    return DrawImage(image, destination, whole, UnitPixel, nullptr);
}

Status Graphics::DrawImage(const Image& image, const RectF& destination, const RectF& source, Unit sourceUnit,
                           const ImageAttributes* attributes) {
    const bool pixelUnit = sourceUnit == UnitWorld || sourceUnit == UnitDisplay;
    const auto perUnitX = pixelUnit ? 1.0 : PixelsPerUnit(sourceUnit, image.GetHorizontalResolution());
    const auto perUnitY = pixelUnit ? 1.0 : PixelsPerUnit(sourceUnit, image.GetVerticalResolution());
    if (!perUnitX || !perUnitY || !IsFinite(source) || !IsFinite(destination) || source.Width == 0 ||
        source.Height == 0) {
        return InvalidParameter;
    }
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    if (destination.Width == 0 || destination.Height == 0) return Ok;
    if (!InDeviceRange(*bitmap, destination)) return ValueOverflow;

    const Span x(source.X * *perUnitX, source.Width * *perUnitX, destination.X, destination.Width);
    const Span y(source.Y * *perUnitY, source.Height * *perUnitY, destination.Y, destination.Height);
    // Only the part of the source inside the image is drawn.
    const double left = std::max(x.source, 0.0);
    const double top = std::max(y.source, 0.0);
    const double right = std::min(x.source + x.sourceSize, static_cast<double>(image.GetWidth()));
    const double bottom = std::min(y.source + y.sourceSize, static_cast<double>(image.GetHeight()));
    if (right <= left || bottom <= top) return Ok;
    const Rect area{static_cast<std::int32_t>(std::floor(left)), static_cast<std::int32_t>(std::floor(top)),
                    static_cast<std::int32_t>(std::ceil(right) - std::floor(left)),
                    static_cast<std::int32_t>(std::ceil(bottom) - std::floor(top))};

    // Images keep pixel areas on whole coordinates whatever the pixel offset mode.
    const cairo_matrix_t device = DeviceMatrix(*bitmap, false);
    if (interpolation_ == InterpolationModeNearestNeighbor && compositingMode_ == CompositingModeSourceOver &&
        (attributes == nullptr || !attributes->Adjusts(ColorAdjustTypeBitmap))) {
        if (std::optional<Status> drawn =
                DrawNearestWithoutCairo(*bitmap, device, image, area, x, y, left, top, right, bottom))
            return *drawn;
    }

    // A premultiplied bitmap is drawn from where its rows lie, held by a
    // read lock for the drawing: a page is not copied for every view of it.
    // Any other image is copied before the target is locked, so an image can
    // be drawn onto itself.
    HeldRows held;
    SurfacePtr pixels = held.Take(image, *bitmap, area, attributes);
    if (!pixels) {
        if (Status s = ImageAreaSurface(image, area, attributes, pixels); s != Ok) return s;
    }
    PatternPtr pattern(cairo_pattern_create_for_surface(pixels.get()));
    // Edge pixels repeat outwards, so that interpolation does not fade the
    // image's border into transparency.
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern.get(), FilterOf(interpolation_));
    // World coordinates to the copied area's pixels.
    cairo_matrix_t toPixels;
    cairo_matrix_init(&toPixels, 1.0 / x.Scale(), 0, 0, 1.0 / y.Scale(),
                      x.source - area.X - x.destination / x.Scale(), y.source - area.Y - y.destination / y.Scale());
    cairo_pattern_set_matrix(pattern.get(), &toPixels);

    const double fillLeft = x.DestinationOf(left);
    const double fillTop = y.DestinationOf(top);
    const double fillRight = x.DestinationOf(right);
    const double fillBottom = y.DestinationOf(bottom);
    // The pixels the fill can touch follow from its corners: no trial run,
    // which would make cairo keep (and then copy) the source rows.
    const std::optional<Rect> touched =
        DevicePixelsCovering(device, {{fillLeft, fillTop}, {fillRight, fillTop}, {fillLeft, fillBottom},
                                      {fillRight, fillBottom}});
    if (!touched) return Ok;
    const Status painted = PaintArea(*bitmap, *touched, [&](cairo_t* cr) {
        PrepareGeometry(cr, *bitmap, pattern.get());
        cairo_set_matrix(cr, &device);
        cairo_rectangle(cr, fillLeft, fillTop, fillRight - fillLeft, fillBottom - fillTop);
        cairo_fill(cr);
    });
    // cairo lets go of the rows before the lock ends.
    pattern.reset();
    pixels.reset();
    return painted;
}

}  // namespace gdiplus
