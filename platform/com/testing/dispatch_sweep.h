#pragma once
// For tests: every member of a dispatch interface called as a late-binding
// host calls it, with boundary values for each parameter type. The values are
// data (one ArgumentClass per row); the member list comes from a type-library
// model, so a member added to the library is called without anyone listing it.
#include <dirent.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/abi.h"
#include "platform/com/bstr.h"
#include "platform/com/interfaces.h"
#include "platform/com/safearray.h"
#include "platform/com/testing/invoke_method.h"
#include "platform/com/typelib_model.h"
#include "platform/com/variant.h"

namespace com::testing {

// One boundary value for each kind of parameter; a member is called with the
// value of its kind in every parameter.
struct ArgumentClass {
    std::string name;
    int32_t integer = 0;
    double real = 0;
    bool boolean = false;
    std::u16string text;
    // Elements of an array parameter; -1 for a null array.
    int32_t arrayLength = 0;
};

// What an argument of the class is for a parameter passed by reference: the
// variant it points to lives here until the call is over.
class ByRefStorage {
public:
    ~ByRefStorage() {
        for (auto& v : values_) VariantClear(v.get());
    }
    VARIANT* keep(VARIANT value) {
        values_.push_back(std::make_unique<VARIANT>(value));
        return values_.back().get();
    }

private:
    std::vector<std::unique_ptr<VARIANT>> values_;
};

inline SAFEARRAY* ArrayOfClass(const ArgumentClass& c) {
    if (c.arrayLength < 0) return nullptr;
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<uint32_t>(c.arrayLength));
    void* data = nullptr;
    if (array != nullptr && c.arrayLength > 0 && SUCCEEDED(SafeArrayAccessData(array, &data))) {
        auto* values = static_cast<int32_t*>(data);
        for (int32_t i = 0; i < c.arrayLength; ++i) values[i] = i % 2 == 0 ? c.integer : -1;
        SafeArrayUnaccessData(array);
    }
    return array;
}

// The value of class `c` for a parameter of wire type `type` (by value).
inline VARIANT ValueOfClass(const ParamModel& param, const ArgumentClass& c) {
    switch (param.type) {
        case VT_I2: return MakeI2(static_cast<int16_t>(c.integer));
        case VT_UI1: { VARIANT v; VariantInit(&v); v.vt = VT_UI1; v.bVal = static_cast<uint8_t>(c.integer); return v; }
        case VT_R4: return MakeR4(static_cast<float>(c.real));
        case VT_R8: return MakeR8(c.real);
        case VT_BOOL: return MakeBool(c.boolean);
        case VT_BSTR: return MakeBstr(c.text);
        case VT_SAFEARRAY: {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_ARRAY | VT_I4;
            v.parray = ArrayOfClass(c);
            return v;
        }
        case VT_DISPATCH: case VT_UNKNOWN: {
            VARIANT v;
            VariantInit(&v);
            v.vt = param.type;
            v.punkVal = nullptr;
            return v;
        }
        case VT_VARIANT: return c.text.empty() ? MakeI4(c.integer) : MakeBstr(c.text);
        default: return MakeI4(c.integer);  // VT_I4, VT_INT and enumerations
    }
}

// The argument of class `c` for `param` as a host passes it: by reference
// when the parameter is declared so, pointing into `storage`.
inline VARIANT ArgumentOfClass(const ParamModel& param, const ArgumentClass& c, ByRefStorage& storage) {
    VARIANT value = ValueOfClass(param, c);
    if (!param.byRef) return value;
    VARIANT* kept = storage.keep(value);
    VARIANT ref;
    VariantInit(&ref);
    if (param.type == VT_VARIANT) {
        ref.vt = VT_BYREF | VT_VARIANT;
        ref.pvarVal = kept;
        return ref;
    }
    ref.vt = static_cast<VARTYPE>(VT_BYREF | kept->vt);
    ref.byref = &kept->lVal;  // the union's start: the pointee of every type
    return ref;
}

// Calls `member` of `target` with `arguments` in their written order, as the
// member's kind wants it (method, property get, property put); clears them.
inline HRESULT InvokeMember(IDispatch* target, const MemberModel& member, std::vector<VARIANT> arguments,
                            VARIANT& result) {
    if (member.kind == INVOKE_FUNC) return InvokeMethod(target, member.id, std::move(arguments), result);
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    VariantInit(&result);
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = member.kind == INVOKE_PROPERTYPUT || member.kind == INVOKE_PROPERTYPUTREF;
    DISPPARAMS params{reversed.data(), put ? &named : nullptr, static_cast<uint32_t>(reversed.size()),
                      put ? 1u : 0u};
    const uint16_t flags = put ? (member.kind == INVOKE_PROPERTYPUT ? DISPATCH_PROPERTYPUT : DISPATCH_PROPERTYPUTREF)
                               : DISPATCH_PROPERTYGET;
    const HRESULT hr = target->Invoke(member.id, IID_IUnknown, 0, flags, &params, put ? nullptr : &result, nullptr,
                                      nullptr);
    for (auto& v : reversed) VariantClear(&v);
    return hr;
}

// Whether `hr` is an answer a dispatch interface may give a host for a call
// it could not carry out (the call itself reached the member or its binder).
inline bool IsDispatchAnswer(HRESULT hr) {
    switch (hr) {
        case S_OK: case S_FALSE: case DISP_E_TYPEMISMATCH: case DISP_E_OVERFLOW: case DISP_E_PARAMNOTOPTIONAL:
        case DISP_E_BADPARAMCOUNT: case DISP_E_PARAMNOTFOUND: case DISP_E_EXCEPTION: case DISP_E_MEMBERNOTFOUND:
        case E_INVALIDARG: case E_OUTOFMEMORY: case E_FAIL: case E_POINTER: case E_NOTIMPL:
            return true;
        default:
            return false;
    }
}

// The number of file descriptors the process has open.
inline int OpenFileDescriptors() {
    DIR* folder = opendir("/proc/self/fd");
    if (folder == nullptr) return -1;
    int count = 0;
    while (readdir(folder) != nullptr) ++count;
    closedir(folder);
    return count - 3;  // ".", ".." and the folder's own descriptor
}

}  // namespace com::testing
