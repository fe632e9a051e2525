#pragma once
// The COM face of a control: IDispatch over the type library model, the
// object-safety answers, and connection points for its event interface. A
// control derives from it, binds its members' handlers, and answers queries
// for every identifier of its interface list (earlier versions' included)
// with its current interface.
#include <atomic>
#include <string>
#include <vector>

#include "platform/com/connection_points.h"
#include "platform/com/model_dispatch.h"

namespace com {

class DispatchControl : public IDispatch, public IObjectSafety, public IConnectionPointContainer {
public:
    // `interfaceIds` and `sourceIds` list the current identifier last.
    DispatchControl(const TypeLibModel& library, std::string interfaceName, std::vector<IID> interfaceIds,
                    std::vector<IID> sourceIds);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    HRESULT GetTypeInfoCount(uint32_t* count) override { return dispatch_.GetTypeInfoCount(count); }
    HRESULT GetTypeInfo(uint32_t index, LCID, ITypeInfo** typeInfo) override { return dispatch_.GetTypeInfo(index, typeInfo); }
    HRESULT GetIDsOfNames(REFIID, OLECHAR** names, uint32_t count, LCID, DISPID* ids) override {
        return dispatch_.GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, uint16_t flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                   uint32_t* argError) override;

    HRESULT GetInterfaceSafetyOptions(const IID* iid, uint32_t* supported, uint32_t* enabled) override;
    HRESULT SetInterfaceSafetyOptions(const IID* iid, uint32_t mask, uint32_t enabled) override;

    HRESULT EnumConnectionPoints(IUnknown** enumerator) override {
        if (enumerator) *enumerator = nullptr;
        return E_NOTIMPL;
    }
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        return points_.FindConnectionPoint(iid, point);
    }

protected:
    virtual ~DispatchControl();
    // Binds a member; a C++ exception thrown by the handler is raised to the
    // host as the member's error (DISP_E_EXCEPTION with its text).
    void Bind(DISPID id, MemberHandler handler, INVOKEKIND kind = INVOKE_FUNC);
    const std::string& name() const { return name_; }
    // Raises the event `id` to every advised sink. `args` are in declaration
    // order (the sinks receive them reversed, as DISPPARAMS holds them) and
    // stay the caller's, who clears them.
    void FireEvent(DISPID id, std::vector<VARIANT>& args);

private:
    ModelDispatch dispatch_;
    std::string name_;
    std::vector<IID> interfaceIds_;
    ConnectionPoints points_;
    std::atomic<uint32_t> references_{1};
};

}  // namespace com
