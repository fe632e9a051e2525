#pragma once
// The binary interface of our COM layer. Hosts outside the project are built
// against exactly these layouts (Windows x86-64 layouts, the platform's normal
// C calling convention), so nothing here may change size or order.
#include <cstddef>
#include <cstdint>

#include "platform/win/guid.h"
#include "platform/win/hresult.h"

namespace com {

using win::HRESULT;
using GUID = win::Guid;
using IID = GUID;
using CLSID = GUID;
using REFIID = const GUID&;
using REFCLSID = const GUID&;
using DISPID = int32_t;
using MEMBERID = int32_t;
using LCID = uint32_t;
using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;
using OLECHAR = char16_t;
using BSTR = char16_t*;
using HREFTYPE = uint32_t;
using SCODE = int32_t;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

static_assert(sizeof(GUID) == 16 && offsetof(GUID, data4) == 8, "GUID is 16 bytes");

// Result codes.
using win::E_FAIL;
using win::E_INVALIDARG;
using win::E_OUTOFMEMORY;
using win::E_POINTER;
using win::FAILED;
using win::S_FALSE;
using win::S_OK;
using win::SUCCEEDED;
constexpr HRESULT E_NOTIMPL = win::makeHresult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = win::makeHresult(0x80004002u);
constexpr HRESULT E_UNEXPECTED = win::makeHresult(0x8000FFFFu);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = win::makeHresult(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = win::makeHresult(0x80020003u);
constexpr HRESULT DISP_E_PARAMNOTFOUND = win::makeHresult(0x80020004u);
constexpr HRESULT DISP_E_TYPEMISMATCH = win::makeHresult(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = win::makeHresult(0x80020006u);
constexpr HRESULT DISP_E_NONAMEDARGS = win::makeHresult(0x80020007u);
constexpr HRESULT DISP_E_BADVARTYPE = win::makeHresult(0x80020008u);
constexpr HRESULT DISP_E_EXCEPTION = win::makeHresult(0x80020009u);
constexpr HRESULT DISP_E_OVERFLOW = win::makeHresult(0x8002000Au);
constexpr HRESULT DISP_E_BADINDEX = win::makeHresult(0x8002000Bu);
constexpr HRESULT DISP_E_BADPARAMCOUNT = win::makeHresult(0x8002000Eu);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = win::makeHresult(0x8002000Fu);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = win::makeHresult(0x8002802Bu);
constexpr HRESULT TYPE_E_LIBNOTREGISTERED = win::makeHresult(0x8002801Du);
constexpr HRESULT CLASS_E_NOAGGREGATION = win::makeHresult(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = win::makeHresult(0x80040111u);
constexpr HRESULT REGDB_E_READREGDB = win::makeHresult(0x80040150u);
constexpr HRESULT REGDB_E_WRITEREGDB = win::makeHresult(0x80040151u);
constexpr HRESULT REGDB_E_CLASSNOTREG = win::makeHresult(0x80040154u);
constexpr HRESULT CONNECT_E_NOCONNECTION = win::makeHresult(0x80040200u);
constexpr HRESULT CONNECT_E_ADVISELIMIT = win::makeHresult(0x80040201u);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = win::makeHresult(0x80040202u);
constexpr HRESULT CO_E_CLASSSTRING = win::makeHresult(0x800401F3u);
constexpr HRESULT CO_E_DLLNOTFOUND = win::makeHresult(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = win::makeHresult(0x800401F9u);
constexpr HRESULT SELFREG_E_CLASS = win::makeHresult(0x80040201u);
constexpr HRESULT SELFREG_E_TYPELIB = win::makeHresult(0x80040200u);

// Variant types.
enum : VARTYPE {
    VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6, VT_DATE = 7,
    VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13,
    VT_DECIMAL = 14, VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20, VT_UI8 = 21,
    VT_INT = 22, VT_UINT = 23, VT_VOID = 24, VT_HRESULT = 25, VT_PTR = 26, VT_SAFEARRAY = 27,
    VT_CARRAY = 28, VT_USERDEFINED = 29, VT_LPSTR = 30, VT_LPWSTR = 31,
    VT_ARRAY = 0x2000, VT_BYREF = 0x4000, VT_TYPEMASK = 0x0FFF,
};

class IUnknown;
class IDispatch;
struct SAFEARRAY;

struct SAFEARRAYBOUND {
    uint32_t cElements;
    int32_t lLbound;
};

struct SAFEARRAY {
    uint16_t cDims;
    uint16_t fFeatures;
    uint32_t cbElements;
    uint32_t cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
};
static_assert(sizeof(SAFEARRAY) == 32, "SAFEARRAY layout");

struct VARIANT {
    VARTYPE vt;
    uint16_t wReserved1;
    uint16_t wReserved2;
    uint16_t wReserved3;
    union {
        int64_t llVal;
        int32_t lVal;
        uint8_t bVal;
        int16_t iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        int64_t cyVal;
        double date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        uint8_t* pbVal;
        int16_t* piVal;
        int32_t* plVal;
        int64_t* pllVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        void* byref;
        int8_t cVal;
        uint16_t uiVal;
        uint32_t ulVal;
        uint64_t ullVal;
        int32_t intVal;
        uint32_t uintVal;
        struct {
            void* pvRecord;
            void* pRecInfo;
        } record;
    };
};
static_assert(sizeof(VARIANT) == 24 && offsetof(VARIANT, lVal) == 8, "VARIANT is 24 bytes, value at 8");
using VARIANTARG = VARIANT;

struct DISPPARAMS {
    VARIANTARG* rgvarg;  // arguments in reverse order
    DISPID* rgdispidNamedArgs;
    uint32_t cArgs;
    uint32_t cNamedArgs;
};
static_assert(sizeof(DISPPARAMS) == 24, "DISPPARAMS layout");

struct EXCEPINFO {
    uint16_t wCode;
    uint16_t wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    uint32_t dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};
static_assert(sizeof(EXCEPINFO) == 64, "EXCEPINFO layout");

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;

constexpr uint16_t DISPATCH_METHOD = 1;
constexpr uint16_t DISPATCH_PROPERTYGET = 2;
constexpr uint16_t DISPATCH_PROPERTYPUT = 4;
constexpr uint16_t DISPATCH_PROPERTYPUTREF = 8;

// Well-known interface identifiers.
constexpr GUID makeOleGuid(uint32_t data1) { return GUID{data1, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }
inline constexpr IID IID_IUnknown = makeOleGuid(0x00000000);
inline constexpr IID IID_IClassFactory = makeOleGuid(0x00000001);
inline constexpr IID IID_IPersistStream = makeOleGuid(0x00000109);
inline constexpr IID IID_IPersistStorage = makeOleGuid(0x0000010A);
inline constexpr IID IID_IDispatch = makeOleGuid(0x00020400);
inline constexpr IID IID_ITypeInfo = makeOleGuid(0x00020401);
inline constexpr IID IID_ITypeLib = makeOleGuid(0x00020402);
inline constexpr IID IID_IStdOle = makeOleGuid(0x00020430);  // the stdole2 library
inline constexpr IID IID_IConnectionPointContainer = {0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint = {0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IProvideClassInfo = {0xB196B283, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IObjectSafety = {0xCB5BDC81, 0x93C1, 0x11CF, {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
inline constexpr IID IID_IPersistPropertyBag = {0x37D84F60, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IPropertyBag = {0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IErrorLog = {0x3127CA40, 0x446E, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

}  // namespace com
