// The members of _MvViewer and the events of __MvViewer.
//
// Numbering: a member's number is its place n in the interface (properties
// first, then methods): a property answers 0x68030000 + n (get and put alike),
// a method 0x60030000 + n. The 53 persisted properties take the places 0..52
// in the order of the property bag; methods start at place 0x35. Places of
// members that the viewer does not offer stay unused.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

namespace {

constexpr DISPID kPropertyBase = 0x68030000;
constexpr DISPID kMethodBase = 0x60030000;

// A property's get and put; `enumeration` names the type of an enumerated one.
void Property(std::vector<MemberModel>& into, int place, const char* name, VARTYPE type,
              const char* enumeration = nullptr, bool readOnly = false) {
    MemberModel get;
    get.id = kPropertyBase + place;
    get.name = name;
    get.kind = INVOKE_PROPERTYGET;
    get.result = enumeration ? VARTYPE{VT_USERDEFINED} : type;
    if (enumeration) get.resultTypeName = enumeration;
    into.push_back(get);
    if (readOnly) return;
    MemberModel put = get;
    put.kind = INVOKE_PROPERTYPUT;
    put.result = VT_EMPTY;
    put.resultTypeName.clear();
    put.params = {enumeration ? EnumParam("vNewValue", enumeration) : Param("vNewValue", type)};
    into.push_back(put);
}

ParamModel Single(const char* name) { return Param(name, VT_R4); }
ParamModel Double(const char* name) { return Param(name, VT_R8); }

}  // namespace

