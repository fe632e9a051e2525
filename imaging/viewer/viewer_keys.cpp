// The keys the host sees and the wheel: a wheel notch becomes a press and
// release of the keypad plus (away from the user) or minus key, and the
// release of those keys zooms, scrolls or turns the page.
#include <algorithm>

#include "imaging/viewer/viewer_control.h"
#include "imaging/viewer/viewer_input_flags.h"
#include "platform/com/variant.h"

namespace scanvelt {
namespace {

constexpr int32_t kKeyAdd = 107;       // keypad plus: wheel up
constexpr int32_t kKeySubtract = 109;  // keypad minus: wheel down

}  // namespace

namespace {

// Raises a key event with the key code and shift state by reference; gives
// back the key code as the host left it.
int32_t raiseKey(const ViewerControl::RaiseEvent& raise, ViewerEvent id, int32_t key, int32_t shift, bool withShift) {
    int16_t k = static_cast<int16_t>(key), s = static_cast<int16_t>(shift);
    std::vector<com::VARIANT> args(withShift ? 2 : 1);
    for (auto& a : args) com::VariantInit(&a);
    args[0].vt = com::VT_I2 | com::VT_BYREF;
    args[0].piVal = &k;
    if (withShift) {
        args[1].vt = com::VT_I2 | com::VT_BYREF;
        args[1].piVal = &s;
    }
    raise(id, args);
    return k;
}

}  // namespace

void ViewerControl::KeyDown(int32_t keyCode, int32_t shift) {
    if (!s_.Enabled) return;
    viewerInputFlags().keyIsDown = true;
    raiseKey(raise_, kEventKeyDownControl, keyCode, shift, true);
}

void ViewerControl::KeyPress(int32_t character) {
    if (s_.Enabled) raiseKey(raise_, kEventKeyPressControl, character, 0, false);
}

void ViewerControl::KeyUp(int32_t keyCode, int32_t shift) {
    if (!s_.Enabled) return;
    keyCode = raiseKey(raise_, kEventKeyUpControl, keyCode, shift, true);
    if (s_.EnableMouseWheel && (keyCode == kKeyAdd || keyCode == kKeySubtract)) {
        std::vector<com::VARIANT> args{com::MakeI2(keyCode == kKeyAdd ? 0 : 1)};
        raise_(kEventMouseWheelControl, args);
        wheelStep(keyCode == kKeyAdd);
    }
    viewerInputFlags().keyIsDown = false;
}

void ViewerControl::wheelStep(bool up) {
    switch (s_.MouseWheelMode) {
    case 0:
        if (up) ZoomIN();
        else ZoomOUT();
        break;
    case 1: {
        ScrollBar& bar = vScroll_;
        // In continuous view the end of the range turns the page instead of
        // scrolling (the new page shows its bottom when going back, its top
        // when going on), and does nothing before the first or after the last page.
        if (s_.ContinuousViewMode && up && bar.value == 0) {
            if (s_.CurrentPage > 1) turnPageContinuously(true);
            break;
        }
        if (s_.ContinuousViewMode && !up && bar.value >= bar.max) {
            if (s_.CurrentPage < s_.PageCount) turnPageContinuously(false);
            break;
        }
        const int32_t step = std::max<int32_t>(bar.largeChange, 0);
        const int32_t next = up ? std::max(bar.value - step, 0) : std::min(bar.value + step, std::max(bar.max, 0));
        ScrollEventsEnabled_ = true;
        setBarValue(bar, next);
        break;
    }
    case 2:
        if (up) DisplayPreviousFrame();
        else DisplayNextFrame();
        break;
    default: break;
    }
}

void ViewerControl::MouseWheel(int32_t delta) {
    ViewerInputFlags& flags = viewerInputFlags();
    if (!s_.Enabled || !WheelHookInstalled_ || flags.wheelTranslating || flags.mouseButtonDown || flags.keyIsDown ||
        flags.inMouseMove || flags.redrawInProgress)
        return;
    const int32_t key = delta > 0 ? kKeyAdd : kKeySubtract;
    flags.wheelTranslating = true;
    KeyDown(key, 0);
    KeyUp(key, 0);
    flags.wheelTranslating = false;
}

void ViewerControl::setEnableMouseWheel(bool value) {
    s_.EnableMouseWheel = value;
    if (!value) WheelHookInstalled_ = false;
    else if (imageShown()) WheelHookInstalled_ = true;
    changed_("EnableMouseWheel");
}

}  // namespace scanvelt
