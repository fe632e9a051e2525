#include "platform/com/property_bag.h"

#include "platform/com/variant.h"

namespace com {
namespace {

std::u16string fold(const OLECHAR* name) {
    std::u16string out(name);
    for (auto& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return out;
}

}  // namespace

MemoryPropertyBag::~MemoryPropertyBag() {
    for (auto& [name, value] : values_) VariantClear(&value);
}

HRESULT MemoryPropertyBag::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
        *object = static_cast<IPropertyBag*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

uint32_t MemoryPropertyBag::Release() {
    uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT MemoryPropertyBag::Read(const OLECHAR* name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    auto it = values_.find(fold(name));
    if (it == values_.end()) return E_INVALIDARG;
    // A caller that names a type gets the value in it.
    if (value->vt != VT_EMPTY && value->vt != it->second.vt) {
        VARTYPE wanted = value->vt;
        VariantClear(value);
        return VariantChangeType(value, &it->second, 0, wanted);
    }
    return VariantCopy(value, &it->second);
}

HRESULT MemoryPropertyBag::Write(const OLECHAR* name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantCopyInd(&copy, value);
    if (FAILED(hr)) return hr;
    auto& slot = values_[fold(name)];
    VariantClear(&slot);
    slot = copy;
    return S_OK;
}

}  // namespace com
