#pragma once
// Keeps SANE's "test" backend loaded for the life of a test program. sane_exit
// unloads the backends, and what the test backend leaves behind (the 64 KiB
// buffer of a scan whose reader thread was cancelled, some configuration
// strings; listed in scripts/lsan.supp) would then come from no known
// library: the leak checker could not tell it from a leak of ours. libsane
// itself is let go again, so that it still reads its configuration anew each
// time it is loaded.
#include <dlfcn.h>

#include <filesystem>

namespace win::testing {

inline void KeepSaneTestBackendLoaded() {
    static const bool kept = [] {
        void* sane = dlopen("libsane.so.1", RTLD_NOW);
        if (!sane) return false;
        Dl_info info{};
        void* init = dlsym(sane, "sane_init");
        bool found = init && dladdr(init, &info) && info.dli_fname;
        // The backends sit in the "sane" folder beside libsane.
        const auto backend = found ? std::filesystem::path(info.dli_fname).parent_path() / "sane" / "libsane-test.so.1"
                                   : std::filesystem::path();
        dlclose(sane);
        return found && dlopen(backend.c_str(), RTLD_NOW | RTLD_NODELETE) != nullptr;
    }();
    (void)kept;
}

}  // namespace win::testing
