/* The published binary interface as a plain C host sees it: COM types and
 * vtables in their slot order, VARIANT types and HRESULTs the hosts meet, the
 * class and interface IDs of Twain, BSTRs, and the checks the C hosts count
 * their failures with. */
#ifndef SCANVELT_C_HOST_ABI_H
#define SCANVELT_C_HOST_ABI_H
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

enum {
    VT_EMPTY = 0,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_BOOL = 11,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};
static const HRESULT kNotImplemented = (HRESULT)0x80004001;
static const HRESULT kMemberNotFound = (HRESULT)0x80020003;
static const GUID kClsidTwain = {0x06e482ed, 0xa0cf, 0x41ad, {0xa6, 0xce, 0x0c, 0x2c, 0x79, 0x61, 0xd7, 0xca}};
static const GUID kIidTwain = {0xe88070e3, 0x5582, 0x4ba6, {0xa3, 0x4e, 0x3a, 0xb5, 0x18, 0x88, 0x57, 0xd3}};
static const GUID kIidClassFactory = {0x00000001, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID kIidDispatch = {0x00020400, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID kIidNull = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
/* GetStat's number is this build's own: a host that must not rely on it binds
 * the name (c_host.c). */
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
static inline void freeBstr(BSTR text) {
    if (text) free((char*)text - 4);
}

/* A BSTR of ASCII text in a block of the C library's allocator; freeBstr frees it. */
static inline BSTR makeBstr(const char* text) {
    const uint32_t length = (uint32_t)strlen(text);
    char* block = (char*)malloc(4 + 2 * (size_t)length + 2);
    BSTR bstr = (BSTR)(block + 4);
    const uint32_t bytes = 2 * length;
    memcpy(block, &bytes, 4);
    for (uint32_t i = 0; i <= length; ++i) bstr[i] = (OLECHAR)(unsigned char)text[i];
    return bstr;
}

#endif
