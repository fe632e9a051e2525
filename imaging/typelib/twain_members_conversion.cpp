// _Twain's pixel-format conversion members.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainConversionMembers() {
    return {
        StatusMethod(0x6003001a, "ConvertTo1Bpp"),
        StatusMethod(0x6003001b, "ConvertTo4Bpp"),
        StatusMethod(0x6003001c, "ConvertTo8BppGrayScale"),
        StatusMethod(0x6003001d, "ConvertTo8Bpp"),
        StatusMethod(0x6003001e, "ConvertTo16Bpp"),
        StatusMethod(0x6003001f, "ConvertTo24BppRGB"),
        StatusMethod(0x60030020, "ConvertTo32Bpp"),
        StatusMethod(0x60030021, "ConvertTo48Bpp"),
        StatusMethod(0x60030022, "ConvertTo64Bpp"),
    };
}

}  // namespace scanvelt::typelib
