#pragma once
// For tests: a method called by dispatch ID as a late-binding host calls it.
#include <vector>

#include "platform/com/abi.h"
#include "platform/com/variant.h"

namespace com::testing {

// Calls method `id` of `target` with `arguments` in their written order
// (DISPPARAMS holds them last first) and clears them afterwards; `result`
// is the caller's to clear.
inline HRESULT InvokeMethod(IDispatch* target, DISPID id, std::vector<VARIANT> arguments, VARIANT& result) {
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
    VariantInit(&result);
    const HRESULT hr = target->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    for (auto& v : reversed) VariantClear(&v);
    return hr;
}

}  // namespace com::testing
