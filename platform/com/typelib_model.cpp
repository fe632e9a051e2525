#include "platform/com/typelib_model.h"

#include "platform/win/environment.h"

namespace com {

bool NameEqualsNoCase(std::string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = static_cast<unsigned char>(a[i]);
        char16_t y = b[i];
        if (x >= u'A' && x <= u'Z') x += 32;
        if (y >= u'A' && y <= u'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

const TypeInfoModel* FindType(const TypeLibModel& library, std::string_view name) {
    int index = FindTypeIndex(library, name);
    return index < 0 ? nullptr : &library.types[static_cast<size_t>(index)];
}

int FindTypeIndex(const TypeLibModel& library, std::string_view name) {
    for (size_t i = 0; i < library.types.size(); ++i) {
        if (win::EqualsNoCase(library.types[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

const TypeInfoModel* FindTypeByGuid(const TypeLibModel& library, const GUID& guid) {
    for (const auto& type : library.types) {
        if (type.guid == guid) return &type;
    }
    return nullptr;
}

const MemberModel* FindMember(const TypeInfoModel& type, DISPID id, uint16_t invokeFlags) {
    for (const auto& member : type.members) {
        if (member.id != id) continue;
        if ((member.kind == INVOKE_FUNC && (invokeFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) ||
            (member.kind == INVOKE_PROPERTYGET && (invokeFlags & DISPATCH_PROPERTYGET)) ||
            (member.kind == INVOKE_PROPERTYPUT && (invokeFlags & DISPATCH_PROPERTYPUT)) ||
            (member.kind == INVOKE_PROPERTYPUTREF && (invokeFlags & DISPATCH_PROPERTYPUTREF)))
            return &member;
    }
    return nullptr;
}

DISPID FindMemberId(const TypeInfoModel& type, std::u16string_view name) {
    for (const auto& member : type.members) {
        if (NameEqualsNoCase(member.name, name)) return member.id;
    }
    return DISPID_UNKNOWN;
}

int FindParamIndex(const MemberModel& member, std::u16string_view name) {
    for (size_t i = 0; i < member.params.size(); ++i) {
        if (NameEqualsNoCase(member.params[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

HRESULT IdsOfNames(const TypeInfoModel& type, OLECHAR** names, uint32_t count, int32_t* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (uint32_t i = 0; i < count; ++i) ids[i] = -1;
    if (!names[0]) return DISP_E_UNKNOWNNAME;
    const MemberModel* member = nullptr;
    for (const auto& m : type.members) {
        if (NameEqualsNoCase(m.name, names[0])) {
            member = &m;
            break;
        }
    }
    if (!member) return DISP_E_UNKNOWNNAME;
    ids[0] = member->id;
    HRESULT hr = S_OK;
    for (uint32_t i = 1; i < count; ++i) {
        int p = names[i] ? FindParamIndex(*member, names[i]) : -1;
        if (p < 0) hr = DISP_E_UNKNOWNNAME;
        else ids[i] = p;
    }
    return hr;
}

}  // namespace com
