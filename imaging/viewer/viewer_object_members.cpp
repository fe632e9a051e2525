// The members of _MvViewer bound to their dispatch IDs.
#include <type_traits>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/temp_files.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/safearray.h"
#include "platform/com/stream_object.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

// The most a host's stream object may hold for the viewer to read it whole.
constexpr uint64_t kMaxStreamBytes = uint64_t{512} << 20;

using namespace com;
using typelib::MvViewerMemberId;
using S = ViewerSettings;

template <class T>
VARIANT variantOf(T value) {
    if constexpr (std::is_same_v<T, bool>) return MakeBool(value);
    else if constexpr (std::is_same_v<T, int16_t>) return MakeI2(value);
    else if constexpr (std::is_same_v<T, int32_t>) return MakeI4(value);
    else if constexpr (std::is_same_v<T, float>) return MakeR4(value);
    else return MakeR8(value);
}

template <class T>
T argumentOf(const BoundArguments& a, size_t i) {
    if constexpr (std::is_same_v<T, bool>) return a.boolean(i);
    else if constexpr (std::is_same_v<T, int16_t>) return a[i].iVal;
    else if constexpr (std::is_same_v<T, int32_t>) return a.i4(i);
    else if constexpr (std::is_same_v<T, float>) return a.r4(i);
    else return a.r8(i);
}

// The bytes of a one-dimensional array argument of bytes.
std::vector<uint8_t> bytesOf(const VARIANT& v) {
    const SAFEARRAY* array = v.vt & VT_BYREF ? (v.pparray ? *v.pparray : nullptr) : v.parray;
    if (!array || array->cDims != 1 || array->cbElements != 1 || !array->pvData) return {};
    const auto* data = static_cast<const uint8_t*>(array->pvData);
    return std::vector<uint8_t>(data, data + array->rgsabound[0].cElements);
}

}  // namespace

