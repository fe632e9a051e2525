// The further file formats of _Twain: savers, the icon saver and the FTP upload.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

std::vector<com::MemberModel> TwainFormatsMembers() {
    const auto path = [] { return Text("sFilePath"); };
    return {
        StatusMethod(0x6003003f, "SaveAsBmp", {path()}),
        StatusMethod(0x60030040, "SaveAsWBMP", {path()}),
        StatusMethod(0x60030041, "SaveAsXPM", {path()}),
        StatusMethod(0x60030042, "SaveAsPNM", {path()}),
        StatusMethod(0x60030046, "SaveAsTGA", {path()}),
        StatusMethod(0x60030047, "SaveAsPBM", {path()}),
        StatusMethod(0x60030048, "SaveAsEXR",
                     {path(), WithDefault(EnumParam("nCompression", "ExrCompression"), DefaultValue{int32_t{0}})}),
        StatusMethod(0x60030049, "SaveAsJ2K", {path(), LongOr("nRate", 16)}),
        StatusMethod(0x6003004a, "SaveAsJP2", {path(), LongOr("nRate", 16)}),
        StatusMethod(0x6003004b, "SaveAsTIFF",
                     {path(), WithDefault(EnumParam("nModeCompression", "TifCompression"), DefaultValue{int32_t{2}})}),
        StatusMethod(0x6003004c, "SaveAsTIFFjpg", {path()}),
        StatusMethod(0x6003004d, "SaveAsTIFFjpgEx", {path(), Long("nQuality")}),
        StatusMethod(0x6003004e, "SaveAsICO",
                     {path(), WithDefault(Flag("bTransparentColor"), DefaultValue{false}),
                      LongOr("nTransparentColor", -1)}),
        StatusMethod(0x60030050, "SaveToFTP",
                     {Text("sImageFormat"), Long("nEncoderParameter"), Text("sHost"), Text("sPath"),
                      TextOr("sLogin", ""), TextOr("sPassword", ""), LongOr("nFTPPort", 21)}),
    };
}

}  // namespace scanvelt::typelib
