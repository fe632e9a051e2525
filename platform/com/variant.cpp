#include "platform/com/variant.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <variant>

#include "platform/com/bstr.h"
#include "platform/com/interfaces.h"
#include "platform/com/safearray.h"
#include "platform/win/text_encoding.h"

namespace com {
namespace {

// A value read out of a variant, ready to be written as another type.
struct Empty {};
using Scalar = std::variant<Empty, int64_t, uint64_t, double, bool, std::u16string>;

bool isAsciiSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Numbers as a host types them: decimal with an optional sign, fraction and
// exponent, or "&H" / "&O" integers; blanks around are allowed.
std::optional<Scalar> parseNumber(std::u16string_view text) {
    while (!text.empty() && isAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    if (ascii.size() > 2 && ascii[0] == '&' && (ascii[1] == 'H' || ascii[1] == 'h' || ascii[1] == 'O' || ascii[1] == 'o')) {
        int base = (ascii[1] == 'H' || ascii[1] == 'h') ? 16 : 8;
        char* end = nullptr;
        errno = 0;
        unsigned long long v = std::strtoull(ascii.c_str() + 2, &end, base);
        if (*end || errno || v > 0xFFFFFFFFull) return std::nullopt;
        // Like the hosts' own literals, "&HFFFF" style values are 32-bit and signed.
        return Scalar{int64_t{static_cast<int32_t>(static_cast<uint32_t>(v))}};
    }
    for (char c : ascii) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E')
            return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    bool integral = ascii.find_first_of(".eE") == std::string::npos;
    if (integral) {
        long long v = std::strtoll(ascii.c_str(), &end, 10);
        if (!*end && errno == 0) return Scalar{int64_t{v}};
    }
    errno = 0;
    double d = std::strtod(ascii.c_str(), &end);
    if (*end || end == ascii.c_str()) return std::nullopt;
    if (errno == ERANGE && std::isinf(d)) return std::nullopt;
    return Scalar{d};
}

std::u16string formatDouble(double d) {
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, d);
        if (std::strtod(buffer, nullptr) == d) break;
    }
    return win::Utf8ToUtf16(buffer);
}

const VARIANT* dereference(const VARIANT* source, VARIANT& scratch) {
    if (!(source->vt & VT_BYREF)) return source;
    if (!source->byref) return nullptr;
    VariantInit(&scratch);
    VARTYPE base = source->vt & ~VT_BYREF;
    scratch.vt = base;
    switch (base) {
        case VT_I1: case VT_UI1: scratch.bVal = *source->pbVal; break;
        case VT_I2: case VT_UI2: case VT_BOOL: scratch.iVal = *source->piVal; break;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_ERROR: case VT_R4:
            std::memcpy(&scratch.lVal, source->byref, 4);
            break;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE:
            std::memcpy(&scratch.llVal, source->byref, 8);
            break;
        case VT_BSTR: scratch.bstrVal = *source->pbstrVal; break;
        case VT_UNKNOWN: case VT_DISPATCH: scratch.punkVal = *source->ppunkVal; break;
        case VT_VARIANT: return dereference(source->pvarVal, scratch);
        default:
            if (base & VT_ARRAY) {
                scratch.parray = *source->pparray;
                break;
            }
            return nullptr;
    }
    return &scratch;  // borrowed contents: never cleared
}

std::optional<Scalar> readScalar(const VARIANT& v) {
    switch (v.vt) {
        case VT_EMPTY: return Scalar{Empty{}};
        case VT_I1: return Scalar{int64_t{v.cVal}};
        case VT_UI1: return Scalar{int64_t{v.bVal}};
        case VT_I2: return Scalar{int64_t{v.iVal}};
        case VT_UI2: return Scalar{int64_t{v.uiVal}};
        case VT_I4: case VT_INT: return Scalar{int64_t{v.lVal}};
        case VT_UI4: case VT_UINT: return Scalar{int64_t{v.ulVal}};
        case VT_I8: return Scalar{int64_t{v.llVal}};
        case VT_UI8: return Scalar{uint64_t{v.ullVal}};
        case VT_R4: return Scalar{double{v.fltVal}};
        case VT_R8: case VT_DATE: return Scalar{v.dblVal};
        case VT_CY: return Scalar{static_cast<double>(v.cyVal) / 10000.0};
        case VT_BOOL: return Scalar{v.boolVal != 0};
        case VT_BSTR: return Scalar{std::u16string(BstrView(v.bstrVal))};
        default: return std::nullopt;
    }
}

HRESULT toInteger(const Scalar& s, int64_t low, int64_t high, int64_t& out) {
    if (std::holds_alternative<Empty>(s)) { out = 0; return S_OK; }
    if (auto* b = std::get_if<bool>(&s)) { out = *b ? -1 : 0; return low < 0 || !*b ? S_OK : DISP_E_OVERFLOW; }
    if (auto* i = std::get_if<int64_t>(&s)) {
        if (*i < low || *i > high) return DISP_E_OVERFLOW;
        out = *i;
        return S_OK;
    }
    if (auto* u = std::get_if<uint64_t>(&s)) {
        if (*u > static_cast<uint64_t>(high)) return DISP_E_OVERFLOW;
        out = static_cast<int64_t>(*u);
        return S_OK;
    }
    if (auto* d = std::get_if<double>(&s)) {
        if (!std::isfinite(*d)) return DISP_E_OVERFLOW;
        double r = std::nearbyint(*d);  // the default rounding mode: halves to even
        if (r < static_cast<double>(low) || r > static_cast<double>(high)) return DISP_E_OVERFLOW;
        out = static_cast<int64_t>(r);
        return S_OK;
    }
    auto parsed = parseNumber(std::get<std::u16string>(s));
    if (!parsed) return DISP_E_TYPEMISMATCH;
    return toInteger(*parsed, low, high, out);
}

HRESULT toDouble(const Scalar& s, double& out) {
    if (auto* d = std::get_if<double>(&s)) { out = *d; return S_OK; }
    if (auto* t = std::get_if<std::u16string>(&s)) {
        auto parsed = parseNumber(*t);
        if (!parsed) return DISP_E_TYPEMISMATCH;
        return toDouble(*parsed, out);
    }
    if (auto* u = std::get_if<uint64_t>(&s)) { out = static_cast<double>(*u); return S_OK; }
    int64_t i = 0;
    HRESULT hr = toInteger(s, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), i);
    out = static_cast<double>(i);
    return hr;
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i] >= u'A' && a[i] <= u'Z' ? a[i] + 32 : a[i];
        char16_t y = b[i] >= u'A' && b[i] <= u'Z' ? b[i] + 32 : b[i];
        if (x != y) return false;
    }
    return true;
}