void ViewerObject::bindFrameMembers() {
    ViewerControl& c = control_;
    auto get = [&](const char* name, auto read) {
        Bind(MvViewerMemberId(name), [&c, read](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = variantOf(read(c));
            return S_OK;
        }, INVOKE_PROPERTYGET);
    };
    auto put = [&](const char* name, auto write) {
        Bind(MvViewerMemberId(name), [&c, write](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
            write(c, a);
            return S_OK;
        }, INVOKE_PROPERTYPUT);
    };
    // A property kept in the settings: get reads it, put stores and notifies.
    auto stored = [&](const char* name, auto S::*field, const char* key = nullptr) {
        using T = std::remove_cvref_t<decltype(std::declval<S&>().*field)>;
        get(name, [field](ViewerControl& v) { return v.settings().*field; });
        std::string notice = key ? key : name;
        put(name, [field, notice](ViewerControl& v, const BoundArguments& a) {
            v.settings().*field = argumentOf<T>(a, 0);
            v.notify(notice);
        });
    };
    // A property whose put has no effect.
    auto fixed = [&](const char* name, auto S::*field) {
        get(name, [field](ViewerControl& v) { return v.settings().*field; });
        put(name, [](ViewerControl&, const BoundArguments&) {});
    };
    // A property whose put goes through the control.
    auto through = [&](const char* name, auto S::*field, auto setter) {
        using T = std::remove_cvref_t<decltype(std::declval<S&>().*field)>;
        get(name, [field](ViewerControl& v) { return v.settings().*field; });
        put(name, [setter](ViewerControl& v, const BoundArguments& a) { (v.*setter)(argumentOf<T>(a, 0)); });
    };

    through("ScrollBars", &S::ScrollBars, &ViewerControl::setScrollBars);
    stored("EnableMenu", &S::EnableMenu);
    through("ZOOM", &S::Zoom, &ViewerControl::setZoom);
    fixed("ImageWidth", &S::ImageWidth);
    fixed("ImageHeight", &S::ImageHeight);
    through("MouseMode", &S::MouseMode, &ViewerControl::setMouseMode);
    through("ZoomStep", &S::ZoomStep, &ViewerControl::setZoomStep);
    through("ScrollSmallChange", &S::ScrollSmallChange, &ViewerControl::setScrollSmallChange);
    through("ScrollLargeChange", &S::ScrollLargeChange, &ViewerControl::setScrollLargeChange);
    fixed("VerticalResolution", &S::VerticalResolution);
    fixed("HorizontalResolution", &S::HorizontalResolution);
    fixed("PageCount", &S::PageCount);
    fixed("CurrentPage", &S::CurrentPage);
    stored("SilentMode", &S::SilentMode);
    through("PdfDpiRendering", &S::PdfDpiRendering, &ViewerControl::setPdfDpiRendering);
    stored("PdfForceTemporaryMode", &S::PdfForceTemporaryMode, "pdfForceTemporaryMode");
    stored("ImageForceTemporaryMode", &S::ImageForceTemporaryMode);
    stored("SkipImageResolution", &S::SkipImageResolution);
    stored("LockControl", &S::LockControl);
    through("ZoomMode", &S::ZoomMode, &ViewerControl::setZoomMode);
    get("PdfRenderingMode", [](ViewerControl& v) { return v.settings().PdfRenderingMode; });  // put: view members
    get("RectBorderStyle", [](ViewerControl& v) { return v.settings().RectBorderStyle; });  // put: view members
    get("RectDrawMode", [](ViewerControl& v) { return v.settings().RectDrawMode; });  // put: view members
    through("Enabled", &S::Enabled, &ViewerControl::setEnabled);
    through("EnableMouseWheel", &S::EnableMouseWheel, &ViewerControl::setEnableMouseWheel);
    through("ImageAlignment", &S::ImageAlignment, &ViewerControl::setImageAlignment);
    through("ImagePosition", &S::ImagePosition, &ViewerControl::setImagePosition);
    get("RectBorderSize", [](ViewerControl& v) { return v.settings().RectBorderSize; });  // put: view members
    get("RectBorderColor", [](ViewerControl& v) { return v.settings().RectBorderColor; });  // put: view members
    through("AnimateGIF", &S::AnimateGIF, &ViewerControl::setAnimateGIF);
    get("BorderStyle", [](ViewerControl& v) { return static_cast<int32_t>(v.settings().BorderStyle); });
    put("BorderStyle", [](ViewerControl& v, const BoundArguments& a) { v.setBorderStyle(static_cast<int16_t>(a.i4(0))); });
    get("Appearance", [](ViewerControl& v) { return static_cast<int32_t>(v.settings().Appearance); });
    put("Appearance", [](ViewerControl& v, const BoundArguments& a) {
        v.settings().Appearance = static_cast<int16_t>(a.i4(0));
        v.notify("Appearance");
    });
    get("BackStyle", [](ViewerControl& v) { return static_cast<int32_t>(v.settings().BackStyle); });
    put("BackStyle", [](ViewerControl& v, const BoundArguments& a) {
        v.settings().BackStyle = static_cast<int16_t>(a.i4(0));
        v.notify("BackStyle");
    });
    through("BackColor", &S::BackColor, &ViewerControl::setBackColor);
    through("ScrollOptimization", &S::ScrollOptimization, &ViewerControl::setScrollOptimization);
    through("ViewerQuality", &S::ViewerQuality, &ViewerControl::setViewerQuality);
    through("ViewerQualityAuto", &S::ViewerQualityAuto, &ViewerControl::setViewerQualityAuto);
    stored("ForcePictureMode", &S::ForcePictureMode);
    stored("KeepImagePosition", &S::KeepImagePosition);
    stored("MouseWheelMode", &S::MouseWheelMode);
    through("ViewerDrop", &S::ViewerDrop, &ViewerControl::setViewerDrop);
    stored("DisableAutoFocus", &S::DisableAutoFocus);
    through("MousePointer", &S::MousePointer, &ViewerControl::setMousePointer);
    stored("PdfDisplayFormField", &S::PdfDisplayFormField);
    through("ForceScrollBars", &S::ForceScrollBars, &ViewerControl::setForceScrollBars);
    fixed("PdfEnablePageCash", &S::PdfEnablePageCash);
    stored("ImageMaskColor", &S::ImageMaskColor);
    stored("gamma", &S::Gamma, "Gamma");
    stored("RectIsEditable", &S::RectIsEditable);
    stored("ContinuousViewMode", &S::ContinuousViewMode);
    stored("OptimizeDrawingSpeed", &S::OptimizeDrawingSpeed);
    get("PDFShowDialogForPassword", [](ViewerControl& v) { return v.settings().PDFShowDialogForPassword; });  // put: view members

    get("hwnd", [](ViewerControl& v) { return v.hwnd(); });
    get("hdc", [](ViewerControl& v) { return v.hdc(); });
    get("VScrollVisible", [](ViewerControl& v) { return v.vScroll().visible; });
    put("VScrollVisible", [](ViewerControl&, const BoundArguments&) {});
    get("HScrollVisible", [](ViewerControl& v) { return v.hScroll().visible; });
    put("HScrollVisible", [](ViewerControl&, const BoundArguments&) {});

    Bind(MvViewerMemberId("GetVersion"), [&c](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeR8(c.GetVersion());
        return S_OK;
    });
    Bind(MvViewerMemberId("Terminate"), [&c](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        c.Terminate();
        return S_OK;
    });
    Bind(MvViewerMemberId("GetStat"), [&c](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(c.GetStat());
        return S_OK;
    });
    Bind(MvViewerMemberId("Refresh"), [&c](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        c.Refresh();
        return S_OK;
    });
    Bind(MvViewerMemberId("Redraw"), [&c](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(c.Redraw());
        return S_OK;
    });
}

