// The colour members of _Twain bound to their dispatch IDs.
#include <algorithm>
#include <vector>

#include "imaging/twain/colour_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/safearray.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

// Members by name, arguments as UTF-8: the binder's look-ups.
const auto idOf = &MemberBinder::IdOf;

// The numbers of a one-dimensional array of Longs or of Variants; an array
// without dimensions holds none. False for any other kind of argument.
bool LongsOf(const VARIANT& given, std::vector<int32_t>& values) {
    values.clear();
    if (!(given.vt & VT_ARRAY)) return false;
    const SAFEARRAY* array = given.parray;
    if (array == nullptr || array->cDims == 0) return true;
    if (array->cDims != 1) return false;
    const VARTYPE element = given.vt & ~VT_ARRAY;
    const uint32_t count = array->rgsabound[0].cElements;
    if (element == VT_I4) {
        const auto* data = static_cast<const int32_t*>(array->pvData);
        values.assign(data, data + count);
        return true;
    }
    if (element != VT_VARIANT) return false;
    const auto* data = static_cast<const VARIANT*>(array->pvData);
    for (uint32_t i = 0; i < count; ++i) {
        VARIANT number;
        VariantInit(&number);
        if (FAILED(VariantChangeType(&number, &data[i], 0, VT_I4))) return false;
        values.push_back(number.lVal);
    }
    return true;
}

VARIANT MakeByte(uint8_t value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI1;
    v.bVal = value;
    return v;
}

// Hands a number back through the caller's reference, when it gave one.
void StoreOut(const BoundArguments& a, size_t i, VARIANT value) {
    a.setOut(i, value);
}

}  // namespace

void TwainObject::bindColourMembers() {
    using OneArgument = MorvalenStatus (*)(TwainControl&, int32_t);
    const std::pair<const char*, OneArgument> withArgument[] = {
        {"SetBrightness", SetBrightness}, {"SetContrast", SetContrast}, {"SetGammaCorrection", SetGammaCorrection},
        {"SetSaturation", SetSaturation}, {"FxSoften", FxSoften},
    };
    for (const auto& [name, member] : withArgument) {
        Bind(idOf(name), [this, member = member](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
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
        Bind(idOf(name), [this, member = member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(member(control_));
            return S_OK;
        });
    }
    Bind(idOf("ColorPaletteGetColorsCount"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(ColorPaletteGetColorsCount(control_));
        return S_OK;
    });
    Bind(idOf("ColorPaletteGet"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO* exception) {
        std::vector<int32_t> colours;
        int32_t count = 0;
        const MorvalenStatus status = ColorPaletteGet(control_, colours, count);
        if (status == OK && count > 0) {
            VARIANT array;
            VariantInit(&array);
            array.vt = VT_ARRAY | VT_I4;
            array.parray = SafeArrayCreateVector(VT_I4, 0, static_cast<uint32_t>(colours.size()));
            if (!array.parray) return RaiseException(exception, name(), "Out of memory", E_OUTOFMEMORY);
            std::copy(colours.begin(), colours.end(), static_cast<int32_t*>(array.parray->pvData));
            const HRESULT stored = a.setOut(0, array);
            VariantClear(&array);
            if (FAILED(stored)) return RaiseException(exception, name(), "Type mismatch", DISP_E_TYPEMISMATCH);
        }
        StoreOut(a, 1, MakeI4(count));
        result = MakeI4(status);
        return S_OK;
    });
    Bind(idOf("ColorPaletteSet"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO* exception) {
        std::vector<int32_t> colours;
        if (!LongsOf(a[0], colours)) return RaiseException(exception, name(), "Type mismatch", DISP_E_TYPEMISMATCH);
        result = MakeI4(ColorPaletteSet(control_, colours));
        return S_OK;
    });
    // Bytes for the plain forms, Longs for the forms ending in "l".
    for (bool asLongs : {false, true}) {
        auto part = [asLongs](uint8_t value) { return asLongs ? MakeI4(value) : MakeByte(value); };
        Bind(idOf(asLongs ? "ColorGetRGBFromRGBValuel" : "ColorGetRGBFromRGBValue"),
             [part](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
                 const RgbParts rgb = ColorGetRGBFromRGBValue(a.i4(0));
                 StoreOut(a, 1, part(rgb.red));
                 StoreOut(a, 2, part(rgb.green));
                 StoreOut(a, 3, part(rgb.blue));
                 return S_OK;
             });
        Bind(idOf(asLongs ? "ColorGetARGBFromARGBValuel" : "ColorGetARGBFromARGBValue"),
             [part](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
                 const ArgbParts parts = ColorGetARGBFromARGBValue(a.i4(0));
                 StoreOut(a, 1, part(parts.alpha));
                 StoreOut(a, 2, part(parts.red));
                 StoreOut(a, 3, part(parts.green));
                 StoreOut(a, 4, part(parts.blue));
                 return S_OK;
             });
    }
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
