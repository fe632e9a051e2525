#include "platform/com/model_dispatch.h"

#include "platform/com/model_typelib.h"
#include "platform/com/variant.h"

namespace com {

ModelDispatch::ModelDispatch(const TypeLibModel& library, std::string interfaceName)
    : library_(library), interfaceName_(std::move(interfaceName)), type_(FindType(library, interfaceName_)) {}

void ModelDispatch::Bind(DISPID id, MemberHandler handler, INVOKEKIND kind) {
    handlers_[{id, kind}] = std::move(handler);
}

HRESULT ModelDispatch::GetTypeInfoCount(uint32_t* count) const {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT ModelDispatch::GetTypeInfo(uint32_t index, ITypeInfo** typeInfo) const {
    if (!typeInfo) return E_POINTER;
    *typeInfo = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return GetModelTypeInfo(library_, interfaceName_, typeInfo);
}

HRESULT ModelDispatch::GetIDsOfNames(OLECHAR** names, uint32_t count, DISPID* ids) const {
    if (!type_) {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (uint32_t i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    return IdsOfNames(*type_, names, count, ids);
}

HRESULT ModelDispatch::Invoke(DISPID id, uint16_t flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                              uint32_t* argError) const {
    if (!type_) return DISP_E_MEMBERNOTFOUND;
    const MemberModel* member = FindMember(*type_, id, flags);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    BoundArguments args;
    HRESULT hr = BindArguments(*member, params, args, argError);
    if (FAILED(hr)) return hr;
    auto handler = handlers_.find({member->id, member->kind});
    if (handler == handlers_.end()) return E_NOTIMPL;
    VARIANT value;
    VariantInit(&value);
    hr = handler->second(args, value, exception);
    if (FAILED(hr)) {
        VariantClear(&value);
        return hr;
    }
    if (result) {
        VariantInit(result);
        if (member->result != VT_EMPTY) {
            hr = VariantChangeType(result, &value, 0, WireType(member->result));
            if (FAILED(hr)) {
                VariantClear(&value);
                return hr;
            }
        }
    }
    VariantClear(&value);
    return S_OK;
}

}  // namespace com
