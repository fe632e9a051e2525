#pragma once
// Input flags shared by every viewer on a thread: a wheel notch is not turned
// into a key while any viewer on the thread is dragging, handling a move or
// holding a key, nor while the wheel translation itself or a redraw runs.
namespace scanvelt {

struct ViewerInputFlags {
    bool mouseButtonDown = false;
    bool inMouseMove = false;
    bool keyIsDown = false;
    bool wheelTranslating = false;
    bool redrawInProgress = false;  // a layout or refresh runs
};

inline ViewerInputFlags& viewerInputFlags() {
    thread_local ViewerInputFlags flags;
    return flags;
}

}  // namespace scanvelt