HRESULT toBool(const Scalar& s, bool& out) {
    if (auto* b = std::get_if<bool>(&s)) { out = *b; return S_OK; }
    if (auto* t = std::get_if<std::u16string>(&s)) {
        std::u16string_view text = *t;
        while (!text.empty() && isAsciiSpace(text.front())) text.remove_prefix(1);
        while (!text.empty() && isAsciiSpace(text.back())) text.remove_suffix(1);
        if (equalsNoCase(text, u"true")) { out = true; return S_OK; }
        if (equalsNoCase(text, u"false")) { out = false; return S_OK; }
    }
    double d = 0;
    HRESULT hr = toDouble(s, d);
    out = d != 0;
    return hr;
}

HRESULT toText(const Scalar& s, std::u16string& out) {
    if (std::holds_alternative<Empty>(s)) out.clear();
    else if (auto* t = std::get_if<std::u16string>(&s)) out = *t;
    else if (auto* b = std::get_if<bool>(&s)) out = *b ? u"True" : u"False";
    else if (auto* i = std::get_if<int64_t>(&s)) out = win::Utf8ToUtf16(std::to_string(*i));
    else if (auto* u = std::get_if<uint64_t>(&s)) out = win::Utf8ToUtf16(std::to_string(*u));
    else out = formatDouble(std::get<double>(s));
    return S_OK;
}

