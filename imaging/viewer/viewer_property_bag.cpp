#include "imaging/viewer/viewer_property_bag.h"

#include <stdexcept>
#include <variant>

#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;
using S = ViewerSettings;
using Field = std::variant<bool S::*, int16_t S::*, int32_t S::*, float S::*, double S::*>;

struct Key {
    const char* name;
    Field field;
};

// The write order; the key names are those the container sees.
const std::vector<Key>& keys() {
    static const std::vector<Key> table = {
        {"ScrollBars", &S::ScrollBars},
        {"EnableMenu", &S::EnableMenu},
        {"Zoom", &S::Zoom},
        {"ImageWidth", &S::ImageWidth},
        {"ImageHeight", &S::ImageHeight},
        {"MouseMode", &S::MouseMode},
        {"ZoomStep", &S::ZoomStep},
        {"ScrollSmallChange", &S::ScrollSmallChange},
        {"ScrollLargeChange", &S::ScrollLargeChange},
        {"VerticalResolution", &S::VerticalResolution},
        {"HorizontalResolution", &S::HorizontalResolution},
        {"PageCount", &S::PageCount},
        {"CurrentPage", &S::CurrentPage},
        {"SilentMode", &S::SilentMode},
        {"PdfDpiRendering", &S::PdfDpiRendering},
        {"pdfForceTemporaryMode", &S::PdfForceTemporaryMode},
        {"ImageForceTemporaryMode", &S::ImageForceTemporaryMode},
        {"SkipImageResolution", &S::SkipImageResolution},
        {"LockControl", &S::LockControl},
        {"ZoomMode", &S::ZoomMode},
        {"PdfRenderingMode", &S::PdfRenderingMode},
        {"RectBorderStyle", &S::RectBorderStyle},
        {"RectDrawMode", &S::RectDrawMode},
        {"Enabled", &S::Enabled},
        {"EnableMouseWheel", &S::EnableMouseWheel},
        {"ImageAlignment", &S::ImageAlignment},
        {"ImagePosition", &S::ImagePosition},
        {"AnimateGIF", &S::AnimateGIF},
        {"RectBorderSize", &S::RectBorderSize},
        {"ClipControls", &S::ClipControls},
        {"RectBorderColor", &S::RectBorderColor},
        {"BorderStyle", &S::BorderStyle},
        {"Appearance", &S::Appearance},
        {"BackStyle", &S::BackStyle},
        {"BackColor", &S::BackColor},
        {"ScrollOptimization", &S::ScrollOptimization},
        {"ViewerQuality", &S::ViewerQuality},
        {"ViewerQualityAuto", &S::ViewerQualityAuto},
        {"ForcePictureMode", &S::ForcePictureMode},
        {"KeepImagePosition", &S::KeepImagePosition},
        {"MouseWheelMode", &S::MouseWheelMode},
        {"ViewerDrop", &S::ViewerDrop},
        {"DisableAutoFocus", &S::DisableAutoFocus},
        {"MousePointer", &S::MousePointer},
        {"PdfDisplayFormField", &S::PdfDisplayFormField},
        {"ForceScrollBars", &S::ForceScrollBars},
        {"PdfEnablePageCash", &S::PdfEnablePageCash},
        {"ImageMaskColor", &S::ImageMaskColor},
        {"Gamma", &S::Gamma},
        {"RectIsEditable", &S::RectIsEditable},
        {"ContinuousViewMode", &S::ContinuousViewMode},
        {"MouseButtonForMouseMode", &S::MouseButtonForMouseMode},
        {"OptimizeDrawingSpeed", &S::OptimizeDrawingSpeed},
        {"PDFShowDialogForPassword", &S::PDFShowDialogForPassword},
    };
    return table;
}

