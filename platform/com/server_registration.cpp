#include "platform/com/server_registration.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>

#include "platform/win/environment.h"

namespace com {
namespace {

// The proxy/stub class of automation interfaces, as dual interfaces register it.
constexpr GUID kAutomationProxyStub = makeOleGuid(0x00020424);

std::string hexVersion(const TypeLibModel& library) {
    char text[16];
    std::snprintf(text, sizeof text, "%x.%x", library.major, library.minor);
    return text;
}

std::string clsidKey(const TypeInfoModel& type) { return "CLSID\\" + win::FormatGuid(type.guid); }

}  // namespace

std::string TypeLibVersionKey(const TypeLibModel& library) {
    return "TypeLib\\" + win::FormatGuid(library.libid) + "\\" + hexVersion(library);
}

void WriteServerEntries(Registry& registry, const std::string& libraryPath, const TypeLibModel& library,
                        const std::vector<ServerClass>& classes) {
    const std::string libid = win::FormatGuid(library.libid);
    for (const auto& c : classes) {
        const TypeInfoModel* type = FindType(library, c.coclass);
        if (!type) continue;
        const std::string key = clsidKey(*type);
        registry.SetValue(key, "", c.coclass + " Class");
        registry.SetValue(key + "\\InprocServer32", "", libraryPath);
        registry.SetValue(key + "\\InprocServer32", "ThreadingModel", "Apartment");
        registry.SetValue(key + "\\ProgID", "", c.progId);
        registry.SetValue(key + "\\TypeLib", "", libid);
        registry.SetValue(key + "\\Version", "", std::to_string(library.major) + "." + std::to_string(library.minor));
        if (c.control) registry.CreateKey(key + "\\Control");
        if (c.toolboxBitmap) registry.SetValue(key + "\\ToolboxBitmap32", "", libraryPath + ", " + std::to_string(c.toolboxBitmap));
        registry.SetValue(c.progId, "", c.coclass + " Class");
        registry.SetValue(c.progId + "\\CLSID", "", win::FormatGuid(type->guid));
    }
    const std::string typeLibKey = TypeLibVersionKey(library);
    registry.SetValue(typeLibKey, "", library.doc.empty() ? library.name : library.doc);
    registry.SetValue(typeLibKey + "\\0\\win64", "", libraryPath);
    registry.SetValue(typeLibKey + "\\FLAGS", "", std::to_string(library.flags));
    registry.SetValue(typeLibKey + "\\HELPDIR", "", std::filesystem::path(libraryPath).parent_path().string());
    for (const auto& type : library.types) {
        if (type.kind != TKIND_DISPATCH && type.kind != TKIND_INTERFACE) continue;
        const std::string key = "Interface\\" + win::FormatGuid(type.guid);
        registry.SetValue(key, "", type.name);
        registry.SetValue(key + "\\ProxyStubClsid32", "", win::FormatGuid(kAutomationProxyStub));
        registry.SetValue(key + "\\TypeLib", "", libid);
        registry.SetValue(key + "\\TypeLib", "Version", hexVersion(library));
    }
}

void RemoveServerEntries(Registry& registry, const TypeLibModel& library, const std::vector<ServerClass>& classes) {
    for (const auto& c : classes) {
        const TypeInfoModel* type = FindType(library, c.coclass);
        if (!type) continue;
        registry.DeleteTree(clsidKey(*type));
        // The ProgID goes only while it still names this class.
        auto named = registry.GetValue(c.progId + "\\CLSID");
        if (named && *named == win::FormatGuid(type->guid)) registry.DeleteTree(c.progId);
    }
    registry.DeleteTree(TypeLibVersionKey(library));
    const std::string libraryKey = "TypeLib\\" + win::FormatGuid(library.libid);
    bool otherVersions = false;
    for (const auto& key : registry.Keys()) {
        if (key.size() > libraryKey.size() && win::EqualsNoCase(key.substr(0, libraryKey.size() + 1), libraryKey + "\\"))
            otherVersions = true;
    }
    if (!otherVersions) registry.DeleteTree(libraryKey);
    for (const auto& type : library.types) {
        if (type.kind == TKIND_DISPATCH || type.kind == TKIND_INTERFACE)
            registry.DeleteTree("Interface\\" + win::FormatGuid(type.guid));
    }
}

std::string ModulePathOf(const void* address) {
    Dl_info info{};
    if (!::dladdr(address, &info) || !info.dli_fname) return {};
    std::error_code error;
    auto path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : path.string();
}

}  // namespace com
