// _Twain's colour adjustment, effect, palette and colour value members.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainColourMembers() {
    auto byteOut = [](const char* name) { return ByRef(Param(name, VT_UI1)); };
    auto longOut = [](const char* name) { return ByRef(Long(name)); };
    return {
        StatusMethod(0x60030001, "SetContrast", {Long("nContrastPct")}),
        StatusMethod(0x60030002, "SetGammaCorrection", {Long("nGammaFactor")}),
        StatusMethod(0x60030003, "SetSaturation", {Long("nSaturationPct")}),
        StatusMethod(0x60030004, "FxSoften", {Long("nSoftenValue")}),
        StatusMethod(0x60030005, "FxDespeckle"),
        StatusMethod(0x60030006, "FxSmooth"),
        StatusMethod(0x60030007, "ColorPaletteGet",
                     {ByRef(Param("nARGBColorsArray", VT_SAFEARRAY)), longOut("nEntriesCount")}),
        Method(0x60030008, "ColorPaletteGetColorsCount", {}, VT_I4),
        StatusMethod(0x60030009, "ColorPaletteSet", {ByRef(Param("nARGBColorsArray", VT_SAFEARRAY))}),
        Method(0x6003000a, "ColorGetRGBFromRGBValue",
               {Long("nRGBValue"), byteOut("nRed"), byteOut("nGreen"), byteOut("nBlue")}, VT_EMPTY),
        Method(0x6003000b, "ColorGetRGBFromRGBValuel",
               {Long("nRGBValue"), longOut("nRed"), longOut("nGreen"), longOut("nBlue")}, VT_EMPTY),
        Method(0x6003000c, "ColorGetARGBFromARGBValue",
               {Long("nARGBValue"), byteOut("nAlpha"), byteOut("nRed"), byteOut("nGreen"), byteOut("nBlue")}, VT_EMPTY),
        Method(0x6003000d, "ColorGetARGBFromARGBValuel",
               {Long("nARGBValue"), longOut("nAlpha"), longOut("nRed"), longOut("nGreen"), longOut("nBlue")}, VT_EMPTY),
        Method(0x6003000e, "argb", {Long("nAlpha"), Long("nRed"), Long("nGreen"), Long("nBlue")}, VT_I4),
        Method(0x6003000f, "GetRGB", {Long("nRed"), Long("nGreen"), Long("nBlue")}, VT_I4),
    };
}

}  // namespace scanvelt::typelib
