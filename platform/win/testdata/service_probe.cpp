// A library with a private copy of the platform layer, as the server library
// has: its message boxes must reach the box the host installed.
#include "platform/win/message_box.h"

extern "C" __attribute__((visibility("default"))) int service_probe_show(const char* text) {
    return win::ShowMessageBox({0, text, "Probe", win::MB_OK});
}

#include "platform/win/global_memory.h"

// A block allocated by the library's own copy, as a plug-in hands over a page.
extern "C" __attribute__((visibility("default"))) uint32_t service_probe_block(uint32_t bytes) {
    return static_cast<uint32_t>(win::GlobalAlloc(win::GHND, bytes));
}
