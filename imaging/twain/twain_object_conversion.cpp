// The pixel-format conversion members of _Twain bound to their dispatch IDs.
#include "imaging/twain/pixel_conversion_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

// Members by name, arguments as UTF-8: the binder's look-ups.
const auto idOf = &MemberBinder::IdOf;

}  // namespace

void TwainObject::bindConversionMembers() {
    using Conversion = MorvalenStatus (*)(TwainControl&);
    const std::pair<const char*, Conversion> conversions[] = {
        {"ConvertTo1Bpp", ConvertTo1Bpp},   {"ConvertTo4Bpp", ConvertTo4Bpp},
        {"ConvertTo8BppGrayScale", ConvertTo8BppGrayScale},
        {"ConvertTo8Bpp", ConvertTo8Bpp},   {"ConvertTo16Bpp", ConvertTo16Bpp},
        {"ConvertTo24BppRGB", ConvertTo24BppRGB}, {"ConvertTo32Bpp", ConvertTo32Bpp},
        {"ConvertTo48Bpp", ConvertTo48Bpp}, {"ConvertTo64Bpp", ConvertTo64Bpp},
    };
    for (const auto& [name, member] : conversions) {
        Bind(idOf(name), [this, member = member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(member(control_));
            return S_OK;
        });
    }
}

}  // namespace scanvelt
