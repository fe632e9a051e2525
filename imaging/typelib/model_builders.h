#pragma once
// Short constructors for the entries of the type library model, so that the
// member tables read like the interface they describe.
#include <string>
#include <utility>
#include <vector>

#include "platform/com/typelib_model.h"

namespace scanvelt::typelib {

using com::DefaultValue;
using com::MemberModel;
using com::ParamModel;

inline ParamModel Param(std::string name, com::VARTYPE type) {
    ParamModel p;
    p.name = std::move(name);
    p.type = type;
    return p;
}
inline ParamModel EnumParam(std::string name, std::string enumeration) {
    ParamModel p = Param(std::move(name), com::VT_USERDEFINED);
    p.typeName = std::move(enumeration);
    return p;
}
inline ParamModel WithDefault(ParamModel p, DefaultValue value) {
    p.optional = true;
    p.defaultValue = std::move(value);
    return p;
}
inline ParamModel ByRef(ParamModel p) {
    p.byRef = true;
    return p;
}
inline ParamModel Text(std::string name) { return Param(std::move(name), com::VT_BSTR); }
inline ParamModel TextOr(std::string name, std::string value) {
    return WithDefault(Text(std::move(name)), DefaultValue{std::move(value)});
}
inline ParamModel Long(std::string name) { return Param(std::move(name), com::VT_I4); }
inline ParamModel LongOr(std::string name, int32_t value) { return WithDefault(Long(std::move(name)), DefaultValue{value}); }
inline ParamModel Flag(std::string name) { return Param(std::move(name), com::VT_BOOL); }

// A method with a result of a plain type (VT_EMPTY: none) or of an enumeration.
inline MemberModel Method(com::DISPID id, std::string name, std::vector<ParamModel> params, com::VARTYPE result) {
    MemberModel m;
    m.id = id;
    m.name = std::move(name);
    m.kind = com::INVOKE_FUNC;
    m.params = std::move(params);
    m.result = result;
    return m;
}
inline MemberModel EnumMethod(com::DISPID id, std::string name, std::vector<ParamModel> params, std::string enumeration) {
    MemberModel m = Method(id, std::move(name), std::move(params), com::VT_USERDEFINED);
    m.resultTypeName = std::move(enumeration);
    return m;
}
inline MemberModel StatusMethod(com::DISPID id, std::string name, std::vector<ParamModel> params = {}) {
    return EnumMethod(id, std::move(name), std::move(params), "MorvalenStatus");
}

}  // namespace scanvelt::typelib
