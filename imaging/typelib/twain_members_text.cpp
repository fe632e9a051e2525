// The members of _Twain that draw text, list fonts, use the clipboard and
// draw the current image on a host's device context or window.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

namespace {

ParamModel FontStyleOr() { return WithDefault(EnumParam("nFontStyle", "FontStyle"), DefaultValue{int32_t{0}}); }
ParamModel ColourOr(const char* name, int32_t value) {
    return WithDefault(EnumParam(name, "Colors"), DefaultValue{value});
}
ParamModel FontNameOr() { return TextOr("sFontName", "Arial"); }
ParamModel AntiAliasOr() { return WithDefault(Flag("bAntiAlias"), DefaultValue{false}); }
ParamModel Size() { return Long("nFontSize"); }
ParamModel Interpolation() {
    return WithDefault(EnumParam("nInterpolationMode", "InterpolationMode"), DefaultValue{int32_t{3}});
}

constexpr int32_t kOpaqueBlack = -16777216;
constexpr int32_t kOpaqueWhite = -1;

}  // namespace

std::vector<MemberModel> TwainTextMembers() {
    const ParamModel text = Text("sText");
    const ParamModel left = Long("nDstLeft"), top = Long("nDstTop");
    const std::vector<ParamModel> destination = {Long("nDstLeft"), Long("nDstTop"), Long("nDstWidth"),
                                                 Long("nDstHeight")};
    const std::vector<ParamModel> source = {Long("nSrcLeft"), Long("nSrcTop"), Long("nSrcWidth"), Long("nSrcHeight")};
    auto onHdc = [&](const char* target, bool withSource) {
        std::vector<ParamModel> p = {Long(target)};
        p.insert(p.end(), destination.begin(), destination.end());
        if (withSource) p.insert(p.end(), source.begin(), source.end());
        p.push_back(Interpolation());
        return p;
    };
    const ParamModel angle = Param("nAngle", VT_R4);
    return {
        StatusMethod(0x600300ff, "DrawText",
                     {text, left, top, Size(), FontStyleOr(), ColourOr("nTextARGBColor", kOpaqueBlack), FontNameOr(),
                      AntiAliasOr()}),
        StatusMethod(0x60030100, "DrawTextBackColor",
                     {text, left, top, Size(), FontStyleOr(), ColourOr("nTextARGBColor", kOpaqueBlack), FontNameOr(),
                      ColourOr("nBackColor", kOpaqueWhite), AntiAliasOr()}),
        StatusMethod(0x60030101, "DrawRotatedText",
                     {angle, text, left, top, Size(), FontStyleOr(), ColourOr("nColorARGB", kOpaqueBlack),
                      FontNameOr(), AntiAliasOr()}),
        StatusMethod(0x60030102, "DrawRotatedTextBackColor",
                     {angle, text, left, top, Size(), FontStyleOr(), ColourOr("nColorARGB", kOpaqueBlack),
                      FontNameOr(), ColourOr("nBackColor", kOpaqueWhite), AntiAliasOr()}),
        StatusMethod(0x60030103, "DrawTextBox",
                     {text, Long("nLeft"), Long("nTop"), Long("nWidth"), Long("nHeight"), Size(),
                      LongOr("nAlignment", 1), FontStyleOr(), ColourOr("nTextARGBColor", kOpaqueBlack), FontNameOr(),
                      WithDefault(Flag("bDrawTextBox"), DefaultValue{false}), AntiAliasOr()}),
        StatusMethod(0x60030104, "DrawTextGradient",
                     {text, left, top, EnumParam("nStartColor", "Colors"), EnumParam("nEndColor", "Colors"), Size(),
                      FontStyleOr(), FontNameOr(), AntiAliasOr()}),
        StatusMethod(0x60030105, "DrawTextTexture",
                     {text, left, top, Text("sTextureFilePath"), Size(), FontStyleOr(), FontNameOr(), AntiAliasOr()}),
        StatusMethod(0x60030106, "DrawTextTextureFromMorvalenImage",
                     {text, left, top, Long("nImageID"), Size(), FontStyleOr(), FontNameOr(), AntiAliasOr()}),
        Method(0x60030107, "GetTextWidth", {text, FontNameOr(), Size(), FontStyleOr()}, VT_R4),
        Method(0x60030108, "GetTextHeight", {text, FontNameOr(), Size(), FontStyleOr()}, VT_R4),
        Method(0x60030109, "FontSetUnit", {EnumParam("nUnitMode", "UnitMode")}, VT_EMPTY),
        EnumMethod(0x6003010a, "FontGetUnit", {}, "UnitMode"),
        Method(0x6003010b, "FontGetCount", {}, VT_I2),
        Method(0x6003010c, "FontGetName", {Long("nFontNo")}, VT_BSTR),
        Method(0x6003010d, "FontIsStyleAvailable", {Text("sFontName"), EnumParam("nFontStyle", "FontStyle")}, VT_BOOL),
        StatusMethod(0x6003010e, "CopyToClipboard"),
        StatusMethod(0x6003011f, "CopyRegionToClipboard",
                     {Long("nSrcLeft"), Long("nSrcTop"), Long("nWidth"), Long("nHeight")}),
        Method(0x60030120, "DeleteClipboardData", {}, VT_EMPTY),
        StatusMethod(0x60030121, "DisplayImageOnHDC", onHdc("nHDC", false)),
        StatusMethod(0x60030122, "DisplayImageOnHwnd", onHdc("nHWND", false)),
        StatusMethod(0x60030123, "DisplayImageRectOnHDC", onHdc("nHDC", true)),
        StatusMethod(0x60030124, "DisplayImageRectOnHwnd", onHdc("nHWND", true)),
    };
}

}  // namespace scanvelt::typelib
