#pragma once
// An ActiveX control: an object of another library, made from its class ID
// through the COM layer, placed on a form. The program calls it by dispatch
// ID through dispatch().
//
// An object with a face (one that answers IControlSurface) draws itself into
// a back buffer of its own and gets a site from this control: its face
// follows the control's size (in pixels, 15 twips each) and visibility, the
// focus reaches it as FocusIn/FocusOut, its timers run on the host's timer
// service (platform/win/timers.h), and what it invalidates, its mouse
// pointer, mouse capture and whether it takes dropped files are kept here for
// the front end (Property::Face, MousePointer, Capture, AcceptFiles). What the
// user does over the face reaches it through forms::user (user_input.h).
//
// An object without a face (the scanning control) is only called: it takes
// no focus and shows nothing.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/com/control_site.h"
#include "platform/forms/control.h"

namespace forms {

class ActiveXSite;

// The pointer the object asks for: a MousePointers number, and for
// com::kControlCursorCustom its own image (empty when it gave none).
struct FacePointer {
    int pointer = 0;
    int width = 0;
    int height = 0;
    int hotSpotX = 0;
    int hotSpotY = 0;
    std::vector<uint32_t> pixels;  // premultiplied 0xAARRGGBB, rows top-down
};

// One entry of a context menu the object shows (see com::ControlMenuItem).
struct PopupMenuEntry {
    std::string caption;  // '&' marks the access key
    int command = 0;
    int parent = -1;
    bool checked = false;
    bool disabled = false;
    bool separator = false;
    bool hidden = false;
};

class ActiveXControl : public Control {
public:
    ActiveXControl(Form& form, std::string name, int index = -1);
    ~ActiveXControl() override;

    // Makes the object of `classId` and holds it in place of any object held
    // before. The COM layer's result: REGDB_E_CLASSNOTREG for a class nobody
    // registered, CO_E_DLLNOTFOUND for a library that does not load...
    com::HRESULT create(const com::CLSID& classId);
    // Holds `object` (a reference of its own) in place of any object held before.
    void attach(com::IUnknown* object);
    // Lets the object go: its timers stop and its site is taken away first.
    void release();

    com::IUnknown* object() const { return object_; }
    // The object's IDispatch, valid while it is held; null without one.
    com::IDispatch* dispatch() const { return dispatch_; }
    bool hasFace() const { return surface_ != nullptr; }

    // The size of the face in pixels, as last given to the object.
    int faceWidth() const { return faceWidth_; }
    int faceHeight() const { return faceHeight_; }
    // The front end's size of the face, when its window is not the control's
    // geometry to the pixel. The face follows the geometry otherwise.
    void resizeFace(int width, int height);
    // The object's back buffer; false without a face or when it has none.
    bool backBuffer(com::ControlBackBuffer& buffer) const;
    // The parts of the face invalidated since the last call, within the face;
    // the front end shows them again.
    std::vector<com::ControlRect> takeInvalidated();
    bool hasInvalidated() const { return !invalidated_.empty(); }

    const FacePointer& mousePointer() const { return pointer_; }
    // Whether the object holds the mouse: moves and the release reach it even outside the face.
    bool captured() const { return captured_; }
    bool acceptsFiles() const { return acceptsFiles_; }
    // The object's timers now running, by the object's own timer IDs.
    std::vector<uint32_t> runningTimers() const;

    // Shows the object's context menu at (x, y) of the face and waits for the
    // user: the chosen entry's command, 0 when dismissed. The front end
    // installs it; without it every menu is dismissed.
    std::function<int(const std::vector<PopupMenuEntry>& entries, int x, int y)> showPopupMenu;
    // Writes the pixels of the window behind the face (without its children)
    // into `buffer`; false when it cannot. The front end installs it; without
    // it a see-through object gets no backdrop.
    std::function<bool(const com::ControlBackBuffer& buffer)> grabBackdrop;

    bool canTakeFocus() const override { return hasFace(); }

    // Runtime internals: the face as the user-input API and the site reach it.
    com::IControlSurface* surface() const { return surface_; }
    void invalidate(const com::ControlRect* rect);
    com::HRESULT startTimer(uint32_t id, uint32_t milliseconds);
    com::HRESULT stopTimer(uint32_t id);
    void setCaptured(bool on);
    com::HRESULT setPointer(int pointer, const com::ControlCursorImage* image);
    void setAcceptsFiles(bool on);

private:
    void letGo(bool tell);
    void propertyChanged(Property p);
    void stopAllTimers();

    ActiveXSite* site_ = nullptr;  // the site of the object with a face; null without one
    com::IUnknown* object_ = nullptr;
    com::IDispatch* dispatch_ = nullptr;
    com::IControlSurface* surface_ = nullptr;
    int faceWidth_ = 0;
    int faceHeight_ = 0;
    bool faceFocused_ = false;
    std::vector<com::ControlRect> invalidated_;
    std::map<uint32_t, uint64_t> timers_;  // the object's timer ID -> the host's
    FacePointer pointer_;
    bool captured_ = false;
    bool acceptsFiles_ = false;
};

}  // namespace forms
