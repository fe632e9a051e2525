#include "platform/win/pending_messages.h"

#include <mutex>

#include "platform/win/host_services.h"

namespace win {
namespace {

struct PendingMessagesService {
    std::mutex mutex;
    std::function<void()> handler;
};

PendingMessagesService& service() { return HostService<PendingMessagesService>("win.pending_messages"); }

}  // namespace

void SetPendingMessagesHandler(std::function<void()> handler) {
    std::lock_guard lock(service().mutex);
    service().handler = std::move(handler);
}

void RunPendingMessages() {
    std::function<void()> handler;
    {
        std::lock_guard lock(service().mutex);
        handler = service().handler;
    }
    // Outside the lock: the handlers that run may ask for the pump again.
    if (handler) handler();
}

}  // namespace win
