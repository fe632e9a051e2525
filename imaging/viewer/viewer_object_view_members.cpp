// The viewer's turning, clipboard, clearing and option members, and the
// selection rectangle's members, bound to their dispatch IDs.
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/dispatch_arguments.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;
using typelib::MvViewerMemberId;

// The errors a VB-style control raises for a value out of range.
constexpr SCODE kOverflow = static_cast<SCODE>(0x800A0006u);
constexpr SCODE kInvalidPropertyValue = static_cast<SCODE>(0x800A017Cu);

}  // namespace

void ViewerObject::bindPictureMembers() {
    ViewerControl& c = control_;
    auto bind = [&](const char* name, auto call, INVOKEKIND kind = INVOKE_FUNC) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO* e) {
            return call(c, a, result, e);
        }, kind);
    };
    const std::pair<const char*, int32_t> turns[] = {{"Rotate90", 1}, {"Rotate180", 2}, {"Rotate270", 3}, {"FlipX", 4},
                                                     {"FlipX90", 5},  {"FlipX180", 6},  {"FlipX270", 7}};
    for (auto [name, type] : turns) {
        bind(name, [type = type](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
            r = MakeI4(v.ApplyRotateFlip(type));
            return S_OK;
        });
    }
    bind("Copy2Clipboard", [](ViewerControl& v, const BoundArguments&, VARIANT&, EXCEPINFO*) {
        v.Copy2Clipboard();
        return S_OK;
    });
    bind("CopyRegion2Clipboard", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.CopyRegion2Clipboard(a.i4(0), a.i4(1), a.i4(2), a.i4(3));
        return S_OK;
    });
    bind("SetBackGroundColor", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.SetBackGroundColor(a.i4(0));
        return S_OK;
    });
    bind("Clear", [](ViewerControl& v, const BoundArguments&, VARIANT&, EXCEPINFO*) {
        v.Clear();
        return S_OK;
    });
    bind("ClearRect", [](ViewerControl& v, const BoundArguments&, VARIANT&, EXCEPINFO*) {
        v.ClearRectShown();
        return S_OK;
    });
    bind("GetTotalFrame", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeI4(v.GetTotalFrame());
        return S_OK;
    });
    bind("GetHeightMM", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeR4(v.GetHeightMM());
        return S_OK;
    });
    bind("GetWidthMM", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeR4(v.GetWidthMM());
        return S_OK;
    });
    bind("SetMouseIcon", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO* e) {
        int32_t status = v.SetMouseIcon(win::Utf16ToUtf8(a.text(0)));
        if (status == 0) return S_OK;
        return RaiseException(e, "MvViewer", "Can not load the mouse icon, error no: " + std::to_string(status),
                              static_cast<SCODE>(0x800A0000u | static_cast<uint32_t>(status & 0xFFFF)));
    });
    bind("GetnativePDF", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeI4(v.GetnativePDF());
        return S_OK;
    });

    // Options whose accessors do more than store and notify.
    bind("MouseButtonForMouseMode", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeI4(v.mouseButtonForMouseMode());
        return S_OK;
    }, INVOKE_PROPERTYGET);
    bind("MouseButtonForMouseMode", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.setMouseButtonForMouseMode(a.i4(0));
        return S_OK;
    }, INVOKE_PROPERTYPUT);
    bind("PDFShowDialogForPassword", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.settings().PDFShowDialogForPassword = a.boolean(0);  // kept without a change notice
        return S_OK;
    }, INVOKE_PROPERTYPUT);
    bind("PdfRenderingMode", [](ViewerControl&, const BoundArguments&, VARIANT&, EXCEPINFO*) { return S_OK; },
         INVOKE_PROPERTYPUT);
    bind("ClipControls", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeBool(v.settings().ClipControls);
        return S_OK;
    }, INVOKE_PROPERTYGET);
    bind("ClipControls", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.settings().ClipControls = a.boolean(0);
        v.notify("ClipControls");
        return S_OK;
    }, INVOKE_PROPERTYPUT);
}

