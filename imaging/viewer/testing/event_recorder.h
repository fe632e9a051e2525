#pragma once
// An event sink for the viewer's tests: advised on the viewer's event
// interface, it records the dispatch ID of every event raised, in order.
#include <atomic>
#include <functional>
#include <vector>

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/interfaces.h"

namespace scanvelt::testing {

class EventRecorder final : public com::IDispatch {
public:
    com::HRESULT QueryInterface(com::REFIID iid, void** object) override {
        if (!object) return com::E_POINTER;
        if (iid == com::IID_IUnknown || iid == com::IID_IDispatch || iid == typelib::MvViewerEventsId()) {
            *object = static_cast<com::IDispatch*>(this);
            AddRef();
            return com::S_OK;
        }
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references; }
    uint32_t Release() override { return --references; }  // lives on the test's stack
    com::HRESULT GetTypeInfoCount(uint32_t* count) override {
        if (count) *count = 0;
        return com::S_OK;
    }
    com::HRESULT GetTypeInfo(uint32_t, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    com::HRESULT GetIDsOfNames(com::REFIID, com::OLECHAR**, uint32_t, com::LCID, com::DISPID*) override {
        return com::E_NOTIMPL;
    }
    com::HRESULT Invoke(com::DISPID id, com::REFIID, com::LCID, uint16_t, com::DISPPARAMS* params, com::VARIANT*,
                        com::EXCEPINFO*, uint32_t*) override {
        events.push_back(id);
        if (onEvent) onEvent(id, *params);
        return com::S_OK;
    }

    // Connects to `control`'s events; the cookie is kept for disconnect().
    bool connect(com::IUnknown& control) {
        com::IConnectionPointContainer* container = nullptr;
        if (control.QueryInterface(com::IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)) != com::S_OK)
            return false;
        com::HRESULT hr = container->FindConnectionPoint(typelib::MvViewerEventsId(), &point_);
        container->Release();
        return hr == com::S_OK && point_->Advise(this, &cookie_) == com::S_OK;
    }
    void disconnect() {
        if (!point_) return;
        point_->Unadvise(cookie_);
        point_->Release();
        point_ = nullptr;
    }
    ~EventRecorder() { disconnect(); }

    std::atomic<uint32_t> references{0};
    std::vector<com::DISPID> events;
    // Acts as a host's handler would, e.g. writing into by-reference arguments.
    std::function<void(com::DISPID, com::DISPPARAMS&)> onEvent;

private:
    com::IConnectionPoint* point_ = nullptr;
    uint32_t cookie_ = 0;
};

}  // namespace scanvelt::testing
