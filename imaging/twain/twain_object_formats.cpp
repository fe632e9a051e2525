// The further file formats, the icon saver and the FTP upload of _Twain
// bound to their dispatch IDs.
#include "imaging/twain/ftp_upload.h"
#include "imaging/twain/further_formats.h"
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

void TwainObject::bindFormatsMembers() {
    using PathSaver = MorvalenStatus (*)(TwainControl&, const std::string&);
    const std::pair<const char*, PathSaver> pathOnly[] = {
        {"SaveAsBmp", &SaveAsBmp}, {"SaveAsWBMP", &SaveAsWBMP}, {"SaveAsXPM", &SaveAsXPM},
        {"SaveAsPNM", &SaveAsPNM}, {"SaveAsTGA", &SaveAsTGA},   {"SaveAsPBM", &SaveAsPBM},
        {"SaveAsTIFFjpg", &SaveAsTIFFjpg},
    };
    for (const auto& [name, save] : pathOnly) {
        Bind(idOf(name), [this, save = save](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(save(control_, utf8(a, 0)));
            return S_OK;
        });
    }
    using NumberSaver = MorvalenStatus (*)(TwainControl&, const std::string&, int32_t);
    const std::pair<const char*, NumberSaver> withNumber[] = {
        {"SaveAsEXR", &SaveAsEXR}, {"SaveAsJ2K", &SaveAsJ2K},   {"SaveAsJP2", &SaveAsJP2},
        {"SaveAsTIFF", &SaveAsTIFF}, {"SaveAsTIFFjpgEx", &SaveAsTIFFjpgEx},
    };
    for (const auto& [name, save] : withNumber) {
        Bind(idOf(name), [this, save = save](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(save(control_, utf8(a, 0), a.i4(1)));
            return S_OK;
        });
    }
    Bind(idOf("SaveAsICO"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(SaveAsICO(control_, utf8(a, 0), a.boolean(1), a.i4(2)));
        return S_OK;
    });
    Bind(idOf("SaveToFTP"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(SaveToFTP(control_, utf8(a, 0), a.i4(1), utf8(a, 2), utf8(a, 3), utf8(a, 4), utf8(a, 5),
                                  a.i4(6)));
        return S_OK;
    });
}

}  // namespace scanvelt