void ViewerObject::bindDocumentMembers() {
    ViewerControl& c = control_;
    auto status = [&](const char* name, auto call) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(call(c, a));
            return S_OK;
        });
    };
    auto action = [&](const char* name, void (ViewerControl::*member)()) {
        Bind(MvViewerMemberId(name), [&c, member](const BoundArguments&, VARIANT&, EXCEPINFO*) {
            (c.*member)();
            return S_OK;
        });
    };
    status("DisplayFromFile", [](ViewerControl& v, const BoundArguments& a) { return v.DisplayFromFile(a.utf8(0), false); });
    status("DisplayFromFileICM", [](ViewerControl& v, const BoundArguments& a) { return v.DisplayFromFile(a.utf8(0), true); });
    status("DisplayFromByteArray", [](ViewerControl& v, const BoundArguments& a) { return v.DisplayFromByteArray(bytesOf(a[0]), false); });
    status("DisplayFromByteArrayICM", [](ViewerControl& v, const BoundArguments& a) { return v.DisplayFromByteArray(bytesOf(a[0]), true); });
    status("DisplayFromMemory", [](ViewerControl& v, const BoundArguments& a) {
        return v.DisplayFromMemory(static_cast<uint32_t>(a.i4(0)), a.i4(1));
    });
    status("DisplayFromString", [](ViewerControl& v, const BoundArguments& a) { return v.DisplayFromString(a.text(0)); });
    status("DisplayFromStdPicture", [](ViewerControl& v, const BoundArguments& a) {
        auto picture = static_cast<win::HPICTURE>(a.i4(0));
        return v.DisplayFromSource([picture](int32_t& id) { return static_cast<int32_t>(LoadImageFromPicture(id, picture)); });
    });
    status("DisplayFromMetaFile", [](ViewerControl& v, const BoundArguments& a) {
        std::string path = NormalizePath(a.utf8(0));
        float scale = a.r4(1);
        return v.DisplayFromSource([path, scale](int32_t& id) { return static_cast<int32_t>(LoadMetafileImage(id, path, scale, true)); });
    });
    status("DisplayFromHBitmap", [](ViewerControl& v, const BoundArguments& a) {
        auto bitmap = static_cast<win::HBITMAP>(a.i4(0));
        return v.DisplayFromSource([bitmap](int32_t& id) { return static_cast<int32_t>(ImageFromHBitmap(bitmap, win::HPALETTE{}, id)); });
    });
    status("DisplayFromHICON", [](ViewerControl& v, const BoundArguments& a) {
        auto icon = static_cast<win::HICON>(a.i4(0));
        return v.DisplayFromSource([icon](int32_t& id) { return static_cast<int32_t>(ImageFromHIcon(icon, id)); });
    });
    status("DisplayFromClipboardData", [](ViewerControl& v, const BoundArguments&) {
        return v.DisplayFromSource([](int32_t& id) { return static_cast<int32_t>(LoadImageFromClipboard(id)); });
    });
    status("DisplayFromGdiDib", [](ViewerControl& v, const BoundArguments& a) {
        auto dib = static_cast<win::HGLOBAL>(a.i4(0));
        return v.DisplayFromSource([dib](int32_t& id) { return static_cast<int32_t>(LoadImageFromDib(id, dib, false, false)); });
    });
    // A stream object of ours, or a host's read into memory; at most what a decoder would take.
    auto fromStream = [](bool icm) {
        return [icm](ViewerControl& v, const BoundArguments& a) {
            const VARIANT& given = a[0];
            IUnknown* object = given.vt == VT_UNKNOWN || given.vt == VT_DISPATCH ? given.punkVal : nullptr;
            std::shared_ptr<win::Stream> stream = ReadStreamObject(object, kMaxStreamBytes);
            return v.DisplayFromSource([stream, icm](int32_t& id) {
                return static_cast<int32_t>(stream ? LoadImageFromStream(id, stream, icm) : InvalidParameter);
            });
        };
    };
    status("DisplayFromStream", fromStream(false));
    status("DisplayFromStreamICM", fromStream(true));
    Bind(MvViewerMemberId("GetHBitmap"), [&c](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(static_cast<int32_t>(c.GetHBitmap()));
        return S_OK;
    });
    Bind(MvViewerMemberId("DeleteHBitmap"), [](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        ViewerControl::DeleteHBitmap(static_cast<uint32_t>(a.i4(0)));
        return S_OK;
    });
    status("SetNativeImage", [](ViewerControl& v, const BoundArguments& a) { return v.SetNativeImage(a.i4(0)); });
    status("DisplayFromMorvalenImage", [](ViewerControl& v, const BoundArguments& a) { return v.SetNativeImage(a.i4(0)); });
    action("ImageClosed", &ViewerControl::ImageClosed);
    action("CloseImage", &ViewerControl::CloseImage);
    action("CloseImageEx", &ViewerControl::CloseImageEx);
    status("GetNativeImage", [](ViewerControl& v, const BoundArguments&) { return v.GetNativeImage(); });
    status("GetDocumentType", [](ViewerControl& v, const BoundArguments&) { return v.GetDocumentType(); });
    Bind(MvViewerMemberId("GetImageFormat"), [&c](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(c.GetImageFormat());
        return S_OK;
    });
}