std::vector<MemberModel> MvViewerMembers() {
    std::vector<MemberModel> m;
    // The persisted properties, in the order of the property bag.
    Property(m, 0, "ScrollBars", VT_BOOL);
    Property(m, 1, "EnableMenu", VT_BOOL);
    Property(m, 2, "ZOOM", VT_R8);
    Property(m, 3, "ImageWidth", VT_I4);
    Property(m, 4, "ImageHeight", VT_I4);
    Property(m, 5, "MouseMode", VT_I4, "ViewerMouseMode");
    Property(m, 6, "ZoomStep", VT_I4);
    Property(m, 7, "ScrollSmallChange", VT_I2);
    Property(m, 8, "ScrollLargeChange", VT_I2);
    Property(m, 9, "VerticalResolution", VT_R4);
    Property(m, 10, "HorizontalResolution", VT_R4);
    Property(m, 11, "PageCount", VT_I4);
    Property(m, 12, "CurrentPage", VT_I4);
    Property(m, 13, "SilentMode", VT_BOOL);
    Property(m, 14, "PdfDpiRendering", VT_I4);
    Property(m, 15, "PdfForceTemporaryMode", VT_BOOL);
    Property(m, 16, "ImageForceTemporaryMode", VT_BOOL);
    Property(m, 17, "SkipImageResolution", VT_BOOL);
    Property(m, 18, "LockControl", VT_BOOL);
    Property(m, 19, "ZoomMode", VT_I4, "ViewerZoomMode");
    Property(m, 20, "PdfRenderingMode", VT_I4, "ViewerPdfRenderingMode");
    Property(m, 21, "RectBorderStyle", VT_I4, "ViewerRectBorderStyle");
    Property(m, 22, "RectDrawMode", VT_I4, "ViewerRectDrawMode");
    Property(m, 23, "Enabled", VT_BOOL);
    Property(m, 24, "EnableMouseWheel", VT_BOOL);
    Property(m, 25, "ImageAlignment", VT_I4, "ViewerImageAlignment");
    Property(m, 26, "ImagePosition", VT_I4, "ViewerImagePosition");
    Property(m, 27, "AnimateGIF", VT_BOOL);
    Property(m, 28, "RectBorderSize", VT_I2);
    Property(m, 29, "RectBorderColor", VT_I4);
    Property(m, 30, "BorderStyle", VT_I4, "ViewerBorderStyle");
    Property(m, 31, "Appearance", VT_I4, "ViewerAppearance");
    Property(m, 32, "BackStyle", VT_I4, "ViewerBackStyleMode");
    Property(m, 33, "BackColor", VT_I4);
    Property(m, 34, "ScrollOptimization", VT_BOOL);
    Property(m, 35, "ViewerQuality", VT_I4, "ViewerQuality");
    Property(m, 36, "ViewerQualityAuto", VT_BOOL);
    Property(m, 37, "ForcePictureMode", VT_BOOL);
    Property(m, 38, "KeepImagePosition", VT_BOOL);
    Property(m, 39, "MouseWheelMode", VT_I4, "ViewerMouseWheelMode");
    Property(m, 40, "ViewerDrop", VT_BOOL);
    Property(m, 41, "DisableAutoFocus", VT_BOOL);
    Property(m, 42, "MousePointer", VT_I4, "MousePointers");
    Property(m, 43, "PdfDisplayFormField", VT_BOOL);
    Property(m, 44, "ForceScrollBars", VT_BOOL);
    Property(m, 45, "PdfEnablePageCash", VT_BOOL);
    Property(m, 46, "ImageMaskColor", VT_I4);
    Property(m, 47, "gamma", VT_R4);
    Property(m, 48, "RectIsEditable", VT_BOOL);
    Property(m, 49, "ContinuousViewMode", VT_BOOL);
    Property(m, 50, "MouseButtonForMouseMode", VT_I4, "MouseButton");
    Property(m, 51, "OptimizeDrawingSpeed", VT_BOOL);
    Property(m, 52, "PDFShowDialogForPassword", VT_BOOL);

    auto method = [&](int place, const char* name, std::vector<ParamModel> params, VARTYPE result) {
        m.push_back(Method(kMethodBase + place, name, std::move(params), result));
    };
    auto status = [&](int place, const char* name, std::vector<ParamModel> params = {}) {
        m.push_back(StatusMethod(kMethodBase + place, name, std::move(params)));
    };
    // Frame and rendering.
    method(0x35, "GetVersion", {}, VT_R8);
    method(0x36, "Terminate", {}, VT_EMPTY);
    status(0x37, "GetStat");
    method(0x38, "Refresh", {}, VT_EMPTY);
    status(0x39, "Redraw");
    // Documents.
    method(0x3c, "GetNativeImage", {}, VT_I4);
    m.push_back(EnumMethod(kMethodBase + 0x3d, "GetDocumentType", {}, "DocumentType"));
    method(0x3e, "ImageClosed", {}, VT_EMPTY);
    method(0x3f, "CloseImage", {}, VT_EMPTY);
    method(0x40, "CloseImageEx", {}, VT_EMPTY);
    status(0x41, "DisplayFromFile", {Text("sFilePath")});
    status(0x42, "DisplayFromFileICM", {Text("sFilePath")});
    method(0x43, "DisplayFromByteArray", {ByRef(Param("arBytes", VT_SAFEARRAY))}, VT_I4);
    method(0x44, "DisplayFromByteArrayICM", {ByRef(Param("arBytes", VT_SAFEARRAY))}, VT_I4);
    status(0x45, "DisplayFromMemory", {Long("hMem"), ByRef(Long("Length"))});
    method(0x46, "DisplayFromString", {Text("sImageString")}, VT_I4);
    status(0x47, "DisplayFromStdPicture", {ByRef(Long("oStdPicture"))});
    status(0x4a, "DisplayFromMetaFile", {Text("sFilePath"), WithDefault(Single("nScaleBy"), DefaultValue{1.0})});
    status(0x4b, "DisplayFromHBitmap", {Long("nHbitmap")});
    status(0x4c, "DisplayFromHICON", {Long("nHICON")});
    status(0x4d, "DisplayFromClipboardData");
    status(0x4e, "DisplayFromGdiDib", {Long("nGdiDibRef")});
    status(0x6a, "DisplayFromStream", {Param("oStream", VT_UNKNOWN)});
    status(0x6b, "DisplayFromStreamICM", {Param("oStream", VT_UNKNOWN)});
    method(0x6c, "GetHBitmap", {}, VT_I4);
    method(0x6d, "DeleteHBitmap", {Long("nHbitmap")}, VT_EMPTY);
    status(0x4f, "DisplayFromMorvalenImage", {Long("nImageID")});
    method(0x50, "GetImageFormat", {}, VT_BSTR);
    status(0x77, "SetNativeImage", {Long("nImageID")});
    // Layout and zoom.
    status(0x51, "SetZoom", {Single("nZoomPercent")});
    status(0x52, "ZoomIN");
    status(0x53, "ZoomOUT");
    status(0x54, "SetZoom100");
    status(0x55, "SetZoomFitControl");
    status(0x56, "SetZoomWidthControl");
    status(0x57, "SetZoomHeightControl");
    status(0x58, "SetZoomControl");
    method(0x59, "GetMaxZoom", {}, VT_R8);
    status(0x5a, "ZoomArea", {Long("nLeft"), Long("nTop"), Long("nWidth"), Long("nHeight")});
    method(0x5b, "GetImageLeft", {}, VT_I4);
    method(0x5c, "GetImageTop", {}, VT_I4);
    method(0x5d, "CoordObjectToImage",
           {Long("nObjectX"), Long("nObjectY"), ByRef(Long("nImageX")), ByRef(Long("nImageY"))}, VT_EMPTY);
    method(0x5e, "CoordImageToObject",
           {Long("nImageX"), Long("nImageY"), ByRef(Long("nObjectX")), ByRef(Long("nObjectY"))}, VT_EMPTY);
    // Scroll bars.
    method(0x5f, "GetHScrollBarMaxPosition", {}, VT_I4);
    method(0x60, "GetVScrollBarMaxPosition", {}, VT_I4);
    method(0x61, "GetHScrollBarPosition", {}, VT_I4);
    method(0x62, "GetVScrollBarPosition", {}, VT_I4);
    method(0x63, "SetHScrollBarPosition", {Long("nNewHPosition")}, VT_EMPTY);
    method(0x64, "SetVScrollBarPosition", {Long("nNewVPosition")}, VT_EMPTY);
    method(0x65, "SetHVScrollBarPosition", {Long("nNewHPosition"), Long("nNewVPosition")}, VT_EMPTY);
    // Mouse and context menu.
    method(0x66, "GetMouseX", {}, VT_I4);
    method(0x67, "GetMouseY", {}, VT_I4);
    method(0x68, "SetItemMenuCaption", {Long("nIdxMenu"), Text("sNewMenuCaption")}, VT_EMPTY);
    method(0x69, "SetItemMenuEnabled", {Long("nIdxMenu"), Param("bEnabled", VT_BOOL)}, VT_EMPTY);
    // Read-only properties among the methods' places.
    Property(m, 0x66, "hwnd", VT_I4, nullptr, true);
    Property(m, 0x67, "hdc", VT_I4, nullptr, true);
    Property(m, 0x68, "VScrollVisible", VT_BOOL);
    Property(m, 0x69, "HScrollVisible", VT_BOOL);
    for (auto& member : MvViewerViewMembers()) m.push_back(std::move(member));
    // PDF documents.
    status(0xa0, "DisplayFromPdfFile", {Text("sPdfFilePath"), TextOr("sPassword", "")});
    const char* descriptions[] = {"PdfGetVersion", "PdfGetAuthor", "PdfGetTitle", "PdfGetSubject", "PdfGetKeywords",
                                  "PdfGetCreator", "PdfGetProducer", "PdfGetCreationDate", "PdfGetModificationDate",
                                  "PdfGetMetadata"};
    for (int i = 0; i < 10; ++i) method(0xa1 + i, descriptions[i], {}, VT_BSTR);
    // Frames, animation and image tags.
    status(0xab, "DisplayFrame", {Long("nFrame")});
    status(0xac, "DisplayNextFrame");
    status(0xad, "DisplayPreviousFrame");
    status(0xae, "DisplayFirstFrame");
    status(0xaf, "DisplayLastFrame");
    status(0xb0, "PlayGif");
    method(0xb1, "StopGif", {}, VT_EMPTY);
    method(0xb2, "ExifTagCount", {}, VT_I4);
    method(0xb3, "ExifTagGetName", {Long("nTagNo")}, VT_BSTR);
    method(0xb4, "ExifTagGetValue", {Long("nTagNo")}, VT_BSTR);
    method(0xb5, "ExifTagGetID", {Long("nTagNo")}, VT_I4);
    method(0xb6, "IPTCTagCount", {}, VT_I4);
    method(0xb7, "IPTCTagGetID", {Long("nTagNo")}, VT_I4);
    method(0xb8, "IPTCTagGetValueString", {Long("nTagNo")}, VT_BSTR);
    for (auto* family : {MvViewerInternetMembers, MvViewerPrintingMembers}) {
        for (auto& member : family()) m.push_back(std::move(member));
    }
    return m;
}

