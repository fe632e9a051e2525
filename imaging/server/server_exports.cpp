// The four entry points of the in-process server, with C linkage; the only
// symbols libscanvelt.so exports.
#include "imaging/server/server_classes.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/registry.h"
#include "platform/com/server_objects.h"

#define SCANVELT_EXPORT extern "C" __attribute__((visibility("default")))

using namespace scanvelt;

SCANVELT_EXPORT com::HRESULT DllCanUnloadNow() { return com::ServerCanUnloadNow(); }

SCANVELT_EXPORT com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid, void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return com::E_INVALIDARG;
    return server::GetClassObject(*clsid, *iid, object);
}

SCANVELT_EXPORT com::HRESULT DllRegisterServer() {
    const std::string library = com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer));
    if (library.empty()) return com::SELFREG_E_CLASS;
    return com::UpdateRegistry(com::Registry::DefaultPath(), [&](com::Registry& registry) {
        com::WriteServerEntries(registry, library, typelib::ScanveltTypeLib(), server::ServerClasses());
    });
}

SCANVELT_EXPORT com::HRESULT DllUnregisterServer() {
    return com::UpdateRegistry(com::Registry::DefaultPath(), [](com::Registry& registry) {
        com::RemoveServerEntries(registry, typelib::ScanveltTypeLib(), server::ServerClasses());
    });
}
