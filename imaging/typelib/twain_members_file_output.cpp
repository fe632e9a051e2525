// _Twain's file output members besides those the host binds by number
// (SaveAsJPEG, the multi-page TIFF members, Rotate and CloseImage).
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainFileOutputMembers() {
    return {
        StatusMethod(0x6003002d, "ResizeImage",
                     {Long("nNewImageWidth"), Long("nNewImageHeight"),
                      WithDefault(EnumParam("nInterpolationMode", "InterpolationMode"), DefaultValue{int32_t{3}})}),
        StatusMethod(0x6003002e, "CloseNativeImage"),
        StatusMethod(0x60030052, "SaveAsPNG", {Text("sFilePath")}),
        StatusMethod(0x60030053, "SaveAsGIF", {Text("sFilePath")}),
        StatusMethod(0x60030054, "SaveAsGIFi", {Text("sFilePath")}),
    };
}

}  // namespace scanvelt::typelib
