#pragma once
// What a self-registering in-process server writes into the class registry,
// and removes again: per class its CLSID entry (library path, apartment
// threading, ProgID, type library, the control mark and toolbox bitmap), the
// ProgID entry, the type library under its LIBID and version, and its
// interfaces.
#include <string>
#include <vector>

#include "platform/com/registry.h"
#include "platform/com/typelib_model.h"

namespace com {

struct ServerClass {
    std::string coclass;  // the coclass of the type library
    std::string progId;
    bool control = true;
    int toolboxBitmap = 0;  // resource number of the toolbox bitmap; 0 for none
};

// The registry key of a type library version: "TypeLib\{LIBID}\1.a" (the
// version in hexadecimal, as the registry holds it).
std::string TypeLibVersionKey(const TypeLibModel& library);

void WriteServerEntries(Registry& registry, const std::string& libraryPath, const TypeLibModel& library,
                        const std::vector<ServerClass>& classes);
void RemoveServerEntries(Registry& registry, const TypeLibModel& library, const std::vector<ServerClass>& classes);

// The path of the shared object that holds `address` (a function of it).
std::string ModulePathOf(const void* address);

}  // namespace com
