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
    auto utf8 = [](const BoundArguments& a, size_t i) { return win::Utf16ToUtf8(a.text(i)); };
    Bind(MvViewerMemberId("DisplayFromURL"), [&c, utf8](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(c.DisplayFromURL(utf8(a, 0), utf8(a, 1), a.i4(2)));
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
    Bind(MvViewerMemberId("DisplayFromFTP"), [&c, utf8](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(c.DisplayFromFTP(utf8(a, 0), utf8(a, 1), utf8(a, 2), utf8(a, 3), a.i4(4)));
        return S_OK;
    });
    Bind(MvViewerMemberId("SetFtpPassiveMode"), [&c](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        c.SetFtpPassiveMode(a.boolean(0));
        return S_OK;
    });
}

}  // namespace scanvelt
