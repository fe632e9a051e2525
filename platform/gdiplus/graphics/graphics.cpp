#include "platform/gdiplus/graphics/graphics.h"

#include <cmath>

#include "platform/gdiplus/graphics/units.h"
#include "platform/gdiplus/startup.h"

namespace gdiplus {
namespace {

// In these modes GDI+ puts pixel centres on whole coordinates; cairo puts
// them half a pixel further on.
bool CentresOnWholeCoordinates(PixelOffsetMode mode) {
    return mode != PixelOffsetModeHalf && mode != PixelOffsetModeHighQuality;
}

// cairo holds device coordinates in 24.8 fixed point.
constexpr double kDeviceLimit = 1 << 22;

bool Smooths(SmoothingMode mode) {
    return mode == SmoothingModeHighQuality || mode == SmoothingModeAntiAlias || mode == SmoothingModeAntiAlias8x8;
}

}  // namespace

Status Graphics::FromImage(ImageResolver resolve, std::unique_ptr<Graphics>& graphics) {
    if (!IsStarted()) return GdiplusNotInitialized;
    Image* image = resolve ? resolve() : nullptr;
    if (image == nullptr) return InvalidParameter;
    if (dynamic_cast<Bitmap*>(image) == nullptr) return NotImplemented;
    graphics.reset(new Graphics(ImageTarget(std::move(resolve))));
    return Ok;
}

Status Graphics::FromHdc(win::HDC dc, std::unique_ptr<Graphics>& graphics) {
    if (!IsStarted()) return GdiplusNotInitialized;
    if (dc == win::HDC{} || win::handleKindOf(win::handleValue(dc)) != win::HandleKind::DeviceContext) {
        return InvalidParameter;
    }
    auto target = DeviceContextTarget(dc);
    if (target->Acquire() == nullptr) return Win32Error;
    graphics.reset(new Graphics(std::move(target)));
    return Ok;
}

Status Graphics::FromHwnd(std::uint32_t window, std::unique_ptr<Graphics>& graphics) {
    if (!IsStarted()) return GdiplusNotInitialized;
    const win::HDC dc = win::GetDC(window);
    if (dc == win::HDC{}) return OutOfMemory;
    auto target = WindowTarget(window, dc);
    if (target->Acquire() == nullptr) return Win32Error;
    graphics.reset(new Graphics(std::move(target)));
    return Ok;
}

Graphics::~Graphics() { FreeDCResources(); }

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
    if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8) return InvalidParameter;
    smoothing_ = mode;
    return Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode) {
    if (mode < InterpolationModeDefault || mode > InterpolationModeHighQualityBicubic) return InvalidParameter;
    interpolation_ = mode;
    return Ok;
}

Status Graphics::SetCompositingQuality(CompositingQuality quality) {
    if (quality < CompositingQualityDefault || quality > CompositingQualityAssumeLinear) return InvalidParameter;
    compositingQuality_ = quality;
    return Ok;
}

Status Graphics::SetCompositingMode(CompositingMode mode) {
    if (mode != CompositingModeSourceOver && mode != CompositingModeSourceCopy) return InvalidParameter;
    compositingMode_ = mode;
    return Ok;
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode) {
    if (mode < PixelOffsetModeDefault || mode > PixelOffsetModeHalf) return InvalidParameter;
    pixelOffset_ = mode;
    return Ok;
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint) {
    if (hint < TextRenderingHintSystemDefault || hint > TextRenderingHintClearTypeGridFit) return InvalidParameter;
    textHint_ = hint;
    return Ok;
}

Status Graphics::SetPageUnit(Unit unit) {
    if (unit == UnitWorld || !PixelsPerUnit(unit, 96.0)) return InvalidParameter;
    pageUnit_ = unit;
    return Ok;
}

Status Graphics::SetPageScale(float scale) {
    if (!(scale > 0.0f) || !std::isfinite(scale)) return InvalidParameter;
    pageScale_ = scale;
    return Ok;
}

Status Graphics::RotateTransform(float angle, MatrixOrder order) {
    if (order != MatrixOrderPrepend && order != MatrixOrderAppend) return InvalidParameter;
    if (!std::isfinite(angle)) return InvalidParameter;
    cairo_matrix_t rotation;
    // y runs down, so a positive angle turns clockwise on the screen.
    cairo_matrix_init_rotate(&rotation, angle * M_PI / 180.0);
    cairo_matrix_t result;
    if (order == MatrixOrderPrepend) {
        cairo_matrix_multiply(&result, &rotation, &world_);
    } else {
        cairo_matrix_multiply(&result, &world_, &rotation);
    }
    world_ = result;
    return Ok;
}

