// The deskew and cropping members of _Twain bound to their dispatch IDs.
#include "imaging/twain/deskew_members.h"
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

void TwainObject::bindDeskewMembers() {
    auto bind = [this](const char* name, MorvalenStatus (*member)(TwainControl&, const BoundArguments&)) {
        Bind(idOf(name), [this, member](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(member(control_, a));
            return S_OK;
        });
    };
    using A = const BoundArguments&;
    bind("AutoDeskew", [](TwainControl& c, A) { return AutoDeskew(c); });
    bind("CropBorders", [](TwainControl& c, A) { return CropBorders(c); });
    bind("CropWhiteBorders", [](TwainControl& c, A a) { return CropWhiteBorders(c, a.i4(0), a.i4(1)); });
    bind("CropBlackBorders", [](TwainControl& c, A a) { return CropBlackBorders(c, a.i4(0), a.i4(1)); });
    bind("CropBordersEX", [](TwainControl& c, A a) { return CropBordersEX(c, a.i4(0), a.i4(1)); });
    bind("Crop", [](TwainControl& c, A a) { return Crop(c, a.i4(0), a.i4(1), a.i4(2), a.i4(3)); });
    bind("CropTop", [](TwainControl& c, A a) { return CropTop(c, a.i4(0)); });
    bind("CropBottom", [](TwainControl& c, A a) { return CropBottom(c, a.i4(0)); });
    bind("CropLeft", [](TwainControl& c, A a) { return CropLeft(c, a.i4(0)); });
    bind("CropRight", [](TwainControl& c, A a) { return CropRight(c, a.i4(0)); });
}

}  // namespace scanvelt
