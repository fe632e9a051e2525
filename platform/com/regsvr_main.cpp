// scanvelt-regsvr [-u] LIBRARY: registers an in-process server library in the
// per-user class registry (or, with -u, removes its registration) by calling
// its DllRegisterServer or DllUnregisterServer. A registry file that is
// damaged is renamed aside (kept) first, so that registration writes a new one.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/com/class_objects.h"
#include "platform/com/registry.h"

int main(int argc, char** argv) {
    bool unregister = false;
    const char* library = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0) unregister = true;
        else if (!library) library = argv[i];
        else library = nullptr, argc = 0;
    }
    if (!library) {
        std::fprintf(stderr, "usage: scanvelt-regsvr [-u] LIBRARY\n");
        return 2;
    }
    // A damaged registry would refuse every registration and leave scanning
    // off for good: it is put aside (kept, for a look) and a new one begun.
    const std::string registry = com::Registry::DefaultPath();
    std::string keptAs;
    if (com::FAILED(com::SetAsideDamagedRegistry(registry, &keptAs))) {
        std::fprintf(stderr, "scanvelt-regsvr: the class registry %s cannot be read\n", registry.c_str());
        return 1;
    }
    if (!keptAs.empty())
        std::fprintf(stderr, "scanvelt-regsvr: the class registry %s was damaged; it is kept as %s and a new one is written\n",
                     registry.c_str(), keptAs.c_str());
    std::string error;
    com::HRESULT hr = com::CallServerRegistration(library, unregister, &error);
    if (com::FAILED(hr)) {
        std::fprintf(stderr, "scanvelt-regsvr: %s of %s failed (0x%08X)%s%s\n",
                     unregister ? "unregistration" : "registration", library, static_cast<unsigned>(hr),
                     error.empty() ? "" : ": ", error.c_str());
        return 1;
    }
    std::printf("%s %s in %s\n", unregister ? "unregistered" : "registered", library,
                com::Registry::DefaultPath().c_str());
    return 0;
}
