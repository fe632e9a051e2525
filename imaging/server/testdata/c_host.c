/* A host written in plain C against the published binary interface only: it
 * loads the server library, registers it into a private registry file,
 * creates Twain by its class ID, calls members by dispatch ID, reads the type
 * library and releases everything. Usage: c_host LIBRARY REGISTRY-FILE. */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int32_t HRESULT;
typedef uint16_t VARTYPE;
typedef uint16_t OLECHAR;
typedef OLECHAR* BSTR;

typedef struct {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;

typedef struct {
    VARTYPE vt;
    uint16_t r1, r2, r3;
    union {
        int32_t lVal;
        double dblVal;
        int16_t boolVal;
        BSTR bstrVal;
        struct {
            void* a;
            void* b;
        } record;
    } u;
} VARIANT;

typedef struct {
    VARIANT* rgvarg;
    int32_t* rgdispidNamedArgs;
    uint32_t cArgs;
    uint32_t cNamedArgs;
} DISPPARAMS;

typedef struct {
    uint16_t wCode, wReserved;
    BSTR source, description, helpFile;
    uint32_t helpContext;
    void* reserved;
    void* deferred;
    int32_t scode;
} EXCEPINFO;

typedef struct {
    union {
        void* p;
        uint32_t href;
    } u;
    VARTYPE vt;
} TYPEDESC;

typedef struct {
    GUID guid;
    uint32_t lcid, reserved;
    int32_t memidConstructor, memidDestructor;
    OLECHAR* schema;
    uint32_t cbSizeInstance;
    int32_t typekind;
    uint16_t cFuncs, cVars, cImplTypes, cbSizeVft, cbAlignment, wTypeFlags, wMajorVerNum, wMinorVerNum;
    TYPEDESC tdescAlias;
    struct {
        uintptr_t reserved;
        uint16_t flags;
    } idldesc;
} TYPEATTR;

typedef struct Unknown Unknown;
typedef struct {
    HRESULT (*QueryInterface)(Unknown*, const GUID*, void**);
    uint32_t (*AddRef)(Unknown*);
    uint32_t (*Release)(Unknown*);
} UnknownVtbl;
struct Unknown {
    const UnknownVtbl* vtbl;
};

typedef struct ClassFactory ClassFactory;
typedef struct {
    HRESULT (*QueryInterface)(ClassFactory*, const GUID*, void**);
    uint32_t (*AddRef)(ClassFactory*);
    uint32_t (*Release)(ClassFactory*);
    HRESULT (*CreateInstance)(ClassFactory*, Unknown*, const GUID*, void**);
    HRESULT (*LockServer)(ClassFactory*, int32_t);
} ClassFactoryVtbl;
struct ClassFactory {
    const ClassFactoryVtbl* vtbl;
};

typedef struct TypeInfo TypeInfo;
typedef struct TypeLib TypeLib;

typedef struct Dispatch Dispatch;
typedef struct {
    HRESULT (*QueryInterface)(Dispatch*, const GUID*, void**);
    uint32_t (*AddRef)(Dispatch*);
    uint32_t (*Release)(Dispatch*);
    HRESULT (*GetTypeInfoCount)(Dispatch*, uint32_t*);
    HRESULT (*GetTypeInfo)(Dispatch*, uint32_t, uint32_t, TypeInfo**);
    HRESULT (*GetIDsOfNames)(Dispatch*, const GUID*, OLECHAR**, uint32_t, uint32_t, int32_t*);
    HRESULT (*Invoke)(Dispatch*, int32_t, const GUID*, uint32_t, uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*, uint32_t*);
} DispatchVtbl;
struct Dispatch {
    const DispatchVtbl* vtbl;
};

typedef void* Slot;
typedef struct {
    HRESULT (*QueryInterface)(TypeInfo*, const GUID*, void**);
    uint32_t (*AddRef)(TypeInfo*);
    uint32_t (*Release)(TypeInfo*);
    HRESULT (*GetTypeAttr)(TypeInfo*, TYPEATTR**);
    Slot GetTypeComp, GetFuncDesc, GetVarDesc, GetNames, GetRefTypeOfImplType, GetImplTypeFlags, GetIDsOfNames,
        Invoke, GetDocumentation, GetDllEntry, GetRefTypeInfo, AddressOfMember, CreateInstance, GetMops;
    HRESULT (*GetContainingTypeLib)(TypeInfo*, TypeLib**, uint32_t*);
    void (*ReleaseTypeAttr)(TypeInfo*, TYPEATTR*);
    Slot ReleaseFuncDesc, ReleaseVarDesc;
} TypeInfoVtbl;
struct TypeInfo {
    const TypeInfoVtbl* vtbl;
};

typedef struct {
    HRESULT (*QueryInterface)(TypeLib*, const GUID*, void**);
    uint32_t (*AddRef)(TypeLib*);
    uint32_t (*Release)(TypeLib*);
    uint32_t (*GetTypeInfoCount)(TypeLib*);
    Slot GetTypeInfo, GetTypeInfoType, GetTypeInfoOfGuid, GetLibAttr, GetTypeComp;
    HRESULT (*GetDocumentation)(TypeLib*, int32_t, BSTR*, BSTR*, uint32_t*, BSTR*);
} TypeLibVtbl;
struct TypeLib {
    const TypeLibVtbl* vtbl;
};

enum { VT_I4 = 3, VT_R8 = 5 };
static const GUID kClsidTwain = {0x06e482ed, 0xa0cf, 0x41ad, {0xa6, 0xce, 0x0c, 0x2c, 0x79, 0x61, 0xd7, 0xca}};
static const GUID kIidTwain = {0xe88070e3, 0x5582, 0x4ba6, {0xa3, 0x4e, 0x3a, 0xb5, 0x18, 0x88, 0x57, 0xd3}};
static const GUID kIidClassFactory = {0x00000001, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID kIidDispatch = {0x00020400, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID kIidNull = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
static const int32_t kDispidGetVersion = 0x60030135;
static const int32_t kDispidGetStat = 0x60030136;

static int failures = 0;
#define CHECK(condition)                                                        \
    do {                                                                        \
        if (!(condition)) {                                                     \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                         \
        }                                                                       \
    } while (0)

/* A BSTR's block starts at its length field and comes from the C library's allocator. */
static void freeBstr(BSTR text) {
    if (text) free((char*)text - 4);
}

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
