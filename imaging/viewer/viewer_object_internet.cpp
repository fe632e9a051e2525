// The viewer's internet members bound to their dispatch IDs.
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

using namespace com;
using typelib::MvViewerMemberId;

void ViewerObject::bindInternetMembers() {
    ViewerControl& c = control_;
    Bind(MvViewerMemberId("DisplayFromURL"), [&c](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(c.DisplayFromURL(a.utf8(0), a.utf8(1), a.i4(2)));
        return S_OK;
    });
    Bind(MvViewerMemberId("DisplayFromURLStop"), [&c](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        c.DisplayFromURLStop();
        return S_OK;
    });
    Bind(MvViewerMemberId("SetHttpTransfertBufferSize"), [&c](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        c.SetHttpTransfertBufferSize(a.i4(0));
        return S_OK;
    });
    Bind(MvViewerMemberId("DisplayFromFTP"), [&c](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(c.DisplayFromFTP(a.utf8(0), a.utf8(1), a.utf8(2), a.utf8(3), a.i4(4)));
        return S_OK;
    });
    Bind(MvViewerMemberId("SetFtpPassiveMode"), [&c](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        c.SetFtpPassiveMode(a.boolean(0));
        return S_OK;
    });
}

}  // namespace scanvelt
