#include "platform/forms/controls/activex_control.h"

#include <algorithm>
#include <utility>

#include "platform/com/class_objects.h"
#include "platform/forms/controls/activex_site.h"
#include "platform/win/timers.h"

namespace forms {

namespace {

constexpr int kTwipsPerPixel = 15;
// Beyond this many separate parts the invalidated region is kept as their bounding box.
constexpr size_t kMostInvalidatedParts = 32;
// The largest pointer image taken from an object.
constexpr int kLargestPointer = 256;

// Nearest pixel, halves away from zero, as the Qt front end places widgets.
int toPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

bool isEmpty(const com::ControlRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool contains(const com::ControlRect& outer, const com::ControlRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool knownPointer(int pointer) {
    return (pointer >= 0 && pointer <= 15) || pointer == com::kControlCursorCustom;
}

// Calls the face with a reference held, so that a call that ends in the
// program letting the object go does not pull it away under the call.
template <class Call>
void callFace(com::IControlSurface* surface, Call call) {
    if (!surface) return;
    surface->AddRef();
    call(*surface);
    surface->Release();
}

}  // namespace

ActiveXControl::ActiveXControl(Form& form, std::string name, int index)
    : Control(form, ControlKind::ActiveX, std::move(name), index) {
    observe([this](Property p) { propertyChanged(p); });
}

// Nobody is told any more: the control is going.
ActiveXControl::~ActiveXControl() { letGo(false); }

com::HRESULT ActiveXControl::create(const com::CLSID& classId) {
    com::IUnknown* made = nullptr;
    const com::HRESULT hr =
        com::CoCreateInstance(classId, nullptr, com::IID_IUnknown, reinterpret_cast<void**>(&made));
    if (com::FAILED(hr)) return hr;
    if (!made) return com::E_FAIL;
    attach(made);
    made->Release();
    return com::S_OK;
}

void ActiveXControl::attach(com::IUnknown* object) {
    if (object == object_) return;
    if (object) object->AddRef();  // before letting go of the old one, which may hold the only other reference
    release();
    if (!object) return;
    object_ = object;
    if (com::FAILED(object->QueryInterface(com::IID_IDispatch, reinterpret_cast<void**>(&dispatch_))))
        dispatch_ = nullptr;
    com::IControlSurface* surface = nullptr;
    if (com::FAILED(object->QueryInterface(com::IID_IControlSurface, reinterpret_cast<void**>(&surface))) || !surface)
        return;
    surface_ = surface;
    // A site of its own for each object: one that outlives its object's time here answers nothing.
    site_ = new ActiveXSite(*this);
    surface_->SetSite(site_);
    surface_->Show(visible() ? 1 : 0);
    resizeFace(toPixels(width()), toPixels(height()));
    if (hasFocus()) {
        faceFocused_ = true;
        surface_->FocusIn();
    }
    notify(Property::Face);
}

void ActiveXControl::release() { letGo(true); }

void ActiveXControl::letGo(bool tell) {
    if (!object_) return;
    stopAllTimers();
    com::IControlSurface* surface = surface_;
    com::IDispatch* dispatch = dispatch_;
    com::IUnknown* object = object_;
    surface_ = nullptr;
    dispatch_ = nullptr;
    object_ = nullptr;
    faceWidth_ = faceHeight_ = 0;
    faceFocused_ = false;
    invalidated_.clear();
    if (surface) {
        surface->SetSite(nullptr);
        surface->Release();
    }
    if (ActiveXSite* site = std::exchange(site_, nullptr)) {
        site->detach();
        site->Release();
    }
    if (dispatch) dispatch->Release();
    object->Release();
    pointer_ = {};
    if (!tell) {
        captured_ = acceptsFiles_ = false;
        return;
    }
    setCaptured(false);
    setAcceptsFiles(false);
    notify(Property::MousePointer);
    notify(Property::Face);
}

void ActiveXControl::resizeFace(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!surface_ || (width == faceWidth_ && height == faceHeight_)) return;
    faceWidth_ = width;
    faceHeight_ = height;
    // What lay outside the new face is gone; the object invalidates what it draws anew.
    const com::ControlRect face{0, 0, width, height};
    std::erase_if(invalidated_, [&](com::ControlRect& r) {
        r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, face.right), std::min(r.bottom, face.bottom)};
        return isEmpty(r);
    });
    callFace(surface_, [&](com::IControlSurface& s) { s.Resize(width, height); });
}

