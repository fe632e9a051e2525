// The colour members of _Twain bound to their dispatch IDs.
#include "imaging/twain/colour_members.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

DISPID idOf(const char* name) {
    return FindMemberId(*FindType(typelib::ScanveltTypeLib(), "_Twain"), win::Utf8ToUtf16(name));
}

}  // namespace

void TwainObject::bindColourMembers() {
    using OneArgument = MorvalenStatus (*)(TwainControl&, int32_t);
    const std::pair<const char*, OneArgument> withArgument[] = {
        {"SetBrightness", SetBrightness}, {"SetContrast", SetContrast}, {"SetGammaCorrection", SetGammaCorrection},
        {"SetSaturation", SetSaturation}, {"FxSoften", FxSoften},
    };
    for (const auto& [name, member] : withArgument) {
        Bind(idOf(name), [this, member](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(member(control_, a.i4(0)));
            return S_OK;
        });
    }
    using NoArgument = MorvalenStatus (*)(TwainControl&);
    const std::pair<const char*, NoArgument> withoutArgument[] = {
        {"FxSepia", FxSepia},         {"FxStretchContrast", FxStretchContrast}, {"FxNegative", FxNegative},
        {"FxDespeckle", FxDespeckle}, {"FxSmooth", FxSmooth},
    };
    for (const auto& [name, member] : withoutArgument) {
        Bind(idOf(name), [this, member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(member(control_));
            return S_OK;
        });
    }
    Bind(idOf("ColorPaletteGetColorsCount"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(ColorPaletteGetColorsCount(control_));
        return S_OK;
    });
    Bind(idOf("argb"), [](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(argb(a.i4(0), a.i4(1), a.i4(2), a.i4(3)));
        return S_OK;
    });
    Bind(idOf("GetRGB"), [](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(GetRGB(a.i4(0), a.i4(1), a.i4(2)));
        return S_OK;
    });
}

}  // namespace scanvelt
