#include "imaging/server/server_classes.h"

#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/server_objects.h"

namespace scanvelt::server {

const std::vector<com::ServerClass>& ServerClasses() {
    static const std::vector<com::ServerClass> classes = {
        {"Twain", "Scanvelt.Twain", true, 30000},
        {"MvViewer", "Scanvelt.MvViewer", true, 30001},
    };
    return classes;
}

com::HRESULT GetClassObject(com::REFCLSID clsid, com::REFIID iid, void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    com::ClassFactory* factory = nullptr;
    if (clsid == typelib::TwainClassId()) factory = new com::ClassFactory(&TwainObject::Create);
    else if (clsid == typelib::MvViewerClassId()) factory = new com::ClassFactory(&ViewerObject::Create);
    else return com::CLASS_E_CLASSNOTAVAILABLE;
    com::HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

}  // namespace scanvelt::server
