#include "platform/com/class_objects.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>

#include "platform/com/registry.h"
#include "platform/win/text_encoding.h"

namespace com {
namespace {

// Handles of the libraries that handed out class objects; never closed,
// since objects of theirs may live until the process ends.
std::mutex& loadedMutex() {
    static std::mutex mutex;
    return mutex;
}

void* openLibrary(const std::string& path, std::string* error) {
    std::error_code code;
    if (path.empty() || !std::filesystem::is_regular_file(path, code)) {
        if (error) *error = "no such file: " + path;
        return nullptr;
    }
    std::lock_guard lock(loadedMutex());
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && error) {
        const char* message = ::dlerror();
        *error = message ? message : "the library does not load";
    }
    return handle;
}

}  // namespace

HRESULT CoGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    Registry registry;
    HRESULT hr = Registry::Load(Registry::DefaultPath(), registry);
    if (FAILED(hr)) return hr;
    auto path = registry.GetValue("CLSID\\" + win::FormatGuid(clsid) + "\\InprocServer32");
    if (!path) return REGDB_E_CLASSNOTREG;
    void* library = openLibrary(*path, nullptr);
    if (!library) return CO_E_DLLNOTFOUND;
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(::dlsym(library, "DllGetClassObject"));
    if (!entry) return CO_E_ERRORINDLL;
    return entry(&clsid, &iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    if (!factory) return E_UNEXPECTED;
    hr = factory->CreateInstance(outer, iid, object);
    factory->Release();
    return hr;
}

HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* clsid) {
    if (!clsid) return E_POINTER;
    Registry registry;
    HRESULT hr = Registry::Load(Registry::DefaultPath(), registry);
    if (FAILED(hr)) return hr;
    std::string name = win::Utf16ToUtf8(progId);
    if (name.empty() || name.find('\\') != std::string::npos) return CO_E_CLASSSTRING;
    auto text = registry.GetValue(name + "\\CLSID");
    auto guid = text ? win::ParseGuid(*text) : std::nullopt;
    if (!guid) return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}

HRESULT CallServerRegistration(const std::string& library, bool unregister, std::string* error) {
    std::error_code code;
    std::string path = std::filesystem::absolute(library, code).string();
    void* handle = openLibrary(path, error);
    if (!handle) return CO_E_DLLNOTFOUND;
    const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<DllNoArgumentFunction>(::dlsym(handle, name));
    if (!entry) {
        if (error) *error = std::string("the library does not export ") + name;
        return CO_E_ERRORINDLL;
    }
    // The library stays loaded, as every library this layer loads does.
    return entry();
}

}  // namespace com
