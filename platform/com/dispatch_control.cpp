#include "platform/com/dispatch_control.h"

#include <algorithm>
#include <exception>
#include <new>

#include "platform/com/object_safety.h"
#include "platform/com/server_objects.h"

namespace com {

DispatchControl::DispatchControl(const TypeLibModel& library, std::string interfaceName, std::vector<IID> interfaceIds,
                                 std::vector<IID> sourceIds)
    : dispatch_(library, interfaceName),
      name_(std::move(interfaceName)),
      interfaceIds_(std::move(interfaceIds)),
      points_(static_cast<IConnectionPointContainer*>(this), std::move(sourceIds)) {
    ServerObjectCreated();
}

DispatchControl::~DispatchControl() { ServerObjectDestroyed(); }

HRESULT DispatchControl::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch ||
        std::find(interfaceIds_.begin(), interfaceIds_.end(), iid) != interfaceIds_.end())
        *object = static_cast<IDispatch*>(this);
    else if (iid == IID_IObjectSafety)
        *object = static_cast<IObjectSafety*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *object = static_cast<IConnectionPointContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

uint32_t DispatchControl::AddRef() { return ++references_; }

uint32_t DispatchControl::Release() {
    uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DispatchControl::Invoke(DISPID id, REFIID, LCID, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, uint32_t* argError) {
    return dispatch_.Invoke(id, flags, params, result, exception, argError);
}

HRESULT DispatchControl::GetInterfaceSafetyOptions(const IID* iid, uint32_t* supported, uint32_t* enabled) {
    return GetSafetyOptions(ThreadSafetyFlags(), iid, supported, enabled);
}

HRESULT DispatchControl::SetInterfaceSafetyOptions(const IID* iid, uint32_t mask, uint32_t enabled) {
    return SetSafetyOptions(ThreadSafetyFlags(), iid, mask, enabled);
}

COM_CALLS_HOST_SINKS void DispatchControl::FireEvent(DISPID id, std::vector<VARIANT>& args) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
    // A sink may unadvise itself (or another) while it handles the event.
    std::vector<IDispatch*> sinks = points_.Sinks();
    for (IDispatch* sink : sinks) sink->AddRef();
    for (IDispatch* sink : sinks) {
        sink->Invoke(id, GUID{}, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        sink->Release();
    }
}

void DispatchControl::Bind(DISPID id, MemberHandler handler, INVOKEKIND kind) {
    dispatch_.Bind(
        id,
        [this, handler = std::move(handler)](const BoundArguments& args, VARIANT& result, EXCEPINFO* exception) -> HRESULT {
            try {
                return handler(args, result, exception);
            } catch (const std::bad_alloc&) {
                return RaiseException(exception, name_, "Out of memory", E_OUTOFMEMORY);
            } catch (const std::exception& error) {
                return RaiseException(exception, name_, error.what(), E_FAIL);
            }
        },
        kind);
}

}  // namespace com
