#include "petty/scanning/late_bound_control.h"

#include <cstdio>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/variant.h"

namespace petty {

namespace {

const com::IID kNoInterface{};

com::VARIANT toVariant(const CallArgument& argument) {
    const auto& value = argument.value();
    if (const auto* number = std::get_if<int32_t>(&value)) return com::MakeI4(*number);
    if (const auto* flag = std::get_if<bool>(&value)) return com::MakeBool(*flag);
    return com::MakeBstrUtf8(std::get<std::string>(value));
}

std::string hresultText(com::HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

}  // namespace

LateBoundControl::LateBoundControl(com::IDispatch* control) : control_(control) {
    if (control_) control_->AddRef();
}

LateBoundControl::~LateBoundControl() {
    if (control_) control_->Release();
}

LateBoundControl::LateBoundControl(LateBoundControl&& other) noexcept : control_(other.control_) {
    other.control_ = nullptr;
}

LateBoundControl& LateBoundControl::operator=(LateBoundControl&& other) noexcept {
    if (this != &other) {
        if (control_) control_->Release();
        control_ = other.control_;
        other.control_ = nullptr;
    }
    return *this;
}

com::VARIANT LateBoundControl::invoke(com::DISPID id, std::initializer_list<CallArgument> args,
                                      com::VARTYPE type, uint16_t kind) const {
    if (!control_) throw ControlCallFailed("the control is not available");
    // The arguments travel last first.
    std::vector<com::VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = args.end(); it != args.begin();) reversed.push_back(toVariant(*--it));
    // A property's new value is the one named argument of a put.
    com::DISPID putName = com::DISPID_PROPERTYPUT;
    const bool isPut = kind == com::DISPATCH_PROPERTYPUT;
    com::DISPPARAMS params{reversed.data(), isPut ? &putName : nullptr, static_cast<uint32_t>(reversed.size()),
                           isPut ? 1u : 0u};
    com::VARIANT result;
    com::VariantInit(&result);
    com::EXCEPINFO exception{};
    uint32_t argumentError = 0;
    const com::HRESULT hr = control_->Invoke(id, kNoInterface, 0, kind, &params, &result,
                                             &exception, &argumentError);
    for (com::VARIANT& v : reversed) com::VariantClear(&v);
    std::string description;
    if (exception.bstrDescription) description = com::BstrToUtf8(exception.bstrDescription);
    com::SysFreeString(exception.bstrSource);
    com::SysFreeString(exception.bstrDescription);
    com::SysFreeString(exception.bstrHelpFile);
    if (com::FAILED(hr)) {
        com::VariantClear(&result);
        throw ControlCallFailed(description.empty() ? "the call failed (" + hresultText(hr) + ")" : description);
    }
    if (type == com::VT_EMPTY) {
        com::VariantClear(&result);
        return result;
    }
    com::VARIANT converted;
    com::VariantInit(&converted);
    const com::HRESULT conversion = com::VariantChangeType(&converted, &result, 0, type);
    com::VariantClear(&result);
    if (com::FAILED(conversion)) throw ControlCallFailed("the result has another type (" + hresultText(conversion) + ")");
    return converted;
}

void LateBoundControl::call(com::DISPID id, std::initializer_list<CallArgument> args) const {
    invoke(id, args, com::VT_EMPTY);
}

int32_t LateBoundControl::callLong(com::DISPID id, std::initializer_list<CallArgument> args) const {
    return invoke(id, args, com::VT_I4).lVal;
}

void LateBoundControl::put(com::DISPID id, CallArgument value) const {
    invoke(id, {std::move(value)}, com::VT_EMPTY, com::DISPATCH_PROPERTYPUT);
}

bool LateBoundControl::callBool(com::DISPID id, std::initializer_list<CallArgument> args) const {
    return invoke(id, args, com::VT_BOOL).boolVal != com::VARIANT_FALSE;
}

}  // namespace petty
