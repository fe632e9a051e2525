#include "platform/com/object_safety.h"

namespace com {
namespace {

bool isPersistence(const IID& iid) {
    return iid == IID_IPersistStorage || iid == IID_IPersistStream || iid == IID_IPersistPropertyBag;
}

}  // namespace

SafetyFlags& ThreadSafetyFlags() {
    thread_local SafetyFlags flags;
    return flags;
}

HRESULT GetSafetyOptions(const SafetyFlags& flags, const IID* iid, uint32_t* supported, uint32_t* enabled) {
    if (!supported || !enabled) return E_POINTER;
    *supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
    if (!iid) return S_OK;
    if (*iid == IID_IDispatch) {
        *enabled = flags.safeForScripting ? INTERFACESAFE_FOR_UNTRUSTED_CALLER : 0;
        return S_OK;
    }
    if (isPersistence(*iid)) {
        *enabled = flags.safeForInitializing ? INTERFACESAFE_FOR_UNTRUSTED_DATA : 0;
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT SetSafetyOptions(const SafetyFlags& flags, const IID* iid, uint32_t mask, uint32_t enabled) {
    if (!iid) return S_OK;
    if (*iid == IID_IDispatch)
        return (mask & enabled) == INTERFACESAFE_FOR_UNTRUSTED_CALLER && flags.safeForScripting ? S_OK : E_FAIL;
    if (isPersistence(*iid))
        return (mask & enabled) == INTERFACESAFE_FOR_UNTRUSTED_DATA && flags.safeForInitializing ? S_OK : E_FAIL;
    return E_NOINTERFACE;
}

}  // namespace com
