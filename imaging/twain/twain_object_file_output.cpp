// The file output, rotation, resizing and closing members of _Twain bound to
// their dispatch IDs.
#include "imaging/twain/file_output_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

// Members by name, arguments as UTF-8: the binder's look-ups.
const auto idOf = &MemberBinder::IdOf;

const auto utf8 = &Utf8Argument;

}  // namespace

void TwainObject::bindFileOutputMembers() {
    Bind(idOf("SaveAsJPEG"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(SaveAsJPEG(control_, utf8(a, 0), a.i4(1)));
        return S_OK;
    });
    using Saver = MorvalenStatus (*)(TwainControl&, const std::string&);
    const std::pair<const char*, Saver> savers[] = {
        {"SaveAsPNG", SaveAsPNG}, {"SaveAsGIF", SaveAsGIF}, {"SaveAsGIFi", SaveAsGIFi}};
    for (const auto& [name, saver] : savers) {
        Bind(idOf(name), [this, saver = saver](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(saver(control_, utf8(a, 0)));
            return S_OK;
        });
    }
    Bind(idOf("TiffSaveAsNativeMultiPage"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TiffSaveAsNativeMultiPage(control_, utf8(a, 0), a.i4(1)));
        return S_OK;
    });
    Bind(idOf("TiffAddToNativeMultiPage"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TiffAddToNativeMultiPage(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("TiffCloseNativeMultiPage"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TiffCloseNativeMultiPage(control_));
        return S_OK;
    });
    Bind(idOf("Rotate"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(Rotate(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("ResizeImage"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(ResizeImage(control_, a.i4(0), a.i4(1), a.i4(2)));
        return S_OK;
    });
    Bind(idOf("CloseImage"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(CloseImage(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("CloseNativeImage"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(CloseNativeImage(control_));
        return S_OK;
    });
}

}  // namespace scanvelt
