#include "platform/win/host_services.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win/global_memory.h"
#include "platform/win/message_box.h"

namespace {

TEST(HostServices, OneSlotPerNameWhateverTheCaller) {
    int& a = win::HostService<int>("test.counter");
    int& b = win::HostService<int>("test.counter");
    EXPECT_EQ(&a, &b);
    EXPECT_NE(static_cast<void*>(&a), static_cast<void*>(&win::HostService<int>("test.other")));
}

// The probe library links its own hidden copy of the platform layer; the box
// the host installs here must be the one it shows.
TEST(HostServices, ServiceInstalledByTheHostReachesALibrarysOwnCopy) {
    void* library = dlopen(SERVICE_PROBE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto show = reinterpret_cast<int (*)(const char*)>(dlsym(library, "service_probe_show"));
    ASSERT_NE(show, nullptr);

    std::string shown;
    win::SetMessageBoxHandler([&](const win::MessageBoxRequest& request) {
        shown = request.title + ": " + request.text;
        return 7;
    });
    EXPECT_EQ(show("from the library"), 7);
    EXPECT_EQ(shown, "Probe: from the library");
    win::SetMessageBoxHandler({});
    dlclose(library);
}

// A memory block a library allocates is one the host can read and free: the
// block table is one for the whole process.
TEST(HostServices, GlobalBlockOfALibrarysCopyIsTheHostsToFree) {
    void* library = dlopen(SERVICE_PROBE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto allocate = reinterpret_cast<uint32_t (*)(uint32_t)>(dlsym(library, "service_probe_block"));
    ASSERT_NE(allocate, nullptr);
    const size_t before = win::LiveGlobalBlockCount();
    const win::HGLOBAL block{allocate(12)};
    EXPECT_EQ(win::GlobalSize(block), 12u);
    EXPECT_EQ(win::LiveGlobalBlockCount(), before + 1);
    EXPECT_EQ(win::GlobalFree(block), win::HGLOBAL{});
    EXPECT_EQ(win::LiveGlobalBlockCount(), before);
    dlclose(library);
}

}  // namespace
