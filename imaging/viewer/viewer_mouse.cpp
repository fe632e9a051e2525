// The mouse modes: drawing, moving and resizing the selection outline, the
// hand pan, and the auto zoom; the mouse events the host sees.
#include <cmath>
#include <cstdlib>

#include "imaging/viewer/hand_cursors.h"
#include "imaging/viewer/viewer_control.h"
#include "imaging/viewer/viewer_input_flags.h"
#include "platform/com/variant.h"

namespace scanvelt {
namespace {

constexpr int32_t kModeNothing = 0, kModeAreaSelection = 1, kModePan = 2, kModeAutoZoom = 3;
constexpr int32_t kHandleTolerance = 4;

bool near(int32_t distance) { return std::abs(distance) <= kHandleTolerance; }

struct HandleShape {
    int32_t handle;
    int32_t pointer;
};

}  // namespace

void ViewerControl::raiseMouse(ViewerEvent id, int32_t& button, int32_t shift, int32_t& x, int32_t& y) {
    // The host may change the button and position of a press or a move.
    int16_t b = static_cast<int16_t>(button), sh = static_cast<int16_t>(shift);
    float fx = static_cast<float>(x), fy = static_cast<float>(y);
    std::vector<com::VARIANT> args(4);
    for (auto& a : args) com::VariantInit(&a);
    args[0].vt = com::VT_I2 | com::VT_BYREF;
    args[0].piVal = &b;
    args[1].vt = com::VT_I2 | com::VT_BYREF;
    args[1].piVal = &sh;
    args[2].vt = com::VT_R4 | com::VT_BYREF;
    args[2].pfltVal = &fx;
    args[3].vt = com::VT_R4 | com::VT_BYREF;
    args[3].pfltVal = &fy;
    raise_(id, args);
    button = b;
    // A position the host set beyond what a pixel can hold is no position.
    if (std::isfinite(fx) && std::fabs(fx) < 1e9f) x = static_cast<int32_t>(std::nearbyint(fx));
    if (std::isfinite(fy) && std::fabs(fy) < 1e9f) y = static_cast<int32_t>(std::nearbyint(fy));
}

void ViewerControl::MapMouseToImage(int32_t x, int32_t y) {
    if (s_.Zoom == 0 || LastStatus_ != 0 || !imageShown()) {
        MouseImageX_ = MouseImageY_ = 0;
        return;
    }
    if (clientWidth() <= 0 || clientHeight() <= 0) {
        MouseImageX_ = MouseImageY_ = 0;
        return;
    }
    int32_t ix = 0, iy = 0;
    CoordObjectToImage(x, y, ix, iy);
    MouseImageX_ = std::clamp(ix, 0, std::max(s_.ImageWidth - 1, 0));
    MouseImageY_ = std::clamp(iy, 0, std::max(s_.ImageHeight - 1, 0));
}

bool ViewerControl::HitTestSelection(int32_t x, int32_t y) const {
    const SelectionOutline& o = Outline_;
    return isRectDrawed() && o.left - kHandleTolerance <= x && x <= o.left + o.width + kHandleTolerance &&
           o.top - kHandleTolerance <= y && y <= o.top + o.height + kHandleTolerance;
}

void ViewerControl::showHandleUnderPointer(int32_t x, int32_t y) {
    const int32_t l = static_cast<int32_t>(Outline_.left), t = static_cast<int32_t>(Outline_.top);
    const int32_t r = l + static_cast<int32_t>(Outline_.width), b = t + static_cast<int32_t>(Outline_.height);
    HandleShape shape{9, 15};
    if (near(l - x) && near(t - y)) shape = {1, 8};
    else if (near(r - x) && near(t - y)) shape = {2, 6};
    else if (near(l - x) && near(b - y)) shape = {3, 6};
    else if (near(r - x) && near(b - y)) shape = {4, 8};
    else if (near(l - x)) shape = {5, 9};
    else if (near(r - x)) shape = {6, 9};
    else if (near(b - y)) shape = {7, 7};
    else if (near(t - y)) shape = {8, 7};
    ActiveHandle_ = shape.handle;
    if (site_) site_->SetCursor(shape.pointer, nullptr);
}

void ViewerControl::editStep(int32_t x, int32_t y) {
    const int32_t l = static_cast<int32_t>(Outline_.left), t = static_cast<int32_t>(Outline_.top);
    const int32_t w = static_cast<int32_t>(Outline_.width), h = static_cast<int32_t>(Outline_.height);
    int32_t nl = l, nt = t, nw = w, nh = h;
    switch (ActiveHandle_) {
    case 1: nl = x, nt = y, nw = l + w - x, nh = t + h - y; break;
    case 2: nt = y, nw = x - l, nh = t + h - y; break;
    case 3: nl = x, nw = l + w - x, nh = y - t; break;
    case 4: nw = x - l, nh = y - t; break;
    case 5: nl = x, nw = l + w - x; break;
    case 6: nw = x - l; break;
    case 7: nh = y - t; break;
    case 8: nt = y, nh = t + h - y; break;
    case 9:
        nl = l + x - MouseDownX_;
        nt = t + y - MouseDownY_;
        MouseDownX_ = x;
        MouseDownY_ = y;
        break;
    default: return;
    }
    // A step that would turn the outline inside out or push it off the image
    // is dropped whole: the outline keeps its last good shape.
    if (nw <= 0 || nh <= 0 || nl < ImageLeft_ || nt < ImageTop_ || nl + nw > ImageLeft_ + DisplayWidth_ ||
        nt + nh > ImageTop_ + DisplayHeight_)
        return;
    Outline_ = SelectionOutline{nl, nt, nw, nh};
    SaveSelectionRect();
    showSelectionChange();
}

void ViewerControl::drawStep(int32_t x, int32_t y) {
    if (StartOutsideX_ || StartOutsideY_) return;
    auto axis = [](int32_t pos, int32_t anchor, int32_t imageStart, int32_t imageExtent, int32_t& outStart,
                   int32_t& outExtent) {
        int32_t start = 0, extent = 0;
        if (pos >= anchor) {
            start = anchor;
            extent = pos > imageStart + imageExtent ? imageStart + imageExtent - start : std::abs(pos - start);
        } else if (pos >= imageStart) {
            extent = std::abs(anchor - pos);
            start = pos;
        } else {
            extent = std::abs(anchor - imageStart);
            start = imageStart;
        }
        outStart = start;
        outExtent = extent;
    };
    axis(x, MouseDownX_, ImageLeft_, DisplayWidth_, Outline_.left, Outline_.width);
    axis(y, MouseDownY_, ImageTop_, DisplayHeight_, Outline_.top, Outline_.height);
    SaveSelectionRect();
    showSelectionChange();
}

bool ViewerControl::panStep(int32_t x, int32_t y) {
    const int32_t dx = MouseDownX_ - x, dy = MouseDownY_ - y;
    if (std::abs(dx) < 1 && std::abs(dy) < 1) return false;
    bool moved = false;
    auto axis = [&](ScrollBar& bar, int32_t& origin, int32_t delta) {
        const int32_t next = origin - delta;
        if ((bar.max > 0 || s_.ForceScrollBars) && -bar.max <= next && next <= 0 && next != origin) {
            origin = next;
            // The bar follows the image; its own change handling must not move it again.
            const bool was = ScrollEventsEnabled_;
            ScrollEventsEnabled_ = false;
            bar.value = -next;
            ScrollEventsEnabled_ = was;
            moved = true;
        }
    };
    axis(vScroll_, ImageTop_, dy);
    axis(hScroll_, ImageLeft_, dx);
    MouseDownX_ = x;
    MouseDownY_ = y;
    RealignH_ = RealignV_ = false;
    if (moved) {
        pictureKept_ = true;  // a pan moves the same picture
        RenderImage(0, false);
    }
    return moved;
}

void ViewerControl::panPageTurn(int32_t dy, int32_t x, int32_t y) {
    if (!s_.ContinuousViewMode || PageTurnDone_ || dy == 0 || Animating_) return;
    const bool back = dy < 0;  // the pointer went down: the page before
    if (back ? s_.CurrentPage <= 1 : s_.CurrentPage >= s_.PageCount) return;
    PageTurnDone_ = true;
    Panning_ = false;
    turnPageContinuously(back);
    MouseDownX_ = x;
    MouseDownY_ = y;
    Panning_ = true;
}

int32_t ViewerControl::ZoomRect() {
    if (!isRectDrawed()) return LastStatus_;
    // The zoom is laid out without drawing; the view is drawn once, centred
    // on the rectangle, whose outline first follows the new zoom.
    const bool locked = s_.LockControl;
    s_.LockControl = true;
    ZoomArea(SavedSelectionRect_[0], SavedSelectionRect_[1], SavedSelectionRect_[2], SavedSelectionRect_[3]);
    s_.LockControl = locked;
    if (SelectionDrawn_)
        PlaceSelectionRect(SavedSelectionRect_[0], SavedSelectionRect_[1], SavedSelectionRect_[2],
                           SavedSelectionRect_[3]);
    CenterOnRect();
    return LastStatus_;
}

void ViewerControl::ApplyModePointer() {
    if (!site_) return;
    if (CustomPointer_) {
        // The host's own shape (SetMouseIcon) or its MousePointers number.
        if (s_.MousePointer == com::kControlCursorCustom && !CursorPixels_.empty()) return;
        site_->SetCursor(s_.MousePointer, nullptr);
        return;
    }
    switch (s_.MouseMode) {
    case kModeAreaSelection:
    case kModeAutoZoom: site_->SetCursor(2, nullptr); break;
    case kModePan:
        if (imageShown()) site_->SetCursor(com::kControlCursorCustom, &OpenHandCursor());
        else site_->SetCursor(0, nullptr);
        break;
    default: site_->SetCursor(0, nullptr); break;
    }
}

void ViewerControl::setMouseMode(int32_t mode) {
    if (mode >= kModeNothing && mode <= kModeAutoZoom) {
        if (mode == kModeNothing || mode == kModePan) ClearRectShown();
        s_.MouseMode = mode;
        UpdateMouseModeMenuChecks();
        ApplyModePointer();
    }
    changed_("MouseMode");
}

void ViewerControl::MouseDown(int32_t button, int32_t x, int32_t y, int32_t shift) {
    if (!s_.Enabled) return;
    if (scrollBarPress(button, x, y)) return;
    x -= border();
    y -= border();
    viewerInputFlags().mouseButtonDown = true;
    MapMouseToImage(x, y);
    raiseMouse(kEventMouseDownControl, button, shift, x, y);
    MouseDownX_ = x;
    MouseDownY_ = y;
    const int32_t modeButton = mouseButtonForMouseMode();
    if (button == com::kControlButtonRight && modeButton != com::kControlButtonRight) {
        if (s_.EnableMenu && imageShown()) popUpMenu(x, y);
        return;
    }
    if (!imageShown()) {
        ClearRectShown();
        return;
    }
    if (button != modeButton) return;
    if (s_.MouseMode == kModeAreaSelection || s_.MouseMode == kModeAutoZoom) {
        if (HitTestSelection(x, y) && s_.RectIsEditable) {
            EditingRect_ = true;
            return;
        }
        StartOutsideX_ = MouseDownX_ < ImageLeft_ || MouseDownX_ > ImageLeft_ + DisplayWidth_;
        if (!StartOutsideX_) Outline_.left = MouseDownX_;
        StartOutsideY_ = MouseDownY_ < ImageTop_ || MouseDownY_ > ImageTop_ + DisplayHeight_;
        if (!StartOutsideY_) Outline_.top = MouseDownY_;
        Outline_.width = Outline_.height = 1;
        SaveSelectionRect();
        DrawingRect_ = true;
        showSelectionChange();
    } else if (s_.MouseMode == kModePan) {
        if (!CustomPointer_ && site_) site_->SetCursor(com::kControlCursorCustom, &ClosedHandCursor());
        Panning_ = true;
    }
}

void ViewerControl::MouseMove(int32_t button, int32_t x, int32_t y, int32_t shift) {
    if (!s_.Enabled) return;
    if (scrollBarMove(button, x, y)) return;
    x -= border();
    y -= border();
    ViewerInputFlags& flags = viewerInputFlags();
    flags.inMouseMove = true;
    raiseMouse(kEventMouseMoveControl, button, shift, x, y);
    MapMouseToImage(x, y);
    if (imageShown() && s_.RectIsEditable && s_.MouseMode == kModeAreaSelection) {
        if (!HitTestSelection(x, y) || DrawingRect_ || Panning_) {
            if (EditingRect_) editStep(x, y);
            else ApplyModePointer();
        } else if (EditingRect_) {
            editStep(x, y);
        } else {
            showHandleUnderPointer(x, y);
        }
    }
    const int32_t modeButton = mouseButtonForMouseMode();
    if (button == modeButton && imageShown()) {
        if ((s_.MouseMode == kModeAreaSelection || s_.MouseMode == kModeAutoZoom) && DrawingRect_) drawStep(x, y);
        else if (s_.MouseMode == kModePan && Panning_) {
            const int32_t dy = MouseDownY_ - y;
            if (!panStep(x, y)) panPageTurn(dy, x, y);
        }
    }
    flags.inMouseMove = false;
}

void ViewerControl::MouseUp(int32_t button, int32_t x, int32_t y, int32_t shift) {
    if (!s_.Enabled) return;
    if (scrollBarRelease(button, x, y)) return;
    x -= border();
    y -= border();
    if (s_.MouseMode == kModePan && !CustomPointer_ && site_)
        site_->SetCursor(com::kControlCursorCustom, &OpenHandCursor());
    MapMouseToImage(x, y);
    if (s_.MouseMode == kModeAutoZoom) {
        ZoomRect();
        ClearRectShown();
    }
    Panning_ = EditingRect_ = DrawingRect_ = PageTurnDone_ = false;
    const bool inside = x >= 0 && y >= 0 && x < clientWidth() && y < clientHeight();
    raiseMouse(kEventMouseUpControl, button, shift, x, y);
    viewerInputFlags().mouseButtonDown = false;
    // A left release over the control completes a click.
    if (button == com::kControlButtonLeft && inside) raise(kEventClickControl);
}

}  // namespace scanvelt
