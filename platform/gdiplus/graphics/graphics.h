#pragma once
// A graphics: draws with cairo into an image or into the bitmap of a device
// context, with GDI+'s settings (smoothing, interpolation, compositing, pixel
// offset, text rendering), its page unit and scale and its world transform.
//
// Coordinates: world coordinates go through the world transform into page
// coordinates, which the page unit and scale turn into device pixels. With
// the pixel offset modes None, Default and HighSpeed a pixel's centre lies on
// whole coordinates (so a one-pixel line on x = 2 covers exactly pixel
// column 2); with Half and HighQuality a pixel spans [x, x + 1). Images are
// always drawn with pixel areas on whole coordinates, so that an image drawn
// at whole coordinates lands exactly on the pixel grid.
//
// Between GetDC and ReleaseDC every other operation answers ObjectBusy; a
// graphics that ends with a context out frees it without writing it back.
#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>

#include "platform/gdiplus/graphics/brush.h"
#include "platform/gdiplus/graphics/drawing_target.h"
#include "platform/gdiplus/graphics/font.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/image_attributes.h"
#include "platform/gdiplus/graphics/pen.h"
#include "platform/gdiplus/graphics/pixel_painting.h"
#include "platform/gdiplus/graphics/string_format.h"
#include "platform/gdiplus/image.h"

namespace gdiplus {

struct TextLayout;

class Graphics {
public:
    // On an image that stays where the resolver finds it; every operation
    // after the resolver stops finding it answers InvalidParameter.
    // NotImplemented for an image that is not a bitmap; InvalidParameter for
    // no image; GdiplusNotInitialized before start-up. Any pixel format can
    // be drawn on: the pixels are drawn as premultiplied ARGB and written
    // back in the image's format (an indexed image gets the nearest palette
    // entries).
    static Status FromImage(ImageResolver resolve, std::unique_ptr<Graphics>& graphics);
    // On the bitmap selected into a device context at each operation.
    // InvalidParameter for the null handle or a handle of another kind;
    // Win32Error for a context without a bitmap: a window's context (this
    // platform has no window surfaces) or one that no longer exists.
    static Status FromHdc(win::HDC dc, std::unique_ptr<Graphics>& graphics);
    // On a window, through a context of its own (given back when the graphics ends).
    static Status FromHwnd(std::uint32_t window, std::unique_ptr<Graphics>& graphics);

    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // Settings: InvalidParameter for a value outside the enumeration.
    Status SetSmoothingMode(SmoothingMode mode);
    Status SetInterpolationMode(InterpolationMode mode);
    Status SetCompositingQuality(CompositingQuality quality);
    Status SetCompositingMode(CompositingMode mode);
    Status SetPixelOffsetMode(PixelOffsetMode mode);
    Status SetTextRenderingHint(TextRenderingHint hint);
    // InvalidParameter for World and values outside the enumeration.
    Status SetPageUnit(Unit unit);
    // InvalidParameter for a scale that is not above 0.
    Status SetPageScale(float scale);
    SmoothingMode GetSmoothingMode() const { return smoothing_; }
    InterpolationMode GetInterpolationMode() const { return interpolation_; }
    CompositingQuality GetCompositingQuality() const { return compositingQuality_; }
    CompositingMode GetCompositingMode() const { return compositingMode_; }
    PixelOffsetMode GetPixelOffsetMode() const { return pixelOffset_; }
    TextRenderingHint GetTextRenderingHint() const { return textHint_; }
    Unit GetPageUnit() const { return pageUnit_; }
    float GetPageScale() const { return pageScale_; }

    // World transform. Rotation in degrees, clockwise on the screen; with
    // Prepend it applies before the transform in force, with Append after.
    Status RotateTransform(float angle, MatrixOrder order);
    Status ResetTransform();
    // Converts points between world, page and device coordinates.
    // InvalidParameter for a space outside the enumeration or a transform
    // that cannot be inverted.
    Status TransformPoints(CoordinateSpace destination, CoordinateSpace source, std::span<PointF> points);

    // Coordinates that are not finite numbers are InvalidParameter
    // throughout; geometry that lands more than 2^22 pixels from the device
    // origin is ValueOverflow (cairo's fixed-point coordinates end there).

    // Fills the whole target with the colour, replacing what was there.
    Status Clear(ARGB color);
    // InvalidParameter for no rectangles.
    Status FillRectangles(const Brush& brush, std::span<const RectF> rects);
    Status DrawRectangle(const Pen& pen, const RectF& rect);
    Status DrawLine(const Pen& pen, PointF from, PointF to);

