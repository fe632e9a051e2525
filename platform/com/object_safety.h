#pragma once
// The object-safety answers of a control: safe for scripting through
// IDispatch, safe for initialisation through the persistence interfaces,
// each while its per-thread flag is set (both are set from the start).
#include "platform/com/interfaces.h"

namespace com {

struct SafetyFlags {
    bool safeForScripting = true;
    bool safeForInitializing = true;
};

// This thread's flags, shared by every control of the server on the thread.
SafetyFlags& ThreadSafetyFlags();

// IObjectSafety::GetInterfaceSafetyOptions: supported is 3 in every case; a
// null interface succeeds; IDispatch enables 1 and the persistence
// interfaces (IPersistStorage, IPersistStream, IPersistPropertyBag) enable 2
// while their flag is set; any other interface is E_NOINTERFACE.
HRESULT GetSafetyOptions(const SafetyFlags& flags, const IID* iid, uint32_t* supported, uint32_t* enabled);
// IObjectSafety::SetInterfaceSafetyOptions: accepted only when (mask And
// enabled) is exactly what GetSafetyOptions enables; E_FAIL otherwise. Never
// changes the flags.
HRESULT SetSafetyOptions(const SafetyFlags& flags, const IID* iid, uint32_t mask, uint32_t enabled);

}  // namespace com
