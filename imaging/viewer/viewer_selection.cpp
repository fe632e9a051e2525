// The selection rectangle: its outline in control pixels, the copy in image
// pixels that lets it follow zoom and scrolling, the conversions to image
// pixels and millimetres, and the centring of the view on it.
#include <cmath>
#include <limits>

#include "imaging/viewer/viewer_control.h"

namespace scanvelt {
namespace {

constexpr double kMillimetresPerInch = 25.4;

int32_t roundEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

bool fitsLong(double value) {
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

}  // namespace

void ViewerControl::ClearRect() {
    Outline_ = SelectionOutline{};
    MouseDownX_ = MouseDownY_ = 0;
    StartOutsideX_ = StartOutsideY_ = true;
    for (int32_t& v : SavedSelectionRect_) v = 0;
    SelectionDrawn_ = false;
}

void ViewerControl::ClearRectShown() {
    ClearRect();
    showSelectionChange();
}

bool ViewerControl::PlaceSelectionRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    int32_t right, bottom;
    if (__builtin_add_overflow(left, width, &right) || __builtin_add_overflow(top, height, &bottom)) return false;
    // The control-pixel positions must be Longs too: a huge rectangle at a
    // high zoom is refused rather than converted out of range.
    double aspect = PixelAspect_ != 0 ? PixelAspect_ : 1.0;
    for (double v : {ImageLeft_ + static_cast<double>(left) * s_.Zoom, ImageLeft_ + static_cast<double>(right) * s_.Zoom,
                     ImageTop_ + static_cast<double>(top) * s_.Zoom / aspect,
                     ImageTop_ + static_cast<double>(bottom) * s_.Zoom / aspect})
        if (!fitsLong(v)) return false;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    CoordImageToObject(left, top, x1, y1);
    CoordImageToObject(right, bottom, x2, y2);
    int64_t width64 = int64_t{x2} - x1, height64 = int64_t{y2} - y1;
    if (!fitsLong(static_cast<double>(width64)) || !fitsLong(static_cast<double>(height64))) return false;
    Outline_ = SelectionOutline{x1, y1, width64 > 0 ? static_cast<int32_t>(width64) : 1,
                                height64 > 0 ? static_cast<int32_t>(height64) : 1};
    return true;
}

void ViewerControl::SaveSelectionRect() {
    SelectionDrawn_ = NativeImageID_ != 0 && isRectDrawed();
    if (SelectionDrawn_)
        GetRectValues(SavedSelectionRect_[0], SavedSelectionRect_[1], SavedSelectionRect_[2], SavedSelectionRect_[3]);
}

void ViewerControl::GetRectValues(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const {
    // Either side above 1 counts here, unlike isRectDrawed.
    if (!(Outline_.width > 1 || Outline_.height > 1)) {
        left = top = width = height = 0;
        return;
    }
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t right, bottom;
    if (__builtin_add_overflow(Outline_.left, Outline_.width, &right) ||
        __builtin_add_overflow(Outline_.top, Outline_.height, &bottom)) {
        left = top = width = height = 0;
        return;
    }
    CoordObjectToImage(Outline_.left, Outline_.top, x1, y1);
    CoordObjectToImage(right, bottom, x2, y2);
    left = x1;
    top = y1;
    width = x2 - x1;
    height = y2 - y1;
    if (static_cast<int64_t>(top) + height > s_.ImageHeight) height = s_.ImageHeight - top;
    if (static_cast<int64_t>(left) + width > s_.ImageWidth) width = s_.ImageWidth - left;
}

void ViewerControl::GetRectValuesMM(float& left, float& top, float& width, float& height) const {
    int32_t l, t, w, h;
    GetRectValues(l, t, w, h);
    float hr = s_.HorizontalResolution, vr = s_.VerticalResolution;
    top = vr > 0 && t >= 1 ? static_cast<float>(t / vr * kMillimetresPerInch) : 0.0f;
    if (vr > 0) height = static_cast<float>(h / vr * kMillimetresPerInch);
    left = hr > 0 && l >= 1 ? static_cast<float>(l / hr * kMillimetresPerInch) : 0.0f;
    if (hr > 0) width = static_cast<float>(w / hr * kMillimetresPerInch);
}

void ViewerControl::GetRectValuesObject(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const {
    if (!(Outline_.width > 1 || Outline_.height > 1)) {
        left = top = width = height = 0;
        return;
    }
    left = Outline_.left;
    top = Outline_.top;
    width = Outline_.width;
    height = Outline_.height;
}

bool ViewerControl::SetRectValues(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!PlaceSelectionRect(left, top, width, height)) return false;
    SaveSelectionRect();
    showSelectionChange();
    return true;
}

bool ViewerControl::SetRectValuesMM(float left, float top, float width, float height) {
    double hr = s_.HorizontalResolution, vr = s_.VerticalResolution;
    double pixels[4] = {left * hr / kMillimetresPerInch, top * vr / kMillimetresPerInch,
                        width * hr / kMillimetresPerInch, height * vr / kMillimetresPerInch};
    for (double p : pixels)
        if (!fitsLong(std::nearbyint(p))) return false;
    return SetRectValues(roundEven(pixels[0]), roundEven(pixels[1]), roundEven(pixels[2]), roundEven(pixels[3]));
}

void ViewerControl::SetRectValuesObject(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width > 0 && height > 0) {
        Outline_ = SelectionOutline{left, top, width, height};
    }
    SaveSelectionRect();
    showSelectionChange();
}

void ViewerControl::GetDisplayedArea(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const {
    left = SourceLeft_;
    top = SourceTop_;
    width = SourceWidth_;
    height = SourceHeight_;
}

void ViewerControl::GetDisplayedAreaMM(float& left, float& top, float& width, float& height) const {
    float hr = s_.HorizontalResolution, vr = s_.VerticalResolution;
    if (hr > 0) {
        left = static_cast<float>(SourceLeft_ / hr * kMillimetresPerInch);
        width = static_cast<float>(SourceWidth_ / hr * kMillimetresPerInch);
    }
    if (vr > 0) {
        top = static_cast<float>(SourceTop_ / vr * kMillimetresPerInch);
        height = static_cast<float>(SourceHeight_ / vr * kMillimetresPerInch);
    }
}

void ViewerControl::CenterOnRect() {
    if (!isRectDrawed()) return;
    double clientW = innerWidth() - (vScroll_.visible ? vScroll_.width : 0);
    double clientH = innerHeight() - (hScroll_.visible ? hScroll_.height : 0);
    double marginX = (clientW - Outline_.width) / 2;
    double marginY = (clientH - Outline_.height) / 2;
    double aspect = PixelAspect_ != 0 ? PixelAspect_ : 1.0;
    double h = roundEven(SavedSelectionRect_[0] * s_.Zoom) - marginX;
    double v = roundEven(SavedSelectionRect_[1] * s_.Zoom / aspect) - marginY;
    if (!fitsLong(h) || !fitsLong(v)) return;
    SetHVScrollBarPosition(roundEven(h), roundEven(v));
}

bool ViewerControl::setRectBorderStyle(int32_t style) {
    s_.RectBorderStyle = style;
    if (!IsOutlineStyle(style)) return false;
    changed_("RectBorderStyle");
    showSelectionChange();
    return true;
}

bool ViewerControl::setRectDrawMode(int32_t mode) {
    s_.RectDrawMode = mode;
    if (!IsOutlineDrawMode(mode)) return false;
    changed_("RectDrawMode");
    showSelectionChange();
    return true;
}

bool ViewerControl::setRectBorderSize(int16_t size) {
    if (size < 1) return false;
    s_.RectBorderSize = size;
    changed_("RectBorderSize");
    showSelectionChange();
    return true;
}

void ViewerControl::setRectBorderColor(int32_t color) {
    s_.RectBorderColor = color;
    changed_("RectBorderColor");
    showSelectionChange();
}

void ViewerControl::drawSelectionOutline() {
    if (!buffer_.pixels()) return;
    OutlinePen pen;
    pen.color = static_cast<uint32_t>(s_.RectBorderColor);
    pen.size = s_.RectBorderSize;
    pen.style = IsOutlineStyle(s_.RectBorderStyle) ? s_.RectBorderStyle : 1;
    pen.drawMode = IsOutlineDrawMode(s_.RectDrawMode) ? s_.RectDrawMode : 13;
    int32_t b = border();
    int32_t clip[4] = {b, b, clientWidth(), clientHeight()};
    DrawSelectionOutline(buffer_.pixels(), buffer_.stride(), clip, b, b, Outline_, pen);
}

// The outline sits above the image: a change shows at once by drawing the
// image again under it.
void ViewerControl::showSelectionChange() {
    if (NativeImageID_ == 0 || s_.LockControl) return;
    pictureKept_ = true;
    RenderImage(0, false);
}

}  // namespace scanvelt
