// The viewer's two scroll bars: their ranges and visibility, the view they
// move, the position members, and pointer presses on them.
#include <algorithm>
#include <cmath>

#include "imaging/viewer/viewer_control.h"

namespace scanvelt {
namespace {

int32_t roundEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

void ViewerControl::UpdateScrollBarVisibility() {
    if (s_.ForceScrollBars) {
        hScroll_.visible = vScroll_.visible = true;
    } else if (s_.ZoomMode == 2) {
        RealignH_ = RealignV_ = true;
        hScroll_.visible = vScroll_.visible = false;
    } else {
        hScroll_.visible = hScroll_.max >= 1 && s_.ScrollBars;
        vScroll_.visible = vScroll_.max >= 1 && s_.ScrollBars;
    }
    const int32_t innerW = innerWidth(), innerH = innerHeight();
    if (!hScroll_.visible)
        vScroll_.height = innerH;
    else
        vScroll_.height = std::max(innerH - hScroll_.height, 0);
    if (!vScroll_.visible)
        hScroll_.width = innerW;
    else
        hScroll_.width = std::max(innerW - vScroll_.width, 0);
    cornerVisible_ = hScroll_.visible && vScroll_.visible;
}

void ViewerControl::UpdateScrollRanges() {
    ScrollEventsEnabled_ = false;
    const int32_t innerW = innerWidth(), innerH = innerHeight();
    int32_t hMax = 0, vMax = 0;
    if (innerW < DisplayWidth_)
        hMax = roundEven(DisplayWidth_ - innerW + static_cast<double>(vScroll_.width));
    else
        hScroll_.value = 0;
    if (innerH < DisplayHeight_) {
        if (hMax > 0 || s_.ForceScrollBars)
            vMax = roundEven(DisplayHeight_ - innerH + static_cast<double>(hScroll_.height));
        else
            vMax = roundEven(DisplayHeight_ - static_cast<double>(innerH));
    } else {
        vScroll_.value = 0;
    }
    if (vMax == 0 && hMax > 0 && !s_.ForceScrollBars) hMax -= vScroll_.width;
    // The bars hold 16-bit values: a range beyond that is cut at the limit
    // (the zoom limit keeps the longer side within it; the other side of a
    // very wide or tall control may still ask for more).
    hMax = std::clamp(hMax, 0, kScrollBarLimit);
    vMax = std::clamp(vMax, 0, kScrollBarLimit);
    hScroll_.value = std::min(hScroll_.value, hMax);
    vScroll_.value = std::min(vScroll_.value, vMax);
    hScroll_.max = hMax;
    vScroll_.max = vMax;
    hScroll_.enabled = hMax > 0;
    vScroll_.enabled = vMax > 0;
    if (vMax < 1) RealignV_ = true;
    if (hMax < 1) RealignH_ = true;
    ScrollEventsEnabled_ = true;
}

// The bars take no keys (the keyboard reaches the control, whose own key
// handling scrolls), so a change always comes from the pointer or a member.
void ViewerControl::scrollChanged(ScrollBar& bar) {
    if (!ScrollEventsEnabled_) return;
    if (&bar == &vScroll_) {
        RealignV_ = false;
        ImageTop_ = -bar.value;
    } else {
        RealignH_ = false;
        ImageLeft_ = -bar.value;
    }
    // Only a scroll step may move what the last drawing drew.
    scrollStepDrawing_ = true;
    pictureKept_ = true;
    RenderImage(0, false);
    scrollStepDrawing_ = false;
    raise(kEventScrollControl);
}

void ViewerControl::setBarValue(ScrollBar& bar, int32_t value) {
    if (bar.value == value) return;
    bar.value = value;
    scrollChanged(bar);
}

void ViewerControl::SetHScrollBarPosition(int32_t position) {
    position = std::clamp(position, 0, std::max(hScroll_.max, 0));
    ScrollEventsEnabled_ = true;
    setBarValue(hScroll_, position);
}

void ViewerControl::SetVScrollBarPosition(int32_t position) {
    position = std::clamp(position, 0, std::max(vScroll_.max, 0));
    ScrollEventsEnabled_ = true;
    setBarValue(vScroll_, position);
}

void ViewerControl::SetHVScrollBarPosition(int32_t h, int32_t v) {
    bool wasLocked = s_.LockControl;
    s_.LockControl = true;
    changed_("LockControl");
    h = std::clamp(h, 0, std::max(hScroll_.max, 0));
    v = std::clamp(v, 0, std::max(vScroll_.max, 0));
    ScrollEventsEnabled_ = true;
    setBarValue(vScroll_, v);
    setBarValue(hScroll_, h);
    if (!wasLocked) {
        s_.LockControl = false;
        changed_("LockControl");
        RenderImage(0, false);
        raise(kEventScrollControl);
    }
}

void ViewerControl::setScrollBars(bool value) {
    if (value != s_.ScrollBars) {
        s_.ScrollBars = value;
        if (!value) s_.ForceScrollBars = false;
        UpdateLayout(0);
    }
    changed_("ScrollBars");
}

void ViewerControl::setForceScrollBars(bool value) {
    if (value != s_.ForceScrollBars) {
        s_.ForceScrollBars = value;
        if (value) s_.ScrollBars = true;
        UpdateLayout(0);
    }
    changed_("ForceScrollBars");
}

void ViewerControl::setScrollSmallChange(int16_t value) {
    if (value > 0) s_.ScrollSmallChange = hScroll_.smallChange = vScroll_.smallChange = value;
    changed_("ScrollSmallChange");
}

void ViewerControl::setScrollLargeChange(int16_t value) {
    if (value > 0) s_.ScrollLargeChange = hScroll_.largeChange = vScroll_.largeChange = value;
    changed_("ScrollLargeChange");
}

// A press on a bar steps it at once, as a click on a bar does; a press on the
// thumb starts a drag that follows the pointer until the button is released.
bool ViewerControl::scrollBarPress(int32_t button, int32_t x, int32_t y) {
    if (button != com::kControlButtonLeft) return false;
    x -= border();
    y -= border();
    for (ScrollBar* bar : {&hScroll_, &vScroll_}) {
        if (!bar->enabled) continue;
        ScrollBar::Part part = bar->hitTest(x, y);
        if (part == ScrollBar::Part::None) continue;
        FocusOwner_ = bar == &hScroll_ ? 2 : 3;
        if (part == ScrollBar::Part::Thumb) {
            dragBar_ = bar;
            dragGrip_ = (bar->horizontal ? x - bar->left : y - bar->top) - bar->thumbStart();
            if (site_) site_->SetCapture(1);
            return true;
        }
        ScrollEventsEnabled_ = true;
        barPressed_ = true;
        setBarValue(*bar, bar->valueAfter(part));
        return true;
    }
    // The square between the two bars takes the press and does nothing.
    if (cornerVisible_ && x >= vScroll_.left && y >= hScroll_.top) {
        barPressed_ = true;
        return true;
    }
    return false;
}

bool ViewerControl::scrollBarMove(int32_t button, int32_t x, int32_t y) {
    if (!dragBar_) return false;
    if (!(button & com::kControlButtonLeft)) return true;
    x -= border();
    y -= border();
    ScrollBar& bar = *dragBar_;
    int32_t along = (bar.horizontal ? x - bar.left : y - bar.top) - dragGrip_ - bar.arrowLength();
    ScrollEventsEnabled_ = true;
    setBarValue(bar, bar.valueAtThumbStart(along));
    return true;
}

bool ViewerControl::scrollBarRelease(int32_t button, int32_t x, int32_t y) {
    if (barPressed_) {
        barPressed_ = false;
        return true;
    }
    if (!dragBar_) return false;
    if (button != com::kControlButtonLeft) return true;
    scrollBarMove(button, x, y);
    dragBar_ = nullptr;
    if (site_) site_->SetCapture(0);
    return true;
}

void ViewerControl::FocusIn() {
    if (FocusOwner_ == 0) FocusOwner_ = 1;
}

void ViewerControl::FocusOut() { FocusOwner_ = 0; }

}  // namespace scanvelt
