// The members of _Twain that describe the current image and hand it out.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainImageInfoMembers() {
    const ParamModel format = Text("sImageFormat");
    const ParamModel quality = LongOr("nEncoderParameter", 0);
    return {
        StatusMethod(0x6003005a, "SaveAsByteArray",
                     {ByRef(Param("arBytes", VT_SAFEARRAY)), ByRef(Long("nBytesRead")), format, quality}),
        StatusMethod(0x6003005b, "SaveAsStream", {ByRef(Param("oStream", VT_UNKNOWN)), format, quality}),
        Method(0x6003005c, "SaveAsString", {format, quality}, VT_BSTR),
        Method(0x6003005e, "GetWidth", {}, VT_I4),
        Method(0x6003005f, "GetHeight", {}, VT_I4),
        Method(0x60030060, "GetWidthMM", {}, VT_R4),
        Method(0x60030061, "GetHeightMM", {}, VT_R4),
        Method(0x60030062, "GetImageFormat", {}, VT_BSTR),
        Method(0x60030063, "GetPixelFormatString", {}, VT_BSTR),
        EnumMethod(0x60030064, "GetPixelFormat", {}, "PixelFormats"),
        Method(0x60030065, "GetPixelDepth", {}, VT_I4),
        Method(0x60030066, "IsPixelFormatIndexed", {}, VT_BOOL),
        Method(0x60030067, "IsPixelFormatHasAlpha", {}, VT_BOOL),
        Method(0x60030068, "GetHorizontalResolution", {}, VT_R4),
        Method(0x60030069, "GetVerticalResolution", {}, VT_R4),
        StatusMethod(0x6003006b, "SetHorizontalResolution", {Param("nHorizontalresolution", VT_R4)}),
        StatusMethod(0x6003006c, "SetVerticalResolution", {Param("nVerticalresolution", VT_R4)}),
        Method(0x6003006d, "GetHBitmap", {}, VT_I4),
        Method(0x6003006e, "DeleteHBitmap", {Long("nHbitmap")}, VT_EMPTY),
        Method(0x6003006f, "GetHICON", {}, VT_I4),
        Method(0x60030070, "DeleteHICON", {Long("nHICON")}, VT_EMPTY),
        Method(0x60030071, "GetMorvalenImageDC", {Long("nImageID")}, VT_I4),
        StatusMethod(0x60030072, "ReleaseMorvalenImageDC", {Long("hdc")}),
        Method(0x60030073, "GetPicture", {}, VT_DISPATCH),
        Method(0x60030074, "GetPictureFromMorvalenImage", {Long("nImageID")}, VT_DISPATCH),
        Method(0x600300fb, "DeletePictureObject", {ByRef(Param("oPictureObject", VT_DISPATCH))}, VT_EMPTY),
        Method(0x600300fc, "GetDib", {}, VT_I4),
        Method(0x600300fd, "RemoveDib", {Long("nDib")}, VT_EMPTY),
        Method(0x600300fe, "GetGdiplusImage", {}, VT_I4),
    };
}

}  // namespace scanvelt::typelib