const char* const kReadOrder[] = {
    "ScrollBars", "EnableMenu", "Zoom", "ImageWidth", "ImageHeight", "MouseMode", "ZoomStep", "VerticalResolution",
    "HorizontalResolution", "PageCount", "CurrentPage", "SilentMode", "PdfDpiRendering", "pdfForceTemporaryMode",
    "ImageForceTemporaryMode", "SkipImageResolution", "LockControl", "ZoomMode", "PdfRenderingMode",
    "EnableMouseWheel", "ImageAlignment", "ImagePosition", "AnimateGIF", "Enabled", "ScrollSmallChange",
    "ScrollLargeChange", "RectDrawMode", "RectBorderStyle", "RectBorderColor", "RectBorderSize", "ClipControls",
    "BorderStyle", "Appearance", "BackStyle", "BackColor", "ScrollOptimization", "ViewerQuality", "ViewerQualityAuto",
    "ForcePictureMode", "KeepImagePosition", "MouseWheelMode", "ViewerDrop", "DisableAutoFocus", "MousePointer",
    "PdfDisplayFormField", "ForceScrollBars", "PdfEnablePageCash", "ImageMaskColor", "Gamma", "RectIsEditable",
    "ContinuousViewMode", "MouseButtonForMouseMode", "OptimizeDrawingSpeed", "PDFShowDialogForPassword",
};

const Key& keyNamed(const char* name) {
    for (const auto& k : keys())
        if (std::string_view(k.name) == name) return k;
    throw std::logic_error("viewer property bag key missing");
}

VARIANT valueOf(const S& s, const Field& field) {
    return std::visit(
        [&](auto member) -> VARIANT {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, bool>) return MakeBool(s.*member);
            else if constexpr (std::is_same_v<T, int16_t>) return MakeI2(s.*member);
            else if constexpr (std::is_same_v<T, int32_t>) return MakeI4(s.*member);
            else if constexpr (std::is_same_v<T, float>) return MakeR4(s.*member);
            else return MakeR8(s.*member);
        },
        field);
}

bool equalsDefault(const S& s, const Field& field) {
    static const S defaults;
    return std::visit([&](auto member) { return s.*member == defaults.*member; }, field);
}

HRESULT store(S& s, const Field& field, const VARIANT& stored) {
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = std::visit(
        [&](auto member) -> HRESULT {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            VARTYPE type = std::is_same_v<T, bool>      ? VARTYPE{VT_BOOL}
                           : std::is_same_v<T, int16_t> ? VARTYPE{VT_I2}
                           : std::is_same_v<T, int32_t> ? VARTYPE{VT_I4}
                           : std::is_same_v<T, float>   ? VARTYPE{VT_R4}
                                                        : VARTYPE{VT_R8};
            HRESULT result = VariantChangeType(&converted, &stored, 0, type);
            if (FAILED(result)) return result;
            if constexpr (std::is_same_v<T, bool>) s.*member = converted.boolVal != 0;
            else if constexpr (std::is_same_v<T, int16_t>) s.*member = converted.iVal;
            else if constexpr (std::is_same_v<T, int32_t>) s.*member = converted.lVal;
            else if constexpr (std::is_same_v<T, float>) s.*member = converted.fltVal;
            else s.*member = converted.dblVal;
            return S_OK;
        },
        field);
    VariantClear(&converted);
    return hr;
}

void storeDefault(S& s, const Field& field) {
    static const S defaults;
    std::visit([&](auto member) { s.*member = defaults.*member; }, field);
}

}  // namespace

std::vector<std::string> ViewerBagWriteOrder() {
    std::vector<std::string> names;
    for (const auto& k : keys()) names.emplace_back(k.name);
    return names;
}

std::vector<std::string> ViewerBagReadOrder() { return {std::begin(kReadOrder), std::end(kReadOrder)}; }

HRESULT WriteViewerSettings(const ViewerSettings& settings, IPropertyBag& bag) {
    for (const auto& k : keys()) {
        if (equalsDefault(settings, k.field)) continue;
        VARIANT value = valueOf(settings, k.field);
        std::u16string name = win::Utf8ToUtf16(k.name);
        HRESULT hr = bag.Write(name.c_str(), &value);
        VariantClear(&value);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT ReadViewerSettings(IPropertyBag& bag, ViewerSettings& settings) {
    for (const char* name : kReadOrder) {
        const Key& k = keyNamed(name);
        std::u16string wide = win::Utf8ToUtf16(name);
        VARIANT stored;
        VariantInit(&stored);
        if (FAILED(bag.Read(wide.c_str(), &stored, nullptr))) {
            storeDefault(settings, k.field);
            continue;
        }
        HRESULT hr = store(settings, k.field, stored);
        VariantClear(&stored);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace scanvelt
