// A tiny in-process server for the class-object tests: it registers one
// class and hands out a factory whose objects answer IUnknown only.
#include "platform/com/registry.h"
#include "platform/com/server_objects.h"
#include "platform/com/server_registration.h"

namespace {

constexpr com::CLSID kFakeClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

class FakeObject final : public com::IUnknown {
public:
    FakeObject() { com::ServerObjectCreated(); }
    com::HRESULT QueryInterface(com::REFIID iid, void** object) override {
        if (!object) return com::E_POINTER;
        if (iid == com::IID_IUnknown) {
            *object = this;
            AddRef();
            return com::S_OK;
        }
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        uint32_t left = --references_;
        if (!left) delete this;
        return left;
    }

private:
    ~FakeObject() { com::ServerObjectDestroyed(); }
    uint32_t references_ = 1;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid, void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return com::E_INVALIDARG;
    if (*clsid != kFakeClass) return com::CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new com::ClassFactory([](com::REFIID wanted, void** out) {
        auto* made = new FakeObject();
        com::HRESULT hr = made->QueryInterface(wanted, out);
        made->Release();
        return hr;
    });
    com::HRESULT hr = factory->QueryInterface(*iid, object);
    factory->Release();
    return hr;
}

extern "C" __attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() { return com::ServerCanUnloadNow(); }

extern "C" __attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {
    std::string path = com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer));
    return com::UpdateRegistry(com::Registry::DefaultPath(), [&](com::Registry& r) {
        r.SetValue("CLSID\\" + win::FormatGuid(kFakeClass) + "\\InprocServer32", "", path);
        r.SetValue("Fake.Object\\CLSID", "", win::FormatGuid(kFakeClass));
    });
}

extern "C" __attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() {
    return com::UpdateRegistry(com::Registry::DefaultPath(), [](com::Registry& r) {
        r.DeleteTree("CLSID\\" + win::FormatGuid(kFakeClass));
        r.DeleteTree("Fake.Object");
    });
}
