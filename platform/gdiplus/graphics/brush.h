#pragma once
// Brushes: what fills shapes and text. A solid brush is one colour; a texture
// brush repeats a copy of an image from the world origin on.
#include <memory>

#include "platform/gdiplus/graphics/cairo_ptr.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/image.h"

namespace gdiplus {

class Brush {
public:
    virtual ~Brush() = default;
    // A cairo source whose pattern space is world coordinates.
    virtual PatternPtr Pattern() const = 0;
};

class SolidBrush final : public Brush {
public:
    explicit SolidBrush(ARGB color) : color_(color) {}
    ARGB Color() const { return color_; }
    PatternPtr Pattern() const override;

private:
    ARGB color_;
};

class TextureBrush final : public Brush {
public:
    // A copy of the whole image, so the brush does not depend on the image
    // afterwards. InvalidParameter for a wrap mode outside the enumeration;
    // the image's status when its pixels cannot be read.
    static Status Create(const Image& image, WrapMode wrapMode, std::unique_ptr<TextureBrush>& brush);
    PatternPtr Pattern() const override;

private:
    TextureBrush(SurfacePtr tile, WrapMode wrapMode) : tile_(std::move(tile)), wrapMode_(wrapMode) {}

    // The image, mirrored beside and below itself for the flipping modes, so
    // that plain repetition of the tile gives the flips.
    SurfacePtr tile_;
    WrapMode wrapMode_;
};

// A linear gradient from one colour to another across a rectangle: along its
// width (horizontal), its height (vertical) or a diagonal, repeated beyond it
// by the wrap mode (tile modes repeat, the flipping modes mirror, clamp
// extends the end colours).
class LinearGradientBrush final : public Brush {
public:
    // InvalidParameter for an empty rectangle or a mode or wrap mode outside
    // its enumeration.
    static Status Create(const RectF& rect, ARGB startColor, ARGB endColor, LinearGradientMode mode,
                         WrapMode wrapMode, std::unique_ptr<LinearGradientBrush>& brush);
    PatternPtr Pattern() const override;

private:
    LinearGradientBrush(PointF from, PointF to, ARGB startColor, ARGB endColor, WrapMode wrapMode)
        : from_(from), to_(to), startColor_(startColor), endColor_(endColor), wrapMode_(wrapMode) {}

    PointF from_, to_;
    ARGB startColor_, endColor_;
    WrapMode wrapMode_;
};

// The cairo colour of an ARGB value.
void SetSourceArgb(cairo_t* cr, ARGB color);

}  // namespace gdiplus