HRESULT writeScalar(const Scalar& s, VARTYPE vt, VARIANT& out) {
    VariantInit(&out);
    int64_t i = 0;
    HRESULT hr = S_OK;
    switch (vt) {
        case VT_EMPTY: return S_OK;
        case VT_I1: hr = toInteger(s, -128, 127, i); out.cVal = static_cast<int8_t>(i); break;
        case VT_UI1: hr = toInteger(s, 0, 255, i); out.bVal = static_cast<uint8_t>(i); break;
        case VT_I2: hr = toInteger(s, -32768, 32767, i); out.iVal = static_cast<int16_t>(i); break;
        case VT_UI2: hr = toInteger(s, 0, 65535, i); out.uiVal = static_cast<uint16_t>(i); break;
        case VT_I4: case VT_INT:
            hr = toInteger(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), i);
            out.lVal = static_cast<int32_t>(i);
            break;
        case VT_UI4: case VT_UINT:
            hr = toInteger(s, 0, std::numeric_limits<uint32_t>::max(), i);
            out.ulVal = static_cast<uint32_t>(i);
            break;
        case VT_I8:
            hr = toInteger(s, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), i);
            out.llVal = i;
            break;
        case VT_R4: {
            double d = 0;
            hr = toDouble(s, d);
            if (SUCCEEDED(hr) && std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) hr = DISP_E_OVERFLOW;
            out.fltVal = static_cast<float>(d);
            break;
        }
        case VT_R8: case VT_DATE: hr = toDouble(s, out.dblVal); break;
        case VT_BOOL: {
            bool b = false;
            hr = toBool(s, b);
            out.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        }
        case VT_BSTR: {
            std::u16string text;
            hr = toText(s, text);
            if (SUCCEEDED(hr)) {
                out.bstrVal = AllocBstr(text);
                if (!out.bstrVal) hr = E_OUTOFMEMORY;
            }
            break;
        }
        default: return DISP_E_BADVARTYPE;
    }
    if (FAILED(hr)) {
        VariantInit(&out);
        return hr;
    }
    out.vt = vt;
    return S_OK;
}

}  // namespace

void VariantInit(VARIANT* value) {
    if (value) std::memset(value, 0, sizeof *value);
}

HRESULT VariantClear(VARIANT* value) {
    if (!value) return E_INVALIDARG;
    if (!(value->vt & VT_BYREF)) {
        if (value->vt == VT_BSTR) SysFreeString(value->bstrVal);
        else if ((value->vt == VT_UNKNOWN || value->vt == VT_DISPATCH) && value->punkVal) value->punkVal->Release();
        else if (value->vt & VT_ARRAY) SafeArrayDestroy(value->parray);
    }
    VariantInit(value);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* target, const VARIANT* source) {
    if (!target || !source) return E_INVALIDARG;
    if (target == source) return S_OK;
    VARIANT copy = *source;
    if (!(source->vt & VT_BYREF)) {
        if (source->vt == VT_BSTR && source->bstrVal) {
            copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
            if (!copy.bstrVal) return E_OUTOFMEMORY;
        } else if ((source->vt == VT_UNKNOWN || source->vt == VT_DISPATCH) && source->punkVal) {
            source->punkVal->AddRef();
        } else if (source->vt & VT_ARRAY) {
            HRESULT hr = SafeArrayCopy(source->parray, &copy.parray);
            if (FAILED(hr)) return hr;
        }
    }
    VariantClear(target);
    *target = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* target, const VARIANT* source) {
    if (!target || !source) return E_INVALIDARG;
    VARIANT scratch;
    const VARIANT* value = dereference(source, scratch);
    if (!value) return DISP_E_BADVARTYPE;
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantCopy(&copy, value);
    if (FAILED(hr)) return hr;
    VariantClear(target);
    *target = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* target, const VARIANT* source, uint16_t flags, VARTYPE vt) {
    if (!target || !source) return E_INVALIDARG;
    VARIANT scratch;
    const VARIANT* value = dereference(source, scratch);
    if (!value) return DISP_E_BADVARTYPE;
    VARIANT result;
    VariantInit(&result);
    if (value->vt == vt || vt == VT_VARIANT) {
        HRESULT hr = VariantCopy(&result, value);
        if (FAILED(hr)) return hr;
    } else if (vt == VT_UNKNOWN && value->vt == VT_DISPATCH) {
        HRESULT hr = VariantCopy(&result, value);
        if (FAILED(hr)) return hr;
        result.vt = VT_UNKNOWN;
    } else {
        auto scalar = readScalar(*value);
        if (!scalar) return DISP_E_TYPEMISMATCH;
        HRESULT hr = writeScalar(*scalar, vt, result);
        if (FAILED(hr)) return hr;
    }
    VariantClear(target);
    *target = result;
    return S_OK;
}

