#include "imaging/twain/member_binder.h"

#include <stdexcept>

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

using namespace com;

DISPID MemberBinder::IdOf(const char* name) {
    const DISPID id = typelib::TwainMemberId(name);
    if (id == DISPID_UNKNOWN) throw std::logic_error(std::string("no member ") + name + " in _Twain");
    return id;
}

void MemberBinder::Bool(const char* name, std::function<bool(const BoundArguments&)> body) {
    bind_(IdOf(name), [body = std::move(body)](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(body(a));
        return S_OK;
    });
}

void MemberBinder::Long(const char* name, std::function<int32_t(const BoundArguments&)> body) {
    bind_(IdOf(name), [body = std::move(body)](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(body(a));
        return S_OK;
    });
}

void MemberBinder::Double(const char* name, std::function<double(const BoundArguments&)> body) {
    bind_(IdOf(name), [body = std::move(body)](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeR8(body(a));
        return S_OK;
    });
}

void MemberBinder::Text(const char* name, std::function<std::string(const BoundArguments&)> body) {
    bind_(IdOf(name), [body = std::move(body)](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(body(a));
        return S_OK;
    });
}

void MemberBinder::None(const char* name, std::function<void(const BoundArguments&)> body) {
    bind_(IdOf(name), [body = std::move(body)](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        body(a);
        return S_OK;
    });
}

std::string Utf8Argument(const BoundArguments& arguments, size_t i) { return arguments.utf8(i); }

}  // namespace scanvelt
