#include "platform/win/message_box.h"

#include <cstdio>
#include <mutex>

#include "platform/win/host_services.h"

namespace win {
namespace {

struct MessageBoxService {
    std::mutex mutex;
    MessageBoxHandler handler;
};

MessageBoxService& service() { return HostService<MessageBoxService>("win.message_box"); }

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(service().mutex);
    service().handler = std::move(handler);
}

int ShowMessageBox(const MessageBoxRequest& request) {
    MessageBoxHandler handler;
    {
        std::lock_guard lock(service().mutex);
        handler = service().handler;
    }
    if (!handler) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return IDOK;
    }
    // The box runs outside the lock: it may run a nested event loop.
    return handler(request);
}

}  // namespace win