std::vector<MemberModel> MvViewerEvents() {
    auto shortRef = [](const char* name) { return ByRef(Param(name, VT_I2)); };
    auto mouse = [&] {
        return std::vector<ParamModel>{shortRef("Button"), shortRef("shift"), ByRef(Param("X", VT_R4)), ByRef(Param("y", VT_R4))};
    };
    ParamModel files = ByRef(Param("sFilesPath", VT_SAFEARRAY));
    return {
        Method(1, "DataReceived", {Long("nPercentProgress"), Long("nLeftToTransfer"), Long("nTotalLength")}, VT_EMPTY),
        Method(2, "ZoomChange", {}, VT_EMPTY),
        Method(3, "ScrollControl", {}, VT_EMPTY),
        Method(4, "Rotation", {EnumParam("nRotation", "RotateFlipType")}, VT_EMPTY),
        Method(5, "PageChange", {}, VT_EMPTY),
        Method(6, "FileDrop", {Text("sFilePath")}, VT_EMPTY),
        Method(7, "FilesDrop", {files, Long("nFilesCount")}, VT_EMPTY),
        Method(8, "PictureChange", {}, VT_EMPTY),
        Method(9, "PictureChanged", {}, VT_EMPTY),
        Method(10, "Display", {}, VT_EMPTY),
        Method(11, "KeyPressControl", {shortRef("KeyAscii")}, VT_EMPTY),
        Method(12, "KeyUpControl", {shortRef("KeyAscii"), shortRef("shift")}, VT_EMPTY),
        Method(13, "KeyDownControl", {shortRef("KeyAscii"), shortRef("shift")}, VT_EMPTY),
        Method(14, "MouseMoveControl", mouse(), VT_EMPTY),
        Method(15, "ClickControl", {}, VT_EMPTY),
        Method(16, "DblClickControl", {}, VT_EMPTY),
        Method(17, "MouseDownControl", mouse(), VT_EMPTY),
        Method(18, "MouseUpControl", mouse(), VT_EMPTY),
        Method(19, "ResizeControl", {}, VT_EMPTY),
        Method(20, "PaintControl", {}, VT_EMPTY),
        Method(21, "ClickMenu", {ByRef(Long("MenuItem"))}, VT_EMPTY),
        Method(22, "BeforeZoomChange", {}, VT_EMPTY),
        Method(23, "PrintPage", {Long("nPage"), Long("nPageLeft")}, VT_EMPTY),
        Method(24, "MouseWheelControl", {Param("UpDown", VT_I2)}, VT_EMPTY),
        Method(25, "PdfPasswordRequest", {ByRef(Text("Password"))}, VT_EMPTY),
    };
}

}  // namespace scanvelt::typelib
