#pragma once
// The classes the server hands out and registers: Twain and MvViewer
// (dummy is in the type library only and cannot be created).
#include <vector>

#include "platform/com/server_registration.h"

namespace scanvelt::server {

const std::vector<com::ServerClass>& ServerClasses();

// The class factory for `clsid`; CLASS_E_CLASSNOTAVAILABLE for any other
// class, dummy included.
com::HRESULT GetClassObject(com::REFCLSID clsid, com::REFIID iid, void** object);

}  // namespace scanvelt::server
