#pragma once
// A type library as data: the library, its type-information entries in order,
// their members with dispatch IDs and parameters, and enumeration constants.
// One model serves GetIDsOfNames, Invoke's argument binding, ITypeInfo and the
// binary image written at build time.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/com/interfaces.h"

namespace com {

// A default value of an optional parameter.
using DefaultValue = std::variant<int32_t, double, bool, std::string>;

struct ParamModel {
    std::string name;
    VARTYPE type = VT_I4;       // VT_USERDEFINED for an enumeration, named by `typeName`
    std::string typeName;       // the enumeration or interface a VT_USERDEFINED names
    bool byRef = false;
    bool optional = false;
    std::optional<DefaultValue> defaultValue;
    friend bool operator==(const ParamModel&, const ParamModel&) = default;
};

struct MemberModel {
    std::string name;
    DISPID id = 0;
    INVOKEKIND kind = INVOKE_FUNC;
    std::vector<ParamModel> params;
    VARTYPE result = VT_EMPTY;  // VT_EMPTY: no result
    std::string resultTypeName; // for a VT_USERDEFINED result
    friend bool operator==(const MemberModel&, const MemberModel&) = default;
};

struct ConstantModel {
    std::string name;
    int32_t value = 0;
    friend bool operator==(const ConstantModel&, const ConstantModel&) = default;
};

struct ImplTypeModel {
    std::string name;  // a type of this library, or "IDispatch" from stdole2
    int32_t flags = 0;
    friend bool operator==(const ImplTypeModel&, const ImplTypeModel&) = default;
};

struct TypeInfoModel {
    std::string name;
    TYPEKIND kind = TKIND_DISPATCH;
    GUID guid;
    uint16_t flags = 0;
    std::string doc;
    std::vector<MemberModel> members;
    std::vector<ConstantModel> constants;
    std::vector<ImplTypeModel> implTypes;  // coclass interfaces; an interface's base
    std::string aliasOf;                   // for TKIND_ALIAS
    friend bool operator==(const TypeInfoModel&, const TypeInfoModel&) = default;
};

struct TypeLibModel {
    std::string name;
    GUID libid;
    uint16_t major = 1;
    uint16_t minor = 0;
    LCID lcid = 0x409;
    uint16_t flags = 0;
    std::string doc;
    std::vector<TypeInfoModel> types;
    friend bool operator==(const TypeLibModel&, const TypeLibModel&) = default;
};

// Type flags.
constexpr uint16_t TYPEFLAG_FAPPOBJECT = 0x1;
constexpr uint16_t TYPEFLAG_FCANCREATE = 0x2;
constexpr uint16_t TYPEFLAG_FCONTROL = 0x20;
constexpr uint16_t TYPEFLAG_FHIDDEN = 0x10;
constexpr uint16_t TYPEFLAG_FDUAL = 0x40;
constexpr uint16_t TYPEFLAG_FNONEXTENSIBLE = 0x80;
constexpr uint16_t TYPEFLAG_FOLEAUTOMATION = 0x100;
constexpr uint16_t TYPEFLAG_FDISPATCHABLE = 0x1000;
constexpr uint16_t LIBFLAG_FCONTROL = 0x2;

// Look-ups. Names compare without regard to ASCII case, as hosts expect.
const TypeInfoModel* FindType(const TypeLibModel& library, std::string_view name);
const TypeInfoModel* FindTypeByGuid(const TypeLibModel& library, const GUID& guid);
int FindTypeIndex(const TypeLibModel& library, std::string_view name);
// The member of `type` with this id and a kind that `invokeFlags` allows
// (DISPATCH_* bits); for a property, the get or put that fits.
const MemberModel* FindMember(const TypeInfoModel& type, DISPID id, uint16_t invokeFlags);
// The id of the member called `name`, DISPID_UNKNOWN when there is none.
DISPID FindMemberId(const TypeInfoModel& type, std::u16string_view name);
// The position of the parameter called `name`, -1 when there is none.
int FindParamIndex(const MemberModel& member, std::u16string_view name);
// GetIDsOfNames over the model, for IDispatch and ITypeInfo alike: names[0]
// is a member, the rest its parameters (their positions). Every id starts as
// -1; DISP_E_UNKNOWNNAME when a name is not found.
HRESULT IdsOfNames(const TypeInfoModel& type, OLECHAR** names, uint32_t count, int32_t* ids);
bool NameEqualsNoCase(std::string_view a, std::u16string_view b);

}  // namespace com
