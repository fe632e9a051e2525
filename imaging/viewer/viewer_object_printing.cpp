// The viewer's printing members bound to their dispatch IDs: settings go
// straight to the viewer's printer, print jobs through the control, which
// chooses the document.
#include "imaging/output/print/cprinter.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

using namespace com;
using typelib::MvViewerMemberId;

void ViewerObject::bindPrintingMembers() {
    ViewerControl& c = control_;
    // `call` gives the result's VARIANT (VT_EMPTY for none).
    auto bind = [&](const char* name, auto call) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = call(c, c.printer(), a);
            return S_OK;
        });
    };
    using P = cPrinter;
    using V = ViewerControl;
    using A = BoundArguments;
    const VARIANT none{};
    auto i2 = [](const A& a, size_t i) { return static_cast<int16_t>(a.i4(i)); };

    bind("PrintSetAutoRotation", [none](V&, P& p, const A& a) { p.m_AutomaticRotation = a.boolean(0); return none; });
    bind("PrintSetUserPaperSize", [none](V&, P& p, const A& a) { p.SetUserPaperSize(a.r4(0), a.r4(1)); return none; });
    bind("PrintSetPaperBin", [i2](V&, P& p, const A& a) { return MakeBool(p.SetPaperBin(i2(a, 0))); });
    bind("PrintGetPaperBin", [](V&, P& p, const A&) { return MakeI4(p.GetPaperBin()); });
    bind("PrintGetPaperHeight", [](V&, P& p, const A&) { return MakeR4(p.GetPaperHeight()); });
    bind("PrintGetPaperWidth", [](V&, P& p, const A&) { return MakeR4(p.GetPaperWidth()); });
    bind("PrintGetImageAlignment", [](V&, P& p, const A&) { return MakeI4(p.m_ImageAlignment); });
    bind("PrintSetImageAlignment", [none](V& v, P&, const A& a) { v.PrintSetImageAlignment(a.i4(0)); return none; });
    bind("PrintSetOrientation", [none](V& v, P&, const A& a) { v.PrintSetOrientation(a[0].iVal); return none; });
    bind("PrintGetOrientation", [](V&, P& p, const A&) { return MakeI2(p.GetOrientation()); });
    bind("PrintGetQuality", [](V&, P& p, const A&) { return MakeI4(p.GetQuality()); });
    bind("PrintSetQuality", [none, i2](V&, P& p, const A& a) { p.SetQuality(i2(a, 0)); return none; });
    bind("PrintGetDocumentName", [](V&, P& p, const A&) { return MakeBstrUtf8(p.m_DocumentName); });
    bind("PrintSetDocumentName", [none](V&, P& p, const A& a) { p.m_DocumentName = a.utf8(0); return none; });
    bind("PrintGetColorMode", [](V&, P& p, const A&) { return MakeI4(p.GetColorMode()); });
    bind("PrintSetColorMode", [none, i2](V&, P& p, const A& a) { p.SetColorMode(i2(a, 0)); return none; });
    bind("PrintSetCopies", [none, i2](V&, P& p, const A& a) { p.SetCopies(i2(a, 0)); return none; });
    bind("PrintGetCopies", [](V&, P& p, const A&) { return MakeI4(p.GetCopies()); });
    bind("PrintGetStat", [](V&, P& p, const A&) { return MakeI4(p.GetPrinterStat()); });
    bind("PrintSetDuplexMode", [none, i2](V&, P& p, const A& a) { p.SetDuplexMode(i2(a, 0)); return none; });
    bind("PrintGetDuplexMode", [](V&, P& p, const A&) { return MakeI4(p.GetDuplexMode()); });
    bind("PrintSetActivePrinter", [](V&, P& p, const A& a) { return MakeBool(p.SelectPrinter(a.utf8(0))); });
    bind("PrintGetActivePrinter", [](V&, P& p, const A&) { return MakeBstrUtf8(p.GetDefaultPrinter()); });
    bind("PrintSetFromToPage", [none](V&, P& p, const A& a) { p.SetFromToPage(a.i4(0), a.i4(1)); return none; });
    bind("PrintGetMargins", [none](V&, P& p, const A& a) {
        float left = a.r4(0), top = a.r4(1);
        p.GetMargins(left, top);
        a.setOut(0, MakeR4(left));
        a.setOut(1, MakeR4(top));
        return none;
    });
    bind("PrintGetPrintersCount", [](V&, P& p, const A&) { return MakeI4(p.GetPrintersCount()); });
    bind("PrintGetPrinterName", [](V&, P& p, const A& a) { return MakeBstrUtf8(p.GetPrinterName(a.i4(0))); });
    bind("PrintSetStdPaperSize", [none](V& v, P&, const A& a) { v.PrintSetStdPaperSize(a.i4(0)); return none; });
    bind("PrintGetPaperSize", [](V&, P& p, const A&) { return MakeI4(p.GetpaperSize()); });

    bind("PrintImageDialog", [](V& v, P&, const A&) { return MakeBool(v.PrintImageDialog(false, 0, 0, 0, 0)); });
    bind("PrintImageDialogFit", [](V& v, P&, const A&) { return MakeBool(v.PrintImageDialog(true, 0, 0, 0, 0)); });
    bind("PrintImageDialogBySize", [](V& v, P&, const A& a) {
        return MakeBool(v.PrintImageDialog(false, a.r4(0), a.r4(1), a.r4(2), a.r4(3)));
    });
    bind("PrintImage", [none](V& v, P&, const A&) { v.PrintImage(false); return none; });
    bind("PrintImageFit", [none](V& v, P&, const A&) { v.PrintImage(true); return none; });
    bind("PrintImageBySize", [none](V& v, P&, const A& a) {
        v.PrintImageBySize(a.r4(0), a.r4(1), a.r4(2), a.r4(3));
        return none;
    });
    bind("PrintImage2Printer", [](V& v, P&, const A& a) { return MakeBool(v.PrintImage2Printer(a.utf8(0))); });
    bind("PrintImageBySize2Printer", [](V& v, P&, const A& a) {
        return MakeBool(v.PrintImageBySize2Printer(a.utf8(0), a.r4(1), a.r4(2), a.r4(3), a.r4(4)));
    });
}

}  // namespace scanvelt
