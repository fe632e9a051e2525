#include "platform/gdiplus/graphics/brush.h"

#include "platform/gdiplus/graphics/image_surface.h"

namespace gdiplus {
namespace {

double Channel(std::uint8_t value) { return value / 255.0; }

// The tile for a flipping wrap mode: the image and its mirror images.
SurfacePtr MirroredTile(cairo_surface_t* image, bool flipX, bool flipY) {
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    SurfacePtr tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, flipX ? 2 * width : width,
                                               flipY ? 2 * height : height));
    if (cairo_surface_status(tile.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    CairoPtr cr(cairo_create(tile.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    for (int mirrorY = 0; mirrorY <= (flipY ? 1 : 0); ++mirrorY) {
        for (int mirrorX = 0; mirrorX <= (flipX ? 1 : 0); ++mirrorX) {
            cairo_save(cr.get());
            cairo_translate(cr.get(), mirrorX ? 2.0 * width : 0.0, mirrorY ? 2.0 * height : 0.0);
            cairo_scale(cr.get(), mirrorX ? -1.0 : 1.0, mirrorY ? -1.0 : 1.0);
            cairo_set_source_surface(cr.get(), image, 0, 0);
            cairo_rectangle(cr.get(), 0, 0, width, height);
            cairo_fill(cr.get());
            cairo_restore(cr.get());
        }
    }
    return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS ? std::move(tile) : nullptr;
}

}  // namespace

void SetSourceArgb(cairo_t* cr, ARGB color) {
    cairo_set_source_rgba(cr, Channel(RedOf(color)), Channel(GreenOf(color)), Channel(BlueOf(color)),
                          Channel(AlphaOf(color)));
}

PatternPtr SolidBrush::Pattern() const {
    return PatternPtr(cairo_pattern_create_rgba(Channel(RedOf(color_)), Channel(GreenOf(color_)),
                                                Channel(BlueOf(color_)), Channel(AlphaOf(color_))));
}

Status TextureBrush::Create(const Image& image, WrapMode wrapMode, std::unique_ptr<TextureBrush>& brush) {
    if (wrapMode < WrapModeTile || wrapMode > WrapModeClamp) return InvalidParameter;
    const Rect whole{0, 0, static_cast<std::int32_t>(image.GetWidth()), static_cast<std::int32_t>(image.GetHeight())};
    SurfacePtr pixels;
    if (Status s = ImageAreaSurface(image, whole, nullptr, pixels); s != Ok) return s;
    const bool flipX = wrapMode == WrapModeTileFlipX || wrapMode == WrapModeTileFlipXY;
    const bool flipY = wrapMode == WrapModeTileFlipY || wrapMode == WrapModeTileFlipXY;
    if (flipX || flipY) {
        pixels = MirroredTile(pixels.get(), flipX, flipY);
        if (!pixels) return OutOfMemory;
    }
    brush.reset(new TextureBrush(std::move(pixels), wrapMode));
    return Ok;
}

PatternPtr TextureBrush::Pattern() const {
    PatternPtr pattern(cairo_pattern_create_for_surface(tile_.get()));
    cairo_pattern_set_extend(pattern.get(), wrapMode_ == WrapModeClamp ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_REPEAT);
    return pattern;
}

Status LinearGradientBrush::Create(const RectF& rect, ARGB startColor, ARGB endColor, LinearGradientMode mode,
                                   WrapMode wrapMode, std::unique_ptr<LinearGradientBrush>& brush) {
    if (!(rect.Width > 0.0f) || !(rect.Height > 0.0f)) return InvalidParameter;
    if (wrapMode < WrapModeTile || wrapMode > WrapModeClamp) return InvalidParameter;
    const float right = rect.X + rect.Width, bottom = rect.Y + rect.Height;
    PointF from{rect.X, rect.Y}, to;
    switch (mode) {
        case LinearGradientModeHorizontal: to = {right, rect.Y}; break;
        case LinearGradientModeVertical: to = {rect.X, bottom}; break;
        case LinearGradientModeForwardDiagonal: to = {right, bottom}; break;
        case LinearGradientModeBackwardDiagonal:
            from = {right, rect.Y};
            to = {rect.X, bottom};
            break;
        default: return InvalidParameter;
    }
    brush.reset(new LinearGradientBrush(from, to, startColor, endColor, wrapMode));
    return Ok;
}

PatternPtr LinearGradientBrush::Pattern() const {
    PatternPtr pattern(cairo_pattern_create_linear(from_.X, from_.Y, to_.X, to_.Y));
    cairo_pattern_add_color_stop_rgba(pattern.get(), 0.0, Channel(RedOf(startColor_)), Channel(GreenOf(startColor_)),
                                      Channel(BlueOf(startColor_)), Channel(AlphaOf(startColor_)));
    cairo_pattern_add_color_stop_rgba(pattern.get(), 1.0, Channel(RedOf(endColor_)), Channel(GreenOf(endColor_)),
                                      Channel(BlueOf(endColor_)), Channel(AlphaOf(endColor_)));
    cairo_extend_t extend = CAIRO_EXTEND_REPEAT;
    if (wrapMode_ == WrapModeClamp) extend = CAIRO_EXTEND_PAD;
    else if (wrapMode_ != WrapModeTile) extend = CAIRO_EXTEND_REFLECT;
    cairo_pattern_set_extend(pattern.get(), extend);
    return pattern;
}

}  // namespace gdiplus
