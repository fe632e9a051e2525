#include "imaging/viewer/viewer_object.h"

#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt {

ViewerObject::ViewerObject()
    : DispatchControl(typelib::ScanveltTypeLib(), "_MvViewer", typelib::MvViewerInterfaceIds(),
                      typelib::MvViewerSourceInterfaceIds()) {}

com::HRESULT ViewerObject::Create(com::REFIID iid, void** object) {
    auto* made = new ViewerObject();
    com::HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
}

}  // namespace scanvelt
