#pragma once
// A host site for the viewer's tests, without a window system: it records
// what the control asks of it, keeps the running timers for a manual pump,
// and reads pixels from the control's back buffer.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "platform/com/control_site.h"

namespace scanvelt::testing {

class TestSite final : public com::IControlSite {
public:
    com::HRESULT QueryInterface(com::REFIID iid, void** object) override {
        if (!object) return com::E_POINTER;
        if (iid == com::IID_IUnknown || iid == com::IID_IControlSite) {
            *object = static_cast<com::IControlSite*>(this);
            AddRef();
            return com::S_OK;
        }
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references; }
    uint32_t Release() override { return --references; }  // lives on the test's stack

    com::HRESULT InvalidateRect(const com::ControlRect* rect) override {
        invalidations.push_back(rect ? *rect : com::ControlRect{-1, -1, -1, -1});
        return com::S_OK;
    }
    com::HRESULT SetTimer(uint32_t id, uint32_t milliseconds) override {
        timers[id] = milliseconds;
        return com::S_OK;
    }
    com::HRESULT KillTimer(uint32_t id) override {
        timers.erase(id);
        return com::S_OK;
    }
    com::HRESULT SetCapture(int32_t capture) override {
        captured = capture != 0;
        return com::S_OK;
    }
    com::HRESULT SetCursor(int32_t pointer, const com::ControlCursorImage* image) override {
        cursor = pointer;
        cursorHotSpot = image ? std::pair{image->hotSpotX, image->hotSpotY} : std::pair{-1, -1};
        return com::S_OK;
    }
    com::HRESULT SetFocus() override { return com::S_OK; }
    com::HRESULT AcceptFiles(int32_t accept) override {
        acceptsFiles = accept != 0;
        return com::S_OK;
    }
    com::HRESULT ShowPopupMenu(const com::ControlMenuItem* items, uint32_t count, int32_t, int32_t,
                               int32_t* chosen) override {
        menuShown.clear();
        for (uint32_t i = 0; i < count; ++i) menuShown.push_back(items[i]);
        if (chosen) *chosen = menuChoice;
        return com::S_OK;
    }
    com::HRESULT PropertyChanged(com::DISPID id) override {
        changed.push_back(id);
        return com::S_OK;
    }
    // The window behind the face as `backdrop` paints it (x, y in face
    // pixels); E_NOTIMPL without one.
    com::HRESULT GetBackdrop(const com::ControlBackBuffer* buffer) override {
        if (!backdrop) return com::E_NOTIMPL;
        if (!buffer || !buffer->pixels) return com::E_POINTER;
        for (int32_t y = 0; y < buffer->height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(buffer->pixels) +
                                                    static_cast<size_t>(y) * buffer->stride);
            for (int32_t x = 0; x < buffer->width; ++x) row[x] = backdrop(x, y);
        }
        return com::S_OK;
    }

    // Fires every running timer once, as if its interval had passed; returns
    // how many fired.
    int pump(com::IControlSurface& surface) {
        std::vector<uint32_t> due;
        for (const auto& [id, ms] : timers) due.push_back(id);
        for (uint32_t id : due) surface.TimerFired(id);
        return static_cast<int>(due.size());
    }

    // The pixel at (x, y) of the control's back buffer as 0xAARRGGBB.
    static uint32_t pixel(com::IControlSurface& surface, int32_t x, int32_t y) {
        com::ControlBackBuffer buffer{};
        if (surface.GetBackBuffer(&buffer) != com::S_OK || x < 0 || y < 0 || x >= buffer.width || y >= buffer.height)
            return 0;
        return *reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(buffer.pixels) +
                                                  static_cast<size_t>(y) * buffer.stride + static_cast<size_t>(x) * 4);
    }

    std::atomic<uint32_t> references{0};
    std::vector<com::ControlRect> invalidations;
    std::map<uint32_t, uint32_t> timers;
    bool captured = false;
    int32_t cursor = -1;
    std::pair<int32_t, int32_t> cursorHotSpot{-1, -1};  // of the custom shape, -1 without one
    int32_t menuChoice = 0;                      // what the next context menu answers
    std::vector<com::ControlMenuItem> menuShown;  // the last menu shown (captions valid only during the call)
    bool acceptsFiles = false;
    std::vector<com::DISPID> changed;
    std::function<uint32_t(int32_t x, int32_t y)> backdrop;  // what lies behind the face, if anything
};

}  // namespace scanvelt::testing
