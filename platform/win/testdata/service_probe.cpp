// A library with a private copy of the platform layer, as the server library
// has: its message boxes must reach the box the host installed.
#include "platform/win/message_box.h"

extern "C" __attribute__((visibility("default"))) int service_probe_show(const char* text) {
    return win::ShowMessageBox({0, text, "Probe", win::MB_OK});
}
