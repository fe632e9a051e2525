#pragma once
// A control with a face and the window that holds it meet through two small
// interfaces of our own, in the COM layout of interfaces.h (pure virtual, no
// virtual destructor, IUnknown first):
//
//   IControlSite     what the host gives the control: invalidating part of
//                    the face, window timers, mouse capture, the pointer shape,
//                    focus, the context menu, "a property changed", the
//                    window's pixels behind the face.
//   IControlSurface  what the control offers the host, found by QueryInterface
//                    on the control's IUnknown: the site, the size, the back
//                    buffer to show, and every input the window receives.
//
// A control without a face (the scanning control) answers E_NOINTERFACE for
// IControlSurface; the host then shows nothing for it.
//
// The control draws its whole face, scroll bars included, into its back buffer;
// the host copies the invalidated part of that buffer to the screen and sends
// every mouse event over the face to the control. The control lives in its own
// shared object with its own copy of the platform layer, so only plain values
// and these interfaces cross between the two: no handles.
//
// Everything is called on the thread of the host's user interface. "Let pending
// messages run" is not part of the site: it is the process-wide host service of
// platform/win/pending_messages.h, which the host installs once.
#include "platform/com/interfaces.h"

namespace com {

// A rectangle in control pixels (the face's top-left corner is 0,0); right and
// bottom are exclusive.
struct ControlRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The control's back buffer: 32-bit pixels, rows top-down, `stride` bytes from
// one row to the next, each pixel 0xAARRGGBB in native byte order (bytes B, G,
// R, A in memory), alpha always 255. Valid until the next Resize or SetSite.
struct ControlBackBuffer {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t stride;
};

// A pointer image the control supplies itself (a hand for panning): 32-bit
// pixels as in ControlBackBuffer, premultiplied alpha, rows top-down, stride
// width * 4, and the hot spot in image pixels.
struct ControlCursorImage {
    const uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t hotSpotX;
    int32_t hotSpotY;
};

// Pointer shapes by number: the MousePointers values of the type library
// (0 default, 1 arrow, 2 cross, 3 I-beam, 5 size all-way, 6 NE-SW, 7 N-S,
// 8 NW-SE, 9 W-E, 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and
// hourglass, 14 arrow and question, 15 size all) and 99, the control's own
// image.
constexpr int32_t kControlCursorCustom = 99;

// Mouse buttons and shift state as the controls' events carry them.
constexpr int32_t kControlButtonLeft = 1;
constexpr int32_t kControlButtonRight = 2;
constexpr int32_t kControlButtonMiddle = 4;
constexpr int32_t kControlShiftShift = 1;
constexpr int32_t kControlShiftCtrl = 2;
constexpr int32_t kControlShiftAlt = 4;

// One entry of a context menu. Entries come in display order; `parent` is the
// index (in the same array) of the entry whose sub-menu holds this one, -1 for
// the menu itself. An entry that some other entry names as parent opens a
// sub-menu and is never chosen itself.
constexpr uint32_t kControlMenuChecked = 1;
constexpr uint32_t kControlMenuDisabled = 2;
constexpr uint32_t kControlMenuSeparator = 4;
constexpr uint32_t kControlMenuHidden = 8;

struct ControlMenuItem {
    const OLECHAR* caption;  // NUL-terminated; '&' marks the access key
    int32_t command;         // what ShowPopupMenu answers when this entry is chosen (not 0)
    int32_t parent;
    uint32_t flags;
};

static_assert(sizeof(ControlRect) == 16 && sizeof(ControlBackBuffer) == 24 && sizeof(ControlCursorImage) == 24 &&
                  sizeof(ControlMenuItem) == 24,
              "control-site structure layouts");

// {1FBED815-0D8C-48BD-8174-A605A7F6B8B8}
inline constexpr IID IID_IControlSite = {0x1FBED815, 0x0D8C, 0x48BD, {0x81, 0x74, 0xA6, 0x05, 0xA7, 0xF6, 0xB8, 0xB8}};
// {E04D8830-B6CE-406B-A003-8945E70580FE}
inline constexpr IID IID_IControlSurface = {0xE04D8830, 0xB6CE, 0x406B, {0xA0, 0x03, 0x89, 0x45, 0xE7, 0x05, 0x80, 0xFE}};

class IControlSite : public IUnknown {
public:
    // The part of the back buffer to show again; a null rectangle means all.
    virtual HRESULT InvalidateRect(const ControlRect* rect) = 0;
    // Calls the control's TimerFired(id) every `milliseconds` until KillTimer;
    // setting a running id again restarts it with the new interval.
    virtual HRESULT SetTimer(uint32_t id, uint32_t milliseconds) = 0;
    virtual HRESULT KillTimer(uint32_t id) = 0;
    // While captured (capture != 0) mouse moves and the release reach the
    // control even outside its face.
    virtual HRESULT SetCapture(int32_t capture) = 0;
    // The pointer over the face: a MousePointers number; with
    // kControlCursorCustom, `image` is the shape (null keeps the default).
    virtual HRESULT SetCursor(int32_t pointer, const ControlCursorImage* image) = 0;
    // Moves the keyboard focus to the control.
    virtual HRESULT SetFocus() = 0;
    // Whether the window accepts dropped files for the control (FilesDropped).
    virtual HRESULT AcceptFiles(int32_t accept) = 0;
    // Shows a context menu at (x, y) in control pixels and waits for the
    // user: *chosen is the command of the chosen entry, 0 when dismissed.
    // Host code (timers, events) may run while it waits.
    virtual HRESULT ShowPopupMenu(const ControlMenuItem* items, uint32_t count, int32_t x, int32_t y,
                                  int32_t* chosen) = 0;
    // A persisted property changed, so the container should save the control
    // again (its IPersistPropertyBag) before it closes.
    virtual HRESULT PropertyChanged(DISPID id) = 0;
    // The pixels of the window behind the face, as that window draws itself
    // without its children, for a control drawn see-through: the host writes
    // them into the control's `buffer` (the face's size, layout of
    // ControlBackBuffer, alpha 255). E_NOTIMPL when the host cannot give them.
    virtual HRESULT GetBackdrop(const ControlBackBuffer* buffer) = 0;
};

class IControlSurface : public IUnknown {
public:
    // The site the control talks to (AddRef'd); null detaches it. A host
    // detaches before its last Release, or the two keep each other alive.
    virtual HRESULT SetSite(IControlSite* site) = 0;
    // Shown (visible != 0) or hidden by the host's window.
    virtual HRESULT Show(int32_t visible) = 0;
    // The new size of the face in pixels; the back buffer follows it.
    virtual HRESULT Resize(int32_t width, int32_t height) = 0;
    virtual HRESULT GetBackBuffer(ControlBackBuffer* buffer) = 0;
    // Mouse input in control pixels; `button` the button concerned (down/up)
    // or the buttons held (move), `shift` the kControlShift bits.
    virtual HRESULT MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) = 0;
    virtual HRESULT MouseMove(int32_t button, int32_t shift, int32_t x, int32_t y) = 0;
    virtual HRESULT MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y) = 0;
    // The second press of a double click, sent after its MouseDown.
    virtual HRESULT DoubleClick(int32_t button, int32_t shift, int32_t x, int32_t y) = 0;
    // `delta` in wheel units: 120 per step, positive away from the user.
    virtual HRESULT MouseWheel(int32_t delta, int32_t shift, int32_t x, int32_t y) = 0;
    // Keys as Windows virtual-key codes (VK_LEFT 0x25 ...), the character of
    // a key press as a UTF-16 code unit.
    virtual HRESULT KeyDown(int32_t keyCode, int32_t shift) = 0;
    virtual HRESULT KeyUp(int32_t keyCode, int32_t shift) = 0;
    virtual HRESULT KeyPress(int32_t character) = 0;
    virtual HRESULT FocusIn() = 0;
    virtual HRESULT FocusOut() = 0;
    virtual HRESULT TimerFired(uint32_t id) = 0;
    // Files dropped on the face at (x, y): `count` NUL-terminated paths.
    virtual HRESULT FilesDropped(const OLECHAR* const* paths, uint32_t count, int32_t x, int32_t y) = 0;
};

}  // namespace com
