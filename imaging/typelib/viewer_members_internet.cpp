// The viewer's members that fetch a document over HTTP(S) or FTP.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> MvViewerInternetMembers() {
    constexpr DISPID base = 0x60030100;
    return {
        StatusMethod(base + 0, "DisplayFromURL", {Text("sHost"), Text("sPath"), LongOr("nHTTPPort", 80)}),
        Method(base + 1, "DisplayFromURLStop", {}, VT_EMPTY),
        Method(base + 2, "SetHttpTransfertBufferSize", {Long("nBuffersize")}, VT_EMPTY),
        StatusMethod(base + 3, "DisplayFromFTP",
                     {Text("sHost"), Text("sPath"), TextOr("sLogin", ""), TextOr("sPassword", ""),
                      LongOr("nFTPPort", 21)}),
        Method(base + 4, "SetFtpPassiveMode", {Flag("bPassiveMode")}, VT_EMPTY),
    };
}

}  // namespace scanvelt::typelib
