/* A host written in plain C against the published binary interface only: it
 * loads the server library, registers it into a private registry file,
 * creates Twain by its class ID, calls members by dispatch ID, reads the type
 * library and releases everything. Usage: c_host LIBRARY REGISTRY-FILE. */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "c_host_abi.h"

static int fileHolds(const char* path, const char* text) {
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    static char buffer[1 << 16];
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    buffer[n] = 0;
    return strstr(buffer, text) != NULL;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    setenv("SCANVELT_REGISTRY", argv[2], 1);
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    HRESULT (*canUnload)(void) = (HRESULT (*)(void))dlsym(library, "DllCanUnloadNow");
    HRESULT (*getClassObject)(const GUID*, const GUID*, void**) =
        (HRESULT (*)(const GUID*, const GUID*, void**))dlsym(library, "DllGetClassObject");
    HRESULT (*registerServer)(void) = (HRESULT (*)(void))dlsym(library, "DllRegisterServer");
    HRESULT (*unregisterServer)(void) = (HRESULT (*)(void))dlsym(library, "DllUnregisterServer");
    CHECK(canUnload && getClassObject && registerServer && unregisterServer);
    if (failures) return 1;

    CHECK(registerServer() == 0);
    CHECK(fileHolds(argv[2], "Scanvelt.Twain"));
    CHECK(fileHolds(argv[2], "{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}"));

    ClassFactory* factory = NULL;
    CHECK(getClassObject(&kClsidTwain, &kIidClassFactory, (void**)&factory) == 0 && factory);
    Dispatch* twain = NULL;
    if (factory) {
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&twain) == 0 && twain);
        factory->vtbl->Release(factory);
    }
    if (twain) {
        VARIANT result;
        DISPPARAMS none = {NULL, NULL, 0, 0};
        memset(&result, 0, sizeof result);
        CHECK(twain->vtbl->Invoke(twain, kDispidGetVersion, &kIidNull, 0, 1, &none, &result, NULL, NULL) == 0);
        CHECK(result.vt == VT_R8 && result.u.dblVal == 5.9901306);
        memset(&result, 0, sizeof result);
        CHECK(twain->vtbl->Invoke(twain, kDispidGetStat, &kIidNull, 0, 1, &none, &result, NULL, NULL) == 0);
        CHECK(result.vt == VT_I4 && result.u.lVal == 0);

        TypeInfo* info = NULL;
        CHECK(twain->vtbl->GetTypeInfo(twain, 0, 0x409, &info) == 0 && info);
        if (info) {
            TYPEATTR* attributes = NULL;
            CHECK(info->vtbl->GetTypeAttr(info, &attributes) == 0 && attributes);
            if (attributes) {
                CHECK(memcmp(&attributes->guid, &kIidTwain, sizeof kIidTwain) == 0);
                CHECK(attributes->typekind == 4); /* dispatch interface */
                CHECK(attributes->wTypeFlags == 0x11d0);
                CHECK(attributes->cFuncs > 0);
                info->vtbl->ReleaseTypeAttr(info, attributes);
            }
            TypeLib* typeLib = NULL;
            uint32_t index = 99;
            CHECK(info->vtbl->GetContainingTypeLib(info, &typeLib, &index) == 0 && typeLib);
            CHECK(index == 0);
            if (typeLib) {
                CHECK(typeLib->vtbl->GetTypeInfoCount(typeLib) == 78);
                BSTR name = NULL, doc = NULL;
                CHECK(typeLib->vtbl->GetDocumentation(typeLib, -1, &name, &doc, NULL, NULL) == 0);
                CHECK(name && *(uint32_t*)((char*)name - 4) == 16 && name[0] == 'S' && name[8] == 0);
                freeBstr(name);
                freeBstr(doc);
                typeLib->vtbl->Release(typeLib);
            }
            info->vtbl->Release(info);
        }
        CHECK(canUnload() == 1); /* S_FALSE while the object lives */
        CHECK(twain->vtbl->Release(twain) == 0);
    }
    CHECK(canUnload() == 0);
    CHECK(unregisterServer() == 0);
    CHECK(!fileHolds(argv[2], "Scanvelt.Twain"));
    dlclose(library);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
