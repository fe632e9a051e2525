#include "imaging/viewer/viewer_object.h"

#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_property_bag.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

using namespace com;

ViewerObject::ViewerObject()
    : DispatchControl(typelib::ScanveltTypeLib(), "_MvViewer", typelib::MvViewerInterfaceIds(),
                      typelib::MvViewerSourceInterfaceIds()),
      control_([this](DISPID id, std::vector<VARIANT>& args) {
          FireEvent(id, args);
          for (auto& a : args) VariantClear(&a);
      },
               [this](const std::string& key) { propertyChanged(key); }) {
    bindFrameMembers();
    bindDocumentMembers();
    bindViewMembers();
    bindPictureMembers();
    bindSelectionMembers();
    bindPdfAndFrameMembers();
    bindInternetMembers();
    bindPrintingMembers();
}

ViewerObject::~ViewerObject() {
    control_.Terminate();
    control_.setSite(nullptr);
    if (site_) site_->Release();
}

HRESULT ViewerObject::Create(REFIID iid, void** object) {
    auto* made = new ViewerObject();
    HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
}

HRESULT ViewerObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IControlSurface) {
        *object = static_cast<IControlSurface*>(this);
    } else if (iid == IID_IPersistPropertyBag || iid == makeOleGuid(0x0000010C)) {
        *object = static_cast<IPersistPropertyBag*>(this);
    } else {
        return DispatchControl::QueryInterface(iid, object);
    }
    AddRef();
    return S_OK;
}

void ViewerObject::propertyChanged(const std::string& key) {
    if (!site_) return;
    DISPID id = typelib::MvViewerMemberId(key == "Gamma" ? "gamma" : key == "Zoom" ? "ZOOM" : key);
    site_->PropertyChanged(id);
}

// --- the face ---

HRESULT ViewerObject::SetSite(IControlSite* site) {
    if (site) site->AddRef();
    control_.setSite(site);
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
}

HRESULT ViewerObject::Show(int32_t visible) {
    if (visible) control_.Show();
    return S_OK;
}

HRESULT ViewerObject::Resize(int32_t width, int32_t height) {
    control_.Resize(width, height);
    return S_OK;
}

HRESULT ViewerObject::GetBackBuffer(ControlBackBuffer* buffer) {
    if (!buffer) return E_POINTER;
    const BackBuffer& b = control_.backBuffer();
    *buffer = ControlBackBuffer{b.pixels(), b.width(), b.height(), b.stride()};
    return b.pixels() ? S_OK : S_FALSE;
}

HRESULT ViewerObject::MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    control_.MouseDown(button, x, y, shift);
    return S_OK;
}
HRESULT ViewerObject::MouseMove(int32_t button, int32_t shift, int32_t x, int32_t y) {
    control_.MouseMove(button, x, y, shift);
    return S_OK;
}
HRESULT ViewerObject::MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y) {
    control_.MouseUp(button, x, y, shift);
    return S_OK;
}
HRESULT ViewerObject::DoubleClick(int32_t, int32_t, int32_t, int32_t) {
    control_.DoubleClick();
    return S_OK;
}
HRESULT ViewerObject::MouseWheel(int32_t delta, int32_t, int32_t, int32_t) {
    control_.MouseWheel(delta);
    return S_OK;
}
HRESULT ViewerObject::KeyDown(int32_t keyCode, int32_t shift) {
    control_.KeyDown(keyCode, shift);
    return S_OK;
}
HRESULT ViewerObject::KeyUp(int32_t keyCode, int32_t shift) {
    control_.KeyUp(keyCode, shift);
    return S_OK;
}
HRESULT ViewerObject::KeyPress(int32_t character) {
    control_.KeyPress(character);
    return S_OK;
}
HRESULT ViewerObject::FocusIn() {
    control_.FocusIn();
    return S_OK;
}
HRESULT ViewerObject::FocusOut() {
    control_.FocusOut();
    return S_OK;
}
HRESULT ViewerObject::TimerFired(uint32_t id) {
    control_.TimerFired(id);
    return S_OK;
}
HRESULT ViewerObject::FilesDropped(const OLECHAR* const* paths, uint32_t count, int32_t, int32_t) {
    if (!paths && count) return E_POINTER;
    std::vector<std::string> list;
    for (uint32_t i = 0; i < count; ++i)
        if (paths[i]) list.push_back(win::Utf16ToUtf8(paths[i]));
    control_.FilesDropped(list);
    return S_OK;
}

// --- the property bag ---

HRESULT ViewerObject::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = typelib::MvViewerClassId();
    return S_OK;
}

HRESULT ViewerObject::InitNew() {
    control_.InitProperties();
    return S_OK;
}

HRESULT ViewerObject::Load(IPropertyBag* bag, IErrorLog*) {
    if (!bag) return E_POINTER;
    HRESULT hr = ReadViewerSettings(*bag, control_.settings());
    control_.ApplyReadProperties();
    return hr;
}

HRESULT ViewerObject::Save(IPropertyBag* bag, int32_t, int32_t) {
    if (!bag) return E_POINTER;
    return WriteViewerSettings(control_.settings(), *bag);
}

}  // namespace scanvelt