Status Graphics::ResetTransform() {
    cairo_matrix_init_identity(&world_);
    return Ok;
}

cairo_matrix_t Graphics::PageMatrix(const Bitmap& bitmap) const {
    const double perUnitX = PixelsPerUnit(pageUnit_, bitmap.GetHorizontalResolution()).value_or(1.0);
    const double perUnitY = PixelsPerUnit(pageUnit_, bitmap.GetVerticalResolution()).value_or(1.0);
    cairo_matrix_t page;
    cairo_matrix_init_scale(&page, perUnitX * pageScale_, perUnitY * pageScale_);
    return page;
}

cairo_matrix_t Graphics::DeviceMatrix(const Bitmap& bitmap, bool withPixelOffset) const {
    const cairo_matrix_t page = PageMatrix(bitmap);
    cairo_matrix_t device;
    cairo_matrix_multiply(&device, &world_, &page);
    if (withPixelOffset && CentresOnWholeCoordinates(pixelOffset_)) {
        device.x0 += 0.5;
        device.y0 += 0.5;
    }
    return device;
}

Status Graphics::TransformPoints(CoordinateSpace destination, CoordinateSpace source, std::span<PointF> points) {
    const auto valid = [](CoordinateSpace space) {
        return space >= CoordinateSpaceWorld && space <= CoordinateSpaceDevice;
    };
    if (!valid(destination) || !valid(source) || points.empty()) return InvalidParameter;
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;
    // Each space's matrix to device coordinates.
    const cairo_matrix_t page = PageMatrix(*bitmap);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    const auto toDevice = [&](CoordinateSpace space) {
        if (space == CoordinateSpaceDevice) return identity;
        if (space == CoordinateSpacePage) return page;
        return DeviceMatrix(*bitmap, false);
    };
    cairo_matrix_t fromDevice = toDevice(destination);
    if (cairo_matrix_invert(&fromDevice) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
    const cairo_matrix_t sourceToDevice = toDevice(source);
    cairo_matrix_t conversion;
    cairo_matrix_multiply(&conversion, &sourceToDevice, &fromDevice);
    for (PointF& point : points) {
        double x = point.X;
        double y = point.Y;
        cairo_matrix_transform_point(&conversion, &x, &y);
        point = PointF{static_cast<float>(x), static_cast<float>(y)};
    }
    return Ok;
}

Status Graphics::Acquire(Bitmap*& bitmap) {
    if (HasDCOut()) return ObjectBusy;
    bitmap = target_->Acquire();
    return bitmap != nullptr ? Ok : InvalidParameter;
}

Status Graphics::Paint(Bitmap& bitmap, const CairoDrawing& draw, bool whole) {
    std::optional<Rect> area;
    if (whole) {
        area = Rect{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
    } else {
        area = InkArea(draw);
    }
    if (!area) return Ok;
    return PaintArea(bitmap, *area, draw);
}

bool Graphics::InDeviceRange(const Bitmap& bitmap, std::initializer_list<PointF> points) const {
    const cairo_matrix_t device = DeviceMatrix(bitmap, true);
    for (const PointF& point : points) {
        double x = point.X;
        double y = point.Y;
        cairo_matrix_transform_point(&device, &x, &y);
        if (!(std::abs(x) <= kDeviceLimit) || !(std::abs(y) <= kDeviceLimit)) return false;
    }
    return true;
}

bool Graphics::InDeviceRange(const Bitmap& bitmap, const RectF& rect) const {
    const float right = rect.X + rect.Width;
    const float bottom = rect.Y + rect.Height;
    return InDeviceRange(bitmap, {{rect.X, rect.Y}, {right, rect.Y}, {rect.X, bottom}, {right, bottom}});
}

void Graphics::PrepareGeometry(cairo_t* cr, const Bitmap& bitmap, cairo_pattern_t* source) const {
    cairo_set_antialias(cr, Smooths(smoothing_) ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr, compositingMode_ == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
    // cairo locks a source to the user space in force when it is set: the
    // source follows world coordinates, the geometry gets the pixel offset.
    const cairo_matrix_t world = DeviceMatrix(bitmap, false);
    cairo_set_matrix(cr, &world);
    cairo_set_source(cr, source);
    const cairo_matrix_t offset = DeviceMatrix(bitmap, true);
    cairo_set_matrix(cr, &offset);
}

}  // namespace gdiplus
