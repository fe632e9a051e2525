// The viewer's turning, clipboard, clearing and millimetre members, and the
// selection rectangle's members. Methods of these families take the places
// from 0xd0 on.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> MvViewerViewMembers() {
    constexpr DISPID kMethodBase = 0x60030000;
    constexpr DISPID kPropertyBase = 0x68030000;
    std::vector<MemberModel> m;
    auto method = [&](int place, const char* name, std::vector<ParamModel> params, VARTYPE result) {
        m.push_back(Method(kMethodBase + place, name, std::move(params), result));
    };
    auto status = [&](int place, const char* name, std::vector<ParamModel> params = {}) {
        m.push_back(StatusMethod(kMethodBase + place, name, std::move(params)));
    };
    auto four = [](VARTYPE type, bool byRef) {
        std::vector<ParamModel> p;
        for (const char* name : {"nLeft", "nTop", "nWidth", "nHeight"})
            p.push_back(byRef ? ByRef(Param(name, type)) : Param(name, type));
        return p;
    };
    status(0xd0, "Rotate90");
    status(0xd1, "Rotate180");
    status(0xd2, "Rotate270");
    status(0xd3, "FlipX");
    status(0xd4, "FlipX90");
    status(0xd5, "FlipX180");
    status(0xd6, "FlipX270");
    method(0xd7, "Copy2Clipboard", {}, VT_EMPTY);
    method(0xd8, "CopyRegion2Clipboard", {Long("nSrcLeft"), Long("nSrcTop"), Long("nWidth"), Long("nHeight")}, VT_EMPTY);
    method(0xd9, "SetBackGroundColor", {Long("nRGBColor")}, VT_EMPTY);
    method(0xda, "Clear", {}, VT_EMPTY);
    method(0xdb, "ClearRect", {}, VT_EMPTY);
    method(0xdc, "GetTotalFrame", {}, VT_I4);
    method(0xdd, "GetHeightMM", {}, VT_R4);
    method(0xde, "GetWidthMM", {}, VT_R4);
    method(0xdf, "SetMouseIcon", {Text("sIconPath")}, VT_EMPTY);
    method(0xe0, "GetnativePDF", {}, VT_I4);
    method(0xe1, "isRectDrawed", {}, VT_BOOL);
    method(0xe2, "GetRectValues", four(VT_I4, true), VT_EMPTY);
    method(0xe3, "GetRectX", {}, VT_I4);
    method(0xe4, "GetRectY", {}, VT_I4);
    method(0xe5, "GetRectWidth", {}, VT_I4);
    method(0xe6, "GetRectHeight", {}, VT_I4);
    method(0xe7, "GetRectValuesMM", four(VT_R4, true), VT_EMPTY);
    method(0xe8, "GetRectValuesObject", four(VT_I4, true), VT_EMPTY);
    method(0xe9, "SetRectValues", four(VT_I4, false), VT_EMPTY);
    method(0xea, "SetRectValuesMM", four(VT_R4, false), VT_EMPTY);
    method(0xeb, "SetRectValuesObject", four(VT_I4, false), VT_EMPTY);
    method(0xec, "GetDisplayedArea", four(VT_I4, true), VT_EMPTY);
    method(0xed, "GetDisplayedAreaMM", four(VT_R4, true), VT_EMPTY);
    method(0xee, "CenterOnRect", {}, VT_EMPTY);
    status(0xef, "ZoomRect");
    for (INVOKEKIND kind : {INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT}) {
        MemberModel clip;
        clip.id = kPropertyBase + 0xd0;
        clip.name = "ClipControls";
        clip.kind = kind;
        clip.result = kind == INVOKE_PROPERTYGET ? VARTYPE{VT_BOOL} : VARTYPE{VT_EMPTY};
        if (kind == INVOKE_PROPERTYPUT) clip.params = {Param("vNewValue", VT_BOOL)};
        m.push_back(clip);
    }
    return m;
}

}  // namespace scanvelt::typelib
