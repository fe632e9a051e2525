// The members of _MvViewer for PDF documents, pages and frames, GIF
// animation and the image's tags, bound to their dispatch IDs.
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

using namespace com;
using typelib::MvViewerMemberId;

void ViewerObject::bindPdfAndFrameMembers() {
    ViewerControl& c = control_;
    auto number = [&](const char* name, auto call) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(call(c, a));
            return S_OK;
        });
    };
    auto text = [&](const char* name, auto call) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeBstrUtf8(call(c, a));
            return S_OK;
        });
    };
    using A = const BoundArguments&;
    number("DisplayFromPdfFile", [](ViewerControl& v, A a) {
        return v.DisplayFromPdfFile(win::Utf16ToUtf8(a.text(0)), win::Utf16ToUtf8(a.text(1)));
    });
    const char* descriptions[] = {"PdfGetVersion", "PdfGetAuthor", "PdfGetTitle", "PdfGetSubject", "PdfGetKeywords",
                                  "PdfGetCreator", "PdfGetProducer", "PdfGetCreationDate", "PdfGetModificationDate"};
    for (int32_t item = 0; item < 9; ++item)
        text(descriptions[item], [item](ViewerControl& v, A) { return v.PdfDescription(item); });
    text("PdfGetMetadata", [](ViewerControl& v, A) { return v.PdfMetadata(); });

    number("DisplayFrame", [](ViewerControl& v, A a) { return v.DisplayFrame(a.i4(0)); });
    number("DisplayNextFrame", [](ViewerControl& v, A) { return v.DisplayNextFrame(); });
    number("DisplayPreviousFrame", [](ViewerControl& v, A) { return v.DisplayPreviousFrame(); });
    number("DisplayFirstFrame", [](ViewerControl& v, A) { return v.DisplayFirstFrame(); });
    number("DisplayLastFrame", [](ViewerControl& v, A) { return v.DisplayLastFrame(); });
    number("PlayGif", [](ViewerControl& v, A) { return v.PlayGif(); });
    Bind(MvViewerMemberId("StopGif"), [&c](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        c.StopGif();
        return S_OK;
    });
    number("ExifTagCount", [](ViewerControl& v, A) { return v.ExifTagCount(); });
    text("ExifTagGetName", [](ViewerControl& v, A a) { return v.ExifTagGetName(a.i4(0)); });
    text("ExifTagGetValue", [](ViewerControl& v, A a) { return v.ExifTagGetValue(a.i4(0)); });
    number("ExifTagGetID", [](ViewerControl& v, A a) { return v.ExifTagGetID(a.i4(0)); });
    number("IPTCTagCount", [](ViewerControl& v, A) { return v.IPTCTagCount(); });
    number("IPTCTagGetID", [](ViewerControl& v, A a) { return v.IPTCTagGetID(a.i4(0)); });
    text("IPTCTagGetValueString", [](ViewerControl& v, A a) { return v.IPTCTagGetValueString(a.i4(0)); });
}

}  // namespace scanvelt