void ViewerObject::bindViewMembers() {
    ViewerControl& c = control_;
    auto status = [&](const char* name, auto call) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(call(c, a));
            return S_OK;
        });
    };
    auto action = [&](const char* name, auto call) {
        Bind(MvViewerMemberId(name), [&c, call](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
            call(c, a);
            return S_OK;
        });
    };
    status("SetZoom", [](ViewerControl& v, const BoundArguments& a) { return v.SetZoom(a.r4(0)); });
    status("ZoomIN", [](ViewerControl& v, const BoundArguments&) { return v.ZoomIN(); });
    status("ZoomOUT", [](ViewerControl& v, const BoundArguments&) { return v.ZoomOUT(); });
    status("SetZoom100", [](ViewerControl& v, const BoundArguments&) { return v.SetZoomMode(1); });
    status("SetZoomFitControl", [](ViewerControl& v, const BoundArguments&) { return v.SetZoomMode(2); });
    status("SetZoomWidthControl", [](ViewerControl& v, const BoundArguments&) { return v.SetZoomMode(3); });
    status("SetZoomHeightControl", [](ViewerControl& v, const BoundArguments&) { return v.SetZoomMode(5); });
    status("SetZoomControl", [](ViewerControl& v, const BoundArguments&) { return v.SetZoomMode(6); });
    Bind(MvViewerMemberId("GetMaxZoom"), [&c](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeR8(c.GetMaxZoom());
        return S_OK;
    });
    status("ZoomArea", [](ViewerControl& v, const BoundArguments& a) { return v.ZoomArea(a.i4(0), a.i4(1), a.i4(2), a.i4(3)); });
    status("GetImageLeft", [](ViewerControl& v, const BoundArguments&) { return v.GetImageLeft(); });
    status("GetImageTop", [](ViewerControl& v, const BoundArguments&) { return v.GetImageTop(); });
    action("CoordObjectToImage", [](ViewerControl& v, const BoundArguments& a) {
        int32_t x = a.i4(2), y = a.i4(3);
        v.CoordObjectToImage(a.i4(0), a.i4(1), x, y);
        a.setOut(2, MakeI4(x));
        a.setOut(3, MakeI4(y));
    });
    action("CoordImageToObject", [](ViewerControl& v, const BoundArguments& a) {
        int32_t x = a.i4(2), y = a.i4(3);
        v.CoordImageToObject(a.i4(0), a.i4(1), x, y);
        a.setOut(2, MakeI4(x));
        a.setOut(3, MakeI4(y));
    });
    status("GetHScrollBarMaxPosition", [](ViewerControl& v, const BoundArguments&) { return v.hScroll().max; });
    status("GetVScrollBarMaxPosition", [](ViewerControl& v, const BoundArguments&) { return v.vScroll().max; });
    status("GetHScrollBarPosition", [](ViewerControl& v, const BoundArguments&) { return v.hScroll().value; });
    status("GetVScrollBarPosition", [](ViewerControl& v, const BoundArguments&) { return v.vScroll().value; });
    action("SetHScrollBarPosition", [](ViewerControl& v, const BoundArguments& a) { v.SetHScrollBarPosition(a.i4(0)); });
    action("SetVScrollBarPosition", [](ViewerControl& v, const BoundArguments& a) { v.SetVScrollBarPosition(a.i4(0)); });
    action("SetHVScrollBarPosition", [](ViewerControl& v, const BoundArguments& a) { v.SetHVScrollBarPosition(a.i4(0), a.i4(1)); });
    status("GetMouseX", [](ViewerControl& v, const BoundArguments&) { return v.GetMouseX(); });
    status("GetMouseY", [](ViewerControl& v, const BoundArguments&) { return v.GetMouseY(); });
    action("SetItemMenuCaption", [](ViewerControl& v, const BoundArguments& a) {
        v.SetItemMenuCaption(a.i4(0), win::Utf16ToUtf8(std::u16string(a.text(1))));
    });
    action("SetItemMenuEnabled", [](ViewerControl& v, const BoundArguments& a) { v.SetItemMenuEnabled(a.i4(0), a.boolean(1)); });
}

}  // namespace scanvelt
