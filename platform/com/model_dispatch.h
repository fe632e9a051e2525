#pragma once
// IDispatch answered from the type library model: names to dispatch IDs
// (without regard to case), type information, and Invoke, which binds the
// arguments to the member's parameters and calls the member's handler.
// Members the model has but no handler answer E_NOTIMPL; numbers that are no
// member answer DISP_E_MEMBERNOTFOUND.
#include <functional>
#include <map>
#include <string>

#include "platform/com/dispatch_arguments.h"
#include "platform/com/typelib_model.h"

namespace com {

// What a member returns: S_OK with `result` set (as a variant of any type the
// result converts from), or a failure; RaiseException fills the exception.
using MemberHandler = std::function<HRESULT(const BoundArguments& args, VARIANT& result, EXCEPINFO* exception)>;

class ModelDispatch {
public:
    ModelDispatch(const TypeLibModel& library, std::string interfaceName);

    // The handler of the member `id` of kind `kind`.
    void Bind(DISPID id, MemberHandler handler, INVOKEKIND kind = INVOKE_FUNC);

    HRESULT GetTypeInfoCount(uint32_t* count) const;
    HRESULT GetTypeInfo(uint32_t index, ITypeInfo** typeInfo) const;
    HRESULT GetIDsOfNames(OLECHAR** names, uint32_t count, DISPID* ids) const;
    HRESULT Invoke(DISPID id, uint16_t flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                   uint32_t* argError) const;

private:
    const TypeLibModel& library_;
    std::string interfaceName_;
    const TypeInfoModel* type_;
    std::map<std::pair<DISPID, int>, MemberHandler> handlers_;
};

}  // namespace com
