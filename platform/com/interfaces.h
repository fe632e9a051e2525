#pragma once
// The interfaces of our COM layer: classes of pure virtual functions with no
// virtual destructor, slots in the Windows COM order. A host written in C sees
// each as a pointer to a table of function pointers whose first argument is
// the object.
#include "platform/com/abi.h"

namespace com {

class ITypeInfo;
class ITypeLib;

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(uint32_t index, LCID lcid, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID iid, OLECHAR** names, uint32_t count, LCID lcid, DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, uint32_t* argError) = 0;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(int32_t lock) = 0;
};

class IConnectionPointContainer;

class IConnectionPoint : public IUnknown {
public:
    virtual HRESULT GetConnectionInterface(IID* iid) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
    virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(uint32_t cookie) = 0;
    virtual HRESULT EnumConnections(IUnknown** enumerator) = 0;
};

class IConnectionPointContainer : public IUnknown {
public:
    virtual HRESULT EnumConnectionPoints(IUnknown** enumerator) = 0;
    virtual HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) = 0;
};

// Object safety: option bits 1 (safe for untrusted callers) and 2 (safe for
// untrusted data).
constexpr uint32_t INTERFACESAFE_FOR_UNTRUSTED_CALLER = 1;
constexpr uint32_t INTERFACESAFE_FOR_UNTRUSTED_DATA = 2;

// The interface ID is taken by pointer: hosts may pass a null one.
class IObjectSafety : public IUnknown {
public:
    virtual HRESULT GetInterfaceSafetyOptions(const IID* iid, uint32_t* supported, uint32_t* enabled) = 0;
    virtual HRESULT SetInterfaceSafetyOptions(const IID* iid, uint32_t mask, uint32_t enabled) = 0;
};

class IErrorLog : public IUnknown {
public:
    virtual HRESULT AddError(const OLECHAR* property, EXCEPINFO* exception) = 0;
};

class IPropertyBag : public IUnknown {
public:
    virtual HRESULT Read(const OLECHAR* name, VARIANT* value, IErrorLog* log) = 0;
    virtual HRESULT Write(const OLECHAR* name, VARIANT* value) = 0;
};

class IPersist : public IUnknown {
public:
    virtual HRESULT GetClassID(CLSID* clsid) = 0;
};

class IPersistPropertyBag : public IPersist {
public:
    virtual HRESULT InitNew() = 0;
    virtual HRESULT Load(IPropertyBag* bag, IErrorLog* log) = 0;
    virtual HRESULT Save(IPropertyBag* bag, int32_t clearDirty, int32_t saveAll) = 0;
};

// Type information, as far as hosts read it.
enum TYPEKIND : int32_t {
    TKIND_ENUM = 0, TKIND_RECORD, TKIND_MODULE, TKIND_INTERFACE, TKIND_DISPATCH, TKIND_COCLASS, TKIND_ALIAS,
    TKIND_UNION,
};
enum FUNCKIND : int32_t { FUNC_VIRTUAL = 0, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH };
enum INVOKEKIND : int32_t { INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8 };
enum CALLCONV : int32_t { CC_CDECL = 1, CC_STDCALL = 4 };
enum VARKIND : int32_t { VAR_PERINSTANCE = 0, VAR_STATIC, VAR_CONST, VAR_DISPATCH };
enum SYSKIND : int32_t { SYS_WIN16 = 0, SYS_WIN32, SYS_MAC, SYS_WIN64 };

constexpr uint16_t PARAMFLAG_FIN = 0x1;
constexpr uint16_t PARAMFLAG_FOUT = 0x2;
constexpr uint16_t PARAMFLAG_FRETVAL = 0x8;
constexpr uint16_t PARAMFLAG_FOPT = 0x10;
constexpr uint16_t PARAMFLAG_FHASDEFAULT = 0x20;
constexpr int32_t IMPLTYPEFLAG_FDEFAULT = 0x1;
constexpr int32_t IMPLTYPEFLAG_FSOURCE = 0x2;

struct TYPEDESC {
    union {
        TYPEDESC* lptdesc;
        void* lpadesc;
        HREFTYPE hreftype;
    };
    VARTYPE vt;
};

struct PARAMDESCEX {
    uint32_t cBytes;
    VARIANT varDefaultValue;
};

struct PARAMDESC {
    PARAMDESCEX* pparamdescex;
    uint16_t wParamFlags;
};

struct IDLDESC {
    uintptr_t dwReserved;
    uint16_t wIDLFlags;
};

struct ELEMDESC {
    TYPEDESC tdesc;
    union {
        IDLDESC idldesc;
        PARAMDESC paramdesc;
    };
};

