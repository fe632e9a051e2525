#include "imaging/twain/twain_object.h"

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/bstr.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

std::string utf8(std::u16string_view text) { return win::Utf16ToUtf8(text); }

// The frame's members by their dispatch IDs in the type library.
DISPID idOf(const char* name) {
    return FindMemberId(*FindType(typelib::ScanveltTypeLib(), "_Twain"), win::Utf8ToUtf16(name));
}

}  // namespace

TwainObject::TwainObject()
    : DispatchControl(typelib::ScanveltTypeLib(), "_Twain", typelib::TwainInterfaceIds(),
                      typelib::TwainSourceInterfaceIds()) {
    bindFrameMembers();
    bindPdfMembers();
    bindColourMembers();
    bindConversionMembers();
    bindFileOutputMembers();
    bindImageInfoMembers();
    bindTextMembers();
    bindDeskewMembers();
    bindOcrMembers();
    bindBarcodeMembers();
    bindFormatsMembers();
    bindAcquisitionMembers();
    bindCapabilityMembers();
    bindFeatureMembers();
}

HRESULT TwainObject::Create(REFIID iid, void** object) {
    auto* made = new TwainObject();
    HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
}

void TwainObject::bindFrameMembers() {
    Bind(idOf("GetVersion"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeR8(control_.GetVersion());
        return S_OK;
    });
    Bind(idOf("GetStat"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(control_.GetStat());
        return S_OK;
    });
    Bind(idOf("SetROI"), [this](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        control_.SetROI(a.i4(0), a.i4(1), a.i4(2), a.i4(3));
        return S_OK;
    });
    Bind(idOf("ResetROI"), [this](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        control_.ResetROI();
        return S_OK;
    });
    Bind(idOf("IsBlank"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(control_.IsBlank(a.r4(0)));
        return S_OK;
    });
    Bind(idOf("Encode64String"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(control_.Encode64String(utf8(a.text(0))));
        return S_OK;
    });
    Bind(idOf("Decode64String"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(control_.Decode64String(utf8(a.text(0))));
        return S_OK;
    });
    Bind(idOf("SetHttpTransfertBufferSize"), [this](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        control_.SetHttpTransfertBufferSize(a.i4(0));
        return S_OK;
    });
    Bind(idOf("SetFtpPassiveMode"), [this](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        control_.SetFtpPassiveMode(a.boolean(0));
        return S_OK;
    });
    Bind(idOf("GetDesktopHwnd"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(control_.GetDesktopHwnd());
        return S_OK;
    });
}

}  // namespace scanvelt
