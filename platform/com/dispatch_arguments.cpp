#include "platform/com/dispatch_arguments.h"

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/win/text_encoding.h"

namespace com {
namespace {

VARIANT defaultVariant(const DefaultValue& value) {
    if (auto* i = std::get_if<int32_t>(&value)) return MakeI4(*i);
    if (auto* d = std::get_if<double>(&value)) return MakeR8(*d);
    if (auto* b = std::get_if<bool>(&value)) return MakeBool(*b);
    return MakeBstrUtf8(std::get<std::string>(value));
}

}  // namespace

BoundArguments::~BoundArguments() {
    for (auto& v : values_) VariantClear(&v);
}

std::u16string_view BoundArguments::text(size_t i) const {
    return values_[i].vt == VT_BSTR ? BstrView(values_[i].bstrVal) : std::u16string_view();
}

std::string BoundArguments::utf8(size_t i) const { return win::Utf16ToUtf8(text(i)); }

HRESULT BoundArguments::setOut(size_t i, const VARIANT& value) const {
    return byRef(i) ? VariantStoreByRef(targets_[i], value) : S_OK;
}

bool BoundArguments::setOutI4(size_t i, int32_t value) const {
    return byRef(i) && SUCCEEDED(setOut(i, MakeI4(value)));
}

VARTYPE WireType(VARTYPE declared) { return declared == VT_USERDEFINED ? VARTYPE{VT_I4} : declared; }

HRESULT BindArguments(const MemberModel& member, const DISPPARAMS* params, BoundArguments& bound,
                      uint32_t* argError) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params) params = &none;
    if (params->cNamedArgs > params->cArgs || (params->cArgs && !params->rgvarg) ||
        (params->cNamedArgs && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    const size_t count = member.params.size();
    if (params->cArgs > count) return DISP_E_BADPARAMCOUNT;

    // Which rgvarg slot feeds each parameter; -1 when it was not given.
    std::vector<int64_t> source(count, -1);
    uint32_t positional = params->cArgs - params->cNamedArgs;
    for (uint32_t p = 0; p < positional; ++p) source[p] = params->cArgs - 1 - p;
    for (uint32_t n = 0; n < params->cNamedArgs; ++n) {
        DISPID id = params->rgdispidNamedArgs[n];
        // The value of a property put is its last parameter.
        if (id == DISPID_PROPERTYPUT && member.kind != INVOKE_FUNC && count) id = static_cast<DISPID>(count - 1);
        if (id < 0 || static_cast<size_t>(id) >= count || source[static_cast<size_t>(id)] >= 0) {
            if (argError) *argError = n;
            return DISP_E_PARAMNOTFOUND;
        }
        source[static_cast<size_t>(id)] = n;
    }

    std::vector<VARIANT>& values = bound.values_;
    for (auto& v : values) VariantClear(&v);
    values.assign(count, VARIANT{});
    bound.targets_.assign(count, nullptr);
    for (size_t i = 0; i < count; ++i) {
        const ParamModel& param = member.params[i];
        VARIANT& out = values[i];
        VariantInit(&out);
        const VARIANT* given = source[i] >= 0 ? &params->rgvarg[source[i]] : nullptr;
        if (given && IsMissing(*given)) given = nullptr;
        if (given && (given->vt & VT_BYREF) && given->byref) bound.targets_[i] = const_cast<VARIANT*>(given);
        if (!given) {
            if (param.defaultValue) {
                VARIANT d = defaultVariant(*param.defaultValue);
                HRESULT hr = VariantChangeType(&out, &d, 0, WireType(param.type));
                VariantClear(&d);
                if (FAILED(hr)) return hr;
            } else if (param.optional) {
                out = MakeMissing();
            } else {
                return DISP_E_PARAMNOTOPTIONAL;
            }
            continue;
        }
        HRESULT hr;
        if (param.type == VT_SAFEARRAY) {
            hr = VariantCopyInd(&out, given);
            if (SUCCEEDED(hr) && !(out.vt & VT_ARRAY)) {
                VariantClear(&out);
                hr = DISP_E_TYPEMISMATCH;
            }
        } else {
            hr = VariantChangeType(&out, given, 0, WireType(param.type));
        }
        if (FAILED(hr)) {
            if (argError) *argError = static_cast<uint32_t>(source[i]);
            return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
        }
    }
    return S_OK;
}

HRESULT RaiseException(EXCEPINFO* exception, std::string_view source, std::string_view description, SCODE code) {
    if (exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = AllocBstrUtf8(source);
        exception->bstrDescription = AllocBstrUtf8(description);
        exception->scode = code;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace com