    // The whole image scaled into the rectangle.
    Status DrawImage(const Image& image, const RectF& destination);
    // A source rectangle of the image (in `sourceUnit`, converted at the
    // image's resolution; World and Display count as pixels) scaled into the
    // destination rectangle, with the attributes' bitmap adjustments (may be
    // null). A negative width or height flips. The part of the source outside
    // the image draws nothing. InvalidParameter for a source without area or
    // a unit outside the enumeration; ObjectBusy when the image is locked.
    Status DrawImage(const Image& image, const RectF& destination, const RectF& source, Unit sourceUnit,
                     const ImageAttributes* attributes);

    // Text in a layout rectangle (see text_layout.h); format may be null
    // (the default format).
    Status DrawString(std::u16string_view text, const Font& font, const RectF& layout, const StringFormat* format,
                      const Brush& brush);
    // The box the text takes (it holds every pixel DrawString would draw),
    // the UTF-16 code units that fit and the lines shown.
    Status MeasureString(std::u16string_view text, const Font& font, const RectF& layout, const StringFormat* format,
                         RectF& box, std::int32_t* charactersFitted, std::int32_t* linesFilled);

    // A device context whose bitmap holds the target's pixels: for a graphics
    // on a device context that context; for one on an image a memory context
    // with a 32-bit top-down DIB section holding a copy of the image, which
    // ReleaseDC writes back. ObjectBusy while a context is out.
    Status GetDC(win::HDC& dc);
    // InvalidParameter for a context that is not the one out.
    Status ReleaseDC(win::HDC dc);
    bool HasDCOut() const { return dcOut_ != win::HDC{}; }

private:
    explicit Graphics(std::unique_ptr<DrawingTarget> target) : target_(std::move(target)) {}

    // world -> device, with or without the pixel offset.
    cairo_matrix_t DeviceMatrix(const Bitmap& bitmap, bool withPixelOffset) const;
    cairo_matrix_t PageMatrix(const Bitmap& bitmap) const;
    // The bitmap to draw into now: ObjectBusy while a context is out,
    // InvalidParameter when the target is gone.
    Status Acquire(Bitmap*& bitmap);
    // Runs the drawing over the pixels of the bitmap it touches (all of them with `whole`).
    Status Paint(Bitmap& bitmap, const CairoDrawing& draw, bool whole = false);
    // Sets up a context for geometry: antialiasing, operator, the source
    // locked to world coordinates, then the transform with the pixel offset.
    void PrepareGeometry(cairo_t* cr, const Bitmap& bitmap, cairo_pattern_t* source) const;
    // Whether the world points land within the device coordinates cairo can hold.
    bool InDeviceRange(const Bitmap& bitmap, std::initializer_list<PointF> points) const;
    bool InDeviceRange(const Bitmap& bitmap, const RectF& rect) const;
    // A line width of the pen in world units.
    double PenWidth(const Pen& pen, const Bitmap& bitmap) const;
    // Strokes the path through `points` (which are checked for range).
    Status StrokePath(const Pen& pen, std::initializer_list<PointF> points, const std::function<void(cairo_t*)>& path);
    // The font scaled for this graphics, and the text laid out with it.
    Status LayOut(std::u16string_view text, const Font& font, const RectF& layout, const StringFormat* format,
                  const Bitmap& bitmap, TextLayout& result, ScaledFontPtr& scaled) const;
    // Gives back the memory context and DIB section of an image graphics.
    void FreeDCResources();

    std::unique_ptr<DrawingTarget> target_;
    SmoothingMode smoothing_ = SmoothingModeNone;
    InterpolationMode interpolation_ = InterpolationModeBilinear;
    CompositingQuality compositingQuality_ = CompositingQualityDefault;
    CompositingMode compositingMode_ = CompositingModeSourceOver;
    PixelOffsetMode pixelOffset_ = PixelOffsetModeDefault;
    TextRenderingHint textHint_ = TextRenderingHintSystemDefault;
    Unit pageUnit_ = UnitDisplay;
    float pageScale_ = 1.0f;
    cairo_matrix_t world_{1, 0, 0, 1, 0, 0};
    // The context out through GetDC, and for an image graphics the DIB
    // section behind it.
    win::HDC dcOut_{};
    win::HBITMAP dcBitmap_{};
    win::HBITMAP dcPrevious_{};
};

}  // namespace gdiplus
