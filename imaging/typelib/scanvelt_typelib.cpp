#include "imaging/typelib/scanvelt_typelib.h"

#include <string>

#include "imaging/typelib/enumerations.h"

namespace scanvelt::typelib {
namespace {

using namespace com;

GUID guidOf(const char* text) { return *win::ParseGuid(text); }

std::vector<IID> guidsOf(std::initializer_list<const char*> texts) {
    std::vector<IID> out;
    for (const char* t : texts) out.push_back(guidOf(t));
    return out;
}

constexpr uint16_t kDualInterfaceFlags = 0x11d0;
constexpr uint16_t kEventInterfaceFlags = 0x1090;

const std::vector<IID>& twainAliases() {
    static const auto ids = guidsOf({
        "{27E191E7-8F21-4ED8-B804-46253B50AFA7}", "{8CCEB000-B0A8-4453-8BC0-5C349BB31459}",
        "{89243465-380A-49B7-9620-0701ADF73BC9}", "{8802B323-5FC7-4826-B676-61D52272BBCA}",
        "{6D9EA6A4-16A2-43AF-9225-869BA48967AC}", "{A33D2AFC-3483-4122-A925-EDE611151324}",
        "{0AFD2D18-EEBF-441F-980D-8A03357BF773}", "{057FD98F-1673-4F46-9549-CF684AF54DD8}",
    });
    return ids;
}

const std::vector<IID>& viewerAliases() {
    static const auto ids = guidsOf({
        "{83E82D53-3522-40AC-86DB-A7B4474DDBA2}", "{78212763-7F23-4D16-8FB6-F8E163AF9066}",
        "{D1874158-F9A8-40AC-9202-1FB7774CB2A6}", "{EF9D06F7-BB3C-4A43-AAAB-3D7FDFD9A51D}",
        "{285CCBF1-F113-4C6A-99AD-DBAD0DFBAC73}", "{2849FCE7-130E-4515-8888-41D341907DC9}",
        "{81E67899-5267-480F-B435-38AF508AC179}", "{FCAD7D81-2C27-4B94-A3DE-8E67E677AE5C}",
        "{843E841D-B768-4A70-A747-3002C52E3C25}",
    });
    return ids;
}

TypeInfoModel dualInterface(std::string name, const IID& iid, std::vector<MemberModel> members) {
    TypeInfoModel t;
    t.name = std::move(name);
    t.kind = TKIND_DISPATCH;
    t.guid = iid;
    t.flags = kDualInterfaceFlags;
    t.implTypes = {{"IDispatch", 0}};
    t.members = std::move(members);
    return t;
}

TypeInfoModel eventInterface(std::string name, const IID& iid, std::vector<MemberModel> events) {
    TypeInfoModel t = dualInterface(std::move(name), iid, std::move(events));
    t.flags = kEventInterfaceFlags;
    return t;
}

TypeInfoModel coclass(std::string name, const CLSID& clsid, uint16_t flags, std::vector<ImplTypeModel> faces) {
    TypeInfoModel t;
    t.name = std::move(name);
    t.kind = TKIND_COCLASS;
    t.guid = clsid;
    t.flags = flags;
    t.implTypes = std::move(faces);
    return t;
}

TypeInfoModel alias(std::string name, const IID& iid, std::string of) {
    TypeInfoModel t;
    t.name = std::move(name);
    t.kind = TKIND_ALIAS;
    t.guid = iid;
    t.flags = TYPEFLAG_FHIDDEN;
    t.aliasOf = std::move(of);
    return t;
}

TypeLibModel build() {
    TypeLibModel m;
    m.name = "Scanvelt";
    m.libid = LibraryId();
    m.major = 1;
    m.minor = 10;
    m.lcid = 0x409;
    m.flags = LIBFLAG_FCONTROL;
    m.doc = "Scanvelt - TWAIN ActiveX";
    const int source = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
    m.types.push_back(dualInterface("_Twain", TwainInterfaceId(), TwainMembers()));
    m.types.push_back(coclass("Twain", TwainClassId(), TYPEFLAG_FCONTROL, {{"_Twain", IMPLTYPEFLAG_FDEFAULT}, {"__Twain", source}}));
    for (size_t i = 0; i < twainAliases().size(); ++i)
        m.types.push_back(alias("Twain___v" + std::to_string(i), twainAliases()[i], "_Twain"));
    m.types.push_back(dualInterface("_MvViewer", MvViewerInterfaceId(), MvViewerMembers()));
    m.types.push_back(coclass("MvViewer", MvViewerClassId(), TYPEFLAG_FCONTROL,
                              {{"_MvViewer", IMPLTYPEFLAG_FDEFAULT}, {"__MvViewer", source}}));
    for (size_t i = 0; i < viewerAliases().size(); ++i)
        m.types.push_back(alias("MvViewer___v" + std::to_string(i), viewerAliases()[i], "_MvViewer"));
    m.types.push_back(dualInterface("_dummy", DummyInterfaceId(), {}));
    m.types.push_back(coclass("dummy", DummyClassId(), 0, {{"_dummy", IMPLTYPEFLAG_FDEFAULT}}));
    m.types.push_back(eventInterface("__MvViewer", MvViewerEventsId(), MvViewerEvents()));
    m.types.push_back(eventInterface("__Twain", TwainEventsId(), {}));
    for (const auto& e : Enumerations()) {
        TypeInfoModel t;
        t.name = e.name;
        t.kind = TKIND_ENUM;
        t.guid = guidOf(e.guid.c_str());
        t.constants = e.constants;
        m.types.push_back(std::move(t));
    }
    return m;
}

}  // namespace

const TypeLibModel& ScanveltTypeLib() {
    static const TypeLibModel model = build();
    return model;
}

namespace {

// Member names are ASCII.
DISPID memberIdIn(const char* type, std::string_view name) {
    return FindMemberId(*FindType(ScanveltTypeLib(), type), std::u16string(name.begin(), name.end()));
}

}  // namespace

DISPID TwainMemberId(std::string_view name) { return memberIdIn("_Twain", name); }
DISPID MvViewerMemberId(std::string_view name) { return memberIdIn("_MvViewer", name); }

const GUID& LibraryId() { static const GUID g = guidOf("{730F43B9-5CFC-4D83-A779-D7ED538F2AE8}"); return g; }
const CLSID& TwainClassId() { static const GUID g = guidOf("{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}"); return g; }
const CLSID& MvViewerClassId() { static const GUID g = guidOf("{F4D3F1FC-A6AB-41E3-8A76-0EEE16CE2BE4}"); return g; }
const CLSID& DummyClassId() { static const GUID g = guidOf("{17DAEECC-41E0-4BEA-B940-DC2B7D54FBF9}"); return g; }
const IID& TwainInterfaceId() { static const GUID g = guidOf("{E88070E3-5582-4BA6-A34E-3AB5188857D3}"); return g; }
const IID& TwainEventsId() { static const GUID g = guidOf("{64C13E5E-A5F2-4205-93D7-AE1D2FA1F69B}"); return g; }
const IID& MvViewerInterfaceId() { static const GUID g = guidOf("{2E660E5C-8024-4E78-A237-1D86BBADF6D5}"); return g; }
const IID& MvViewerEventsId() { static const GUID g = guidOf("{CAF35BA2-AF39-496A-B1E4-EC4DCE8D02D8}"); return g; }
const IID& DummyInterfaceId() { static const GUID g = guidOf("{1F279EEB-B778-41A0-B1CB-F3A66D02F5ED}"); return g; }

const std::vector<IID>& TwainInterfaceIds() {
    static const auto ids = [] {
        auto v = twainAliases();
        v.push_back(TwainInterfaceId());
        return v;
    }();
    return ids;
}

const std::vector<IID>& MvViewerInterfaceIds() {
    static const auto ids = [] {
        auto v = viewerAliases();
        v.push_back(MvViewerInterfaceId());
        return v;
    }();
    return ids;
}

const std::vector<IID>& DummyInterfaceIds() {
    static const std::vector<IID> ids = {DummyInterfaceId()};
    return ids;
}

const std::vector<IID>& TwainSourceInterfaceIds() {
    static const auto ids = [] {
        auto v = guidsOf({
            "{FE056F9A-55BC-4478-ACE6-44679206C632}", "{9CF633F1-DCDB-44FC-A39A-F021344AFF39}",
            "{54B47CFB-BF42-4ED1-9CF5-022A422ECA21}", "{69A973A7-AFA1-4E0C-86CC-999B36C8788D}",
            "{AFC5F18B-2D4E-4DD8-9671-89DFC03E7EE1}", "{5484BA06-56FE-49ED-817D-C3FA65211A02}",
            "{0442EA61-00C6-4F74-8065-1AA7963E2C94}", "{DEA84F91-287D-4154-A9AF-649E398A1FF3}",
        });
        v.push_back(TwainEventsId());
        return v;
    }();
    return ids;
}

const std::vector<IID>& MvViewerSourceInterfaceIds() {
    static const auto ids = [] {
        auto v = guidsOf({
            "{A24F6D18-224C-4277-97DE-5C28A8B5B2E9}", "{8682B9B9-AC14-4D05-A9A7-6600D1284C47}",
            "{7A6FD5A5-351A-433A-815D-F6B07833B007}", "{34929F33-B608-49D2-B158-5571413859A2}",
            "{BDAA99F9-83BD-439D-A742-BDD130102E8D}", "{77CFA11D-FE80-4EB3-9CAE-CBC4F3F4C2A8}",
            "{A32654CD-492D-4F59-B99F-54E771FC1AB6}", "{296EE90D-E4AD-4E32-87CB-7EB96668698C}",
            "{6C14E037-93A9-4034-AC57-3A451FF681D7}",
        });
        v.push_back(MvViewerEventsId());
        return v;
    }();
    return ids;
}

}  // namespace scanvelt::typelib
