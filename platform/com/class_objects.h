#pragma once
// Creating an object from its class ID: the registry names the library
// (CLSID\{...}\InprocServer32), the library is loaded and its
// DllGetClassObject hands out the class factory. Libraries stay loaded for
// the life of the process once loaded.
#include <string>
#include <string_view>

#include "platform/com/interfaces.h"

namespace com {

// The entry points of an in-process server, as their C declarations give them.
using DllGetClassObjectFunction = HRESULT (*)(const CLSID*, const IID*, void**);
using DllNoArgumentFunction = HRESULT (*)();

// REGDB_E_CLASSNOTREG when the class is not registered, REGDB_E_READREGDB when
// the registry cannot be read, CO_E_DLLNOTFOUND when the registered file is
// missing or does not load, CO_E_ERRORINDLL when it lacks DllGetClassObject;
// otherwise what the factory answers.
HRESULT CoGetClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, REFIID iid, void** object);

// The class ID registered under a ProgID ("Scanvelt.Twain"); CO_E_CLASSSTRING
// when there is none.
HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* clsid);

// Loads `library` and calls its DllRegisterServer (or, with `unregister`,
// DllUnregisterServer). CO_E_DLLNOTFOUND when it does not load,
// CO_E_ERRORINDLL when it lacks the entry point; otherwise the entry's result.
HRESULT CallServerRegistration(const std::string& library, bool unregister, std::string* error = nullptr);

}  // namespace com