HRESULT VariantStoreByRef(VARIANT* target, const VARIANT& value) {
    if (!target || !(target->vt & VT_BYREF) || !target->byref) return E_INVALIDARG;
    const VARTYPE pointee = target->vt & ~VT_BYREF;
    if (pointee == VT_VARIANT) return VariantCopy(target->pvarVal, &value);
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = (pointee & VT_ARRAY) ? VariantCopy(&converted, &value) : VariantChangeType(&converted, &value, 0, pointee);
    if (FAILED(hr)) return hr;
    if ((pointee & VT_ARRAY) && converted.vt != pointee) {
        VariantClear(&converted);
        return DISP_E_TYPEMISMATCH;
    }
    switch (pointee) {
        case VT_I4: *target->plVal = converted.lVal; break;
        case VT_I2: *target->piVal = converted.iVal; break;
        case VT_R4: *target->pfltVal = converted.fltVal; break;
        case VT_R8: *target->pdblVal = converted.dblVal; break;
        case VT_BOOL: *target->pboolVal = converted.boolVal; break;
        case VT_UI1: *target->pbVal = converted.bVal; break;
        case VT_BSTR:
            SysFreeString(*target->pbstrVal);
            *target->pbstrVal = converted.bstrVal;
            break;
        case VT_UNKNOWN: case VT_DISPATCH:
            if (*target->ppunkVal) (*target->ppunkVal)->Release();
            *target->ppunkVal = converted.punkVal;
            break;
        default:
            if (!(pointee & VT_ARRAY)) {
                VariantClear(&converted);
                return DISP_E_BADVARTYPE;
            }
            if (*target->pparray) SafeArrayDestroy(*target->pparray);
            *target->pparray = converted.parray;
    }
    return S_OK;
}

VARIANT MakeI4(int32_t value) { VARIANT v; VariantInit(&v); v.vt = VT_I4; v.lVal = value; return v; }
VARIANT MakeI2(int16_t value) { VARIANT v; VariantInit(&v); v.vt = VT_I2; v.iVal = value; return v; }
VARIANT MakeR4(float value) { VARIANT v; VariantInit(&v); v.vt = VT_R4; v.fltVal = value; return v; }
VARIANT MakeR8(double value) { VARIANT v; VariantInit(&v); v.vt = VT_R8; v.dblVal = value; return v; }
VARIANT MakeBool(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
VARIANT MakeBstr(std::u16string_view text) { VARIANT v; VariantInit(&v); v.vt = VT_BSTR; v.bstrVal = AllocBstr(text); return v; }
VARIANT MakeBstrUtf8(std::string_view text) { return MakeBstr(win::Utf8ToUtf16(text)); }
VARIANT MakeMissing() { VARIANT v; VariantInit(&v); v.vt = VT_ERROR; v.scode = DISP_E_PARAMNOTFOUND; return v; }
bool IsMissing(const VARIANT& value) { return value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND; }

}  // namespace com
