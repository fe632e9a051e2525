#pragma once
// For tests: a small type library with every kind of entry the servers use.
#include "platform/com/typelib_model.h"

namespace com::testing {

inline ParamModel SampleParam(std::string name, VARTYPE type, std::string typeName = "", bool optional = false,
                              std::optional<DefaultValue> defaultValue = std::nullopt) {
    ParamModel p;
    p.name = std::move(name);
    p.type = type;
    p.typeName = std::move(typeName);
    p.optional = optional;
    p.defaultValue = std::move(defaultValue);
    return p;
}

inline const TypeLibModel& SampleTypeLib() {
    static const TypeLibModel model = [] {
        TypeLibModel m;
        m.name = "Sample";
        m.libid = *win::ParseGuid("{0A1B2C3D-0000-4000-8000-000000000001}");
        m.major = 1;
        m.minor = 10;
        m.flags = LIBFLAG_FCONTROL;
        m.doc = "Sample library";
        TypeInfoModel face;
        face.name = "_Widget";
        face.kind = TKIND_DISPATCH;
        face.guid = *win::ParseGuid("{0A1B2C3D-0000-4000-8000-000000000002}");
        face.flags = 0x11d0;
        face.implTypes = {{"IDispatch", 0}};
        face.members = {
            {"GetVersion", 0x60030000, INVOKE_FUNC, {}, VT_R8, ""},
            {"SetArea", 0x60030001, INVOKE_FUNC,
             {SampleParam("nLeft", VT_I4), SampleParam("nTop", VT_I4),
              SampleParam("sLabel", VT_BSTR, "", true, DefaultValue{std::string("none")}),
              SampleParam("nMode", VT_USERDEFINED, "Modes", true, DefaultValue{int32_t{2}})},
             VT_USERDEFINED, "Modes"},
            {"Scale", 0x60030002, INVOKE_FUNC,
             {SampleParam("nFactor", VT_R4, "", true, DefaultValue{99.5}), SampleParam("bFast", VT_BOOL, "", true, DefaultValue{true}),
              SampleParam("nCount", VT_I4, "", true)},
             VT_BOOL, ""},
            {"Caption", 0x68030003, INVOKE_PROPERTYGET, {}, VT_BSTR, ""},
            {"Caption", 0x68030003, INVOKE_PROPERTYPUT, {SampleParam("value", VT_BSTR)}, VT_EMPTY, ""},
        };
        TypeInfoModel coclass;
        coclass.name = "Widget";
        coclass.kind = TKIND_COCLASS;
        coclass.guid = *win::ParseGuid("{0A1B2C3D-0000-4000-8000-000000000003}");
        coclass.flags = TYPEFLAG_FCONTROL;
        coclass.implTypes = {{"_Widget", IMPLTYPEFLAG_FDEFAULT}, {"__Widget", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
        TypeInfoModel alias;
        alias.name = "Widget___v0";
        alias.kind = TKIND_ALIAS;
        alias.guid = *win::ParseGuid("{0A1B2C3D-0000-4000-8000-000000000004}");
        alias.flags = TYPEFLAG_FHIDDEN;
        alias.aliasOf = "_Widget";
        TypeInfoModel events;
        events.name = "__Widget";
        events.kind = TKIND_DISPATCH;
        events.guid = *win::ParseGuid("{0A1B2C3D-0000-4000-8000-000000000005}");
        events.flags = 0x1090;
        events.implTypes = {{"IDispatch", 0}};
        events.members = {{"Changed", 1, INVOKE_FUNC, {SampleParam("nValue", VT_I4)}, VT_EMPTY, ""}};
        TypeInfoModel modes;
        modes.name = "Modes";
        modes.kind = TKIND_ENUM;
        modes.guid = *win::ParseGuid("{0A1B2C3D-0000-4000-8000-000000000006}");
        modes.constants = {{"ModeSmall", 1}, {"ModeLarge", 2}, {"ModeNegative", -32768}};
        m.types = {face, coclass, alias, events, modes};
        return m;
    }();
    return model;
}

}  // namespace com::testing
