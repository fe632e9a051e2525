// The members of _Twain that straighten and crop the current image.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainDeskewMembers() {
    const std::vector<ParamModel> band = {LongOr("nConfidence", 100), LongOr("nSkipLinesCount", 0)};
    return {
        StatusMethod(0x60030011, "CropWhiteBorders", band),
        StatusMethod(0x60030012, "CropBlackBorders", band),
        StatusMethod(0x60030013, "Crop", {Long("nSrcLeft"), Long("nSrcTop"), Long("nWidth"), Long("nHeight")}),
        StatusMethod(0x60030014, "CropBordersEX", {Long("nConfidence"), LongOr("nPixelReference", 1)}),
        StatusMethod(0x60030016, "CropTop", {Long("nLines")}),
        StatusMethod(0x60030017, "CropBottom", {Long("nLines")}),
        StatusMethod(0x60030018, "CropLeft", {Long("nLines")}),
        StatusMethod(0x60030019, "CropRight", {Long("nLines")}),
    };
}

}  // namespace scanvelt::typelib
