#pragma once
// The site an ActiveX control gives the object with a face: what the object
// asks of its window, handed to the control. Reference-counted as the object
// sees it; once the control lets go (detach) every request fails, however
// long the object keeps its reference.
#include <atomic>

#include "platform/com/control_site.h"

namespace forms {

class ActiveXControl;

class ActiveXSite final : public com::IControlSite {
public:
    explicit ActiveXSite(ActiveXControl& owner) : owner_(&owner) {}
    void detach() { owner_ = nullptr; }

    com::HRESULT QueryInterface(com::REFIID iid, void** object) override;
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override;

    com::HRESULT InvalidateRect(const com::ControlRect* rect) override;
    com::HRESULT SetTimer(uint32_t id, uint32_t milliseconds) override;
    com::HRESULT KillTimer(uint32_t id) override;
    com::HRESULT SetCapture(int32_t capture) override;
    com::HRESULT SetCursor(int32_t pointer, const com::ControlCursorImage* image) override;
    com::HRESULT SetFocus() override;
    com::HRESULT AcceptFiles(int32_t accept) override;
    com::HRESULT ShowPopupMenu(const com::ControlMenuItem* items, uint32_t count, int32_t x, int32_t y,
                               int32_t* chosen) override;
    com::HRESULT PropertyChanged(com::DISPID id) override;
    com::HRESULT GetBackdrop(const com::ControlBackBuffer* buffer) override;

private:
    ~ActiveXSite() = default;
    ActiveXControl* owner_;
    std::atomic<uint32_t> references_{1};
};

}  // namespace forms