void ViewerObject::bindSelectionMembers() {
    ViewerControl& c = control_;
    auto bind = [&](const char* name, auto call, INVOKEKIND kind = INVOKE_FUNC) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO* e) {
            return call(c, a, result, e);
        }, kind);
    };
    auto overflow = [](EXCEPINFO* e) { return RaiseException(e, "MvViewer", "Overflow", kOverflow); };
    auto refused = [](EXCEPINFO* e) {
        return RaiseException(e, "MvViewer", "Invalid property value", kInvalidPropertyValue);
    };
    // The four in/out values of a Get...Values member.
    auto outLongs = [](const BoundArguments& a, const int32_t (&v)[4]) {
        for (size_t i = 0; i < 4; ++i) a.setOut(i, MakeI4(v[i]));
    };
    auto outSingles = [](const BoundArguments& a, const float (&v)[4]) {
        for (size_t i = 0; i < 4; ++i) a.setOut(i, MakeR4(v[i]));
    };

    bind("isRectDrawed", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeBool(v.isRectDrawed());
        return S_OK;
    });
    bind("GetRectValues", [outLongs](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        int32_t r[4];
        v.GetRectValues(r[0], r[1], r[2], r[3]);
        outLongs(a, r);
        return S_OK;
    });
    const char* singles[] = {"GetRectX", "GetRectY", "GetRectWidth", "GetRectHeight"};
    for (size_t i = 0; i < 4; ++i) {
        bind(singles[i], [i](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
            int32_t values[4];
            v.GetRectValues(values[0], values[1], values[2], values[3]);
            r = MakeI4(values[i]);
            return S_OK;
        });
    }
    bind("GetRectValuesMM", [outSingles](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        float r[4] = {a.r4(0), a.r4(1), a.r4(2), a.r4(3)};
        v.GetRectValuesMM(r[0], r[1], r[2], r[3]);
        outSingles(a, r);
        return S_OK;
    });
    bind("GetRectValuesObject", [outLongs](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        int32_t r[4];
        v.GetRectValuesObject(r[0], r[1], r[2], r[3]);
        outLongs(a, r);
        return S_OK;
    });
    bind("SetRectValues", [overflow](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO* e) {
        return v.SetRectValues(a.i4(0), a.i4(1), a.i4(2), a.i4(3)) ? S_OK : overflow(e);
    });
    bind("SetRectValuesMM", [overflow](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO* e) {
        return v.SetRectValuesMM(a.r4(0), a.r4(1), a.r4(2), a.r4(3)) ? S_OK : overflow(e);
    });
    bind("SetRectValuesObject", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.SetRectValuesObject(a.i4(0), a.i4(1), a.i4(2), a.i4(3));
        return S_OK;
    });
    bind("GetDisplayedArea", [outLongs](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        int32_t r[4];
        v.GetDisplayedArea(r[0], r[1], r[2], r[3]);
        outLongs(a, r);
        return S_OK;
    });
    bind("GetDisplayedAreaMM", [outSingles](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        float r[4] = {a.r4(0), a.r4(1), a.r4(2), a.r4(3)};
        v.GetDisplayedAreaMM(r[0], r[1], r[2], r[3]);
        outSingles(a, r);
        return S_OK;
    });
    bind("CenterOnRect", [](ViewerControl& v, const BoundArguments&, VARIANT&, EXCEPINFO*) {
        v.CenterOnRect();
        return S_OK;
    });
    bind("ZoomRect", [](ViewerControl& v, const BoundArguments&, VARIANT& r, EXCEPINFO*) {
        r = MakeI4(v.ZoomRect());
        return S_OK;
    });

    // The outline's appearance.
    bind("RectBorderStyle", [refused](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO* e) {
        return v.setRectBorderStyle(a.i4(0)) ? S_OK : refused(e);
    }, INVOKE_PROPERTYPUT);
    bind("RectDrawMode", [refused](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO* e) {
        return v.setRectDrawMode(a.i4(0)) ? S_OK : refused(e);
    }, INVOKE_PROPERTYPUT);
    bind("RectBorderSize", [refused](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO* e) {
        return v.setRectBorderSize(a[0].iVal) ? S_OK : refused(e);
    }, INVOKE_PROPERTYPUT);
    bind("RectBorderColor", [](ViewerControl& v, const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        v.setRectBorderColor(a.i4(0));
        return S_OK;
    }, INVOKE_PROPERTYPUT);
}

}  // namespace scanvelt
