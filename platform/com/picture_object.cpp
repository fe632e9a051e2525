#include "platform/com/picture_object.h"

#include <atomic>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/variant.h"
#include "platform/win/ole_picture.h"

namespace com {
namespace {

struct PictureProperty {
    std::u16string_view name;
    DISPID id;
};
constexpr PictureProperty kProperties[] = {{u"Handle", DISPID_PICT_HANDLE},
                                           {u"hPal", DISPID_PICT_HPAL},
                                           {u"Type", DISPID_PICT_TYPE},
                                           {u"Width", DISPID_PICT_WIDTH},
                                           {u"Height", DISPID_PICT_HEIGHT}};

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

class PictureObject final : public IDispatch {
public:
    explicit PictureObject(win::HPICTURE picture) : picture_(picture) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IPictureDisp) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        const uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT GetTypeInfoCount(uint32_t* count) override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo** typeInfo) override {
        if (typeInfo) *typeInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT GetIDsOfNames(REFIID, OLECHAR** names, uint32_t count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (uint32_t i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (const PictureProperty& p : kProperties) {
            if (names[0] && SameName(p.name, std::u16string_view(names[0]))) ids[0] = p.id;
        }
        // The properties take no named arguments.
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, uint16_t flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                   uint32_t*) override {
        if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
        if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        win::PictureInfo info;
        if (!win::GetPictureInfo(picture_, info)) return E_UNEXPECTED;
        int32_t value = 0;
        switch (id) {
            case DISPID_PICT_HANDLE: value = static_cast<int32_t>(info.handle); break;
            case DISPID_PICT_HPAL: value = static_cast<int32_t>(win::handleValue(info.palette)); break;
            case DISPID_PICT_TYPE: value = static_cast<int16_t>(info.type); break;
            case DISPID_PICT_WIDTH: value = info.width; break;
            case DISPID_PICT_HEIGHT: value = info.height; break;
            default: return DISP_E_MEMBERNOTFOUND;
        }
        if (result) *result = id == DISPID_PICT_TYPE ? MakeI2(static_cast<int16_t>(value)) : MakeI4(value);
        return S_OK;
    }

private:
    ~PictureObject() { win::PictureRelease(picture_); }

    win::HPICTURE picture_;
    std::atomic<uint32_t> references_{1};
};

}  // namespace

IDispatch* MakePictureObject(win::HPICTURE picture) {
    if (picture == win::HPICTURE{}) return nullptr;
    return new PictureObject(picture);
}

}  // namespace com