struct TYPEATTR {
    GUID guid;
    LCID lcid;
    uint32_t dwReserved;
    MEMBERID memidConstructor;
    MEMBERID memidDestructor;
    OLECHAR* lpstrSchema;
    uint32_t cbSizeInstance;
    TYPEKIND typekind;
    uint16_t cFuncs;
    uint16_t cVars;
    uint16_t cImplTypes;
    uint16_t cbSizeVft;
    uint16_t cbAlignment;
    uint16_t wTypeFlags;
    uint16_t wMajorVerNum;
    uint16_t wMinorVerNum;
    TYPEDESC tdescAlias;
    IDLDESC idldescType;
};

struct FUNCDESC {
    MEMBERID memid;
    SCODE* lprgscode;
    ELEMDESC* lprgelemdescParam;
    FUNCKIND funckind;
    INVOKEKIND invkind;
    CALLCONV callconv;
    int16_t cParams;
    int16_t cParamsOpt;
    int16_t oVft;
    int16_t cScodes;
    ELEMDESC elemdescFunc;
    uint16_t wFuncFlags;
};

struct VARDESC {
    MEMBERID memid;
    OLECHAR* lpstrSchema;
    union {
        uint32_t oInst;
        VARIANT* lpvarValue;
    };
    ELEMDESC elemdescVar;
    uint16_t wVarFlags;
    VARKIND varkind;
};

struct TLIBATTR {
    GUID guid;
    LCID lcid;
    SYSKIND syskind;
    uint16_t wMajorVerNum;
    uint16_t wMinorVerNum;
    uint16_t wLibFlags;
};

static_assert(sizeof(TYPEDESC) == 16 && sizeof(ELEMDESC) == 32, "TYPEDESC and ELEMDESC layouts");
static_assert(sizeof(TYPEATTR) == 96 && offsetof(TYPEATTR, typekind) == 44 && offsetof(TYPEATTR, tdescAlias) == 64,
              "TYPEATTR layout");
static_assert(sizeof(FUNCDESC) == 88 && offsetof(FUNCDESC, elemdescFunc) == 48, "FUNCDESC layout");
static_assert(sizeof(VARDESC) == 64 && offsetof(VARDESC, varkind) == 60, "VARDESC layout");
static_assert(sizeof(TLIBATTR) == 32, "TLIBATTR layout");

class ITypeInfo : public IUnknown {
public:
    virtual HRESULT GetTypeAttr(TYPEATTR** attributes) = 0;
    virtual HRESULT GetTypeComp(IUnknown** typeComp) = 0;
    virtual HRESULT GetFuncDesc(uint32_t index, FUNCDESC** description) = 0;
    virtual HRESULT GetVarDesc(uint32_t index, VARDESC** description) = 0;
    virtual HRESULT GetNames(MEMBERID id, BSTR* names, uint32_t maxNames, uint32_t* count) = 0;
    virtual HRESULT GetRefTypeOfImplType(uint32_t index, HREFTYPE* reference) = 0;
    virtual HRESULT GetImplTypeFlags(uint32_t index, int32_t* flags) = 0;
    virtual HRESULT GetIDsOfNames(OLECHAR** names, uint32_t count, MEMBERID* ids) = 0;
    virtual HRESULT Invoke(void* instance, MEMBERID id, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, uint32_t* argError) = 0;
    virtual HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* docString, uint32_t* helpContext,
                                     BSTR* helpFile) = 0;
    virtual HRESULT GetDllEntry(MEMBERID id, INVOKEKIND kind, BSTR* dllName, BSTR* name, uint16_t* ordinal) = 0;
    virtual HRESULT GetRefTypeInfo(HREFTYPE reference, ITypeInfo** typeInfo) = 0;
    virtual HRESULT AddressOfMember(MEMBERID id, INVOKEKIND kind, void** address) = 0;
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT GetMops(MEMBERID id, BSTR* mops) = 0;
    virtual HRESULT GetContainingTypeLib(ITypeLib** library, uint32_t* index) = 0;
    virtual void ReleaseTypeAttr(TYPEATTR* attributes) = 0;
    virtual void ReleaseFuncDesc(FUNCDESC* description) = 0;
    virtual void ReleaseVarDesc(VARDESC* description) = 0;
};

class ITypeLib : public IUnknown {
public:
    virtual uint32_t GetTypeInfoCount() = 0;
    virtual HRESULT GetTypeInfo(uint32_t index, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetTypeInfoType(uint32_t index, TYPEKIND* kind) = 0;
    virtual HRESULT GetTypeInfoOfGuid(REFIID guid, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetLibAttr(TLIBATTR** attributes) = 0;
    virtual HRESULT GetTypeComp(IUnknown** typeComp) = 0;
    virtual HRESULT GetDocumentation(int32_t index, BSTR* name, BSTR* docString, uint32_t* helpContext,
                                     BSTR* helpFile) = 0;
    virtual HRESULT IsName(OLECHAR* name, uint32_t hash, int32_t* found) = 0;
    virtual HRESULT FindName(OLECHAR* name, uint32_t hash, ITypeInfo** typeInfos, MEMBERID* ids,
                             uint16_t* found) = 0;
    virtual void ReleaseTLibAttr(TLIBATTR* attributes) = 0;
};

}  // namespace com