bool ActiveXControl::backBuffer(com::ControlBackBuffer& buffer) const {
    buffer = {};
    if (!surface_ || com::FAILED(surface_->GetBackBuffer(&buffer)) || !buffer.pixels) return false;
    // A buffer that does not hold its rows is not shown.
    if (buffer.width <= 0 || buffer.height <= 0 || buffer.stride < buffer.width * 4) {
        buffer = {};
        return false;
    }
    return true;
}

std::vector<com::ControlRect> ActiveXControl::takeInvalidated() { return std::exchange(invalidated_, {}); }

void ActiveXControl::invalidate(const com::ControlRect* rect) {
    const com::ControlRect face{0, 0, faceWidth_, faceHeight_};
    com::ControlRect part = rect ? com::ControlRect{std::max(rect->left, 0), std::max(rect->top, 0),
                                                    std::min(rect->right, face.right),
                                                    std::min(rect->bottom, face.bottom)}
                                 : face;
    if (isEmpty(part)) return;
    if (std::any_of(invalidated_.begin(), invalidated_.end(), [&](const auto& r) { return contains(r, part); }))
        return;
    std::erase_if(invalidated_, [&](const auto& r) { return contains(part, r); });
    invalidated_.push_back(part);
    if (invalidated_.size() > kMostInvalidatedParts) {
        com::ControlRect box = invalidated_.front();
        for (const auto& r : invalidated_)
            box = {std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                   std::max(box.bottom, r.bottom)};
        invalidated_ = {box};
    }
    notify(Property::Face);
}

com::HRESULT ActiveXControl::startTimer(uint32_t id, uint32_t milliseconds) {
    if (!surface_) return com::E_UNEXPECTED;
    stopTimer(id);
    const uint64_t hostId = win::StartTimer(milliseconds, [this, id] {
        if (timers_.count(id)) callFace(surface_, [id](com::IControlSurface& s) { s.TimerFired(id); });
    });
    if (hostId == 0) return com::E_FAIL;  // the host runs no timers
    timers_[id] = hostId;
    return com::S_OK;
}

com::HRESULT ActiveXControl::stopTimer(uint32_t id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return com::S_FALSE;
    win::StopTimer(it->second);
    timers_.erase(it);
    return com::S_OK;
}

void ActiveXControl::stopAllTimers() {
    for (const auto& [id, hostId] : timers_) win::StopTimer(hostId);
    timers_.clear();
}

std::vector<uint32_t> ActiveXControl::runningTimers() const {
    std::vector<uint32_t> ids;
    for (const auto& entry : timers_) ids.push_back(entry.first);
    return ids;
}

void ActiveXControl::setCaptured(bool on) { assign(captured_, on, Property::Capture); }

com::HRESULT ActiveXControl::setPointer(int pointer, const com::ControlCursorImage* image) {
    if (!knownPointer(pointer)) return com::E_INVALIDARG;
    FacePointer next;
    next.pointer = pointer;
    if (pointer == com::kControlCursorCustom && image) {
        if (!image->pixels || image->width <= 0 || image->height <= 0 || image->width > kLargestPointer ||
            image->height > kLargestPointer || image->hotSpotX < 0 || image->hotSpotX >= image->width ||
            image->hotSpotY < 0 || image->hotSpotY >= image->height)
            return com::E_INVALIDARG;
        next.width = image->width;
        next.height = image->height;
        next.hotSpotX = image->hotSpotX;
        next.hotSpotY = image->hotSpotY;
        next.pixels.assign(image->pixels, image->pixels + static_cast<size_t>(image->width) * image->height);
    }
    pointer_ = std::move(next);
    notify(Property::MousePointer);
    return com::S_OK;
}

void ActiveXControl::setAcceptsFiles(bool on) { assign(acceptsFiles_, on, Property::AcceptFiles); }

void ActiveXControl::propertyChanged(Property p) {
    if (!surface_) return;
    switch (p) {
        case Property::Geometry: resizeFace(toPixels(width()), toPixels(height())); break;
        case Property::Visible:
            callFace(surface_, [this](com::IControlSurface& s) { s.Show(visible() ? 1 : 0); });
            break;
        case Property::Focus:
            if (hasFocus() != faceFocused_) {
                faceFocused_ = hasFocus();
                callFace(surface_, [this](com::IControlSurface& s) { faceFocused_ ? s.FocusIn() : s.FocusOut(); });
            }
            break;
        default: break;
    }
}

}  // namespace forms
