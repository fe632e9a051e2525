#include "platform/win/open_file_dialog.h"

#include "platform/win/host_services.h"
#include "platform/win/text_encoding.h"

#include <mutex>

namespace win {
namespace {

struct DialogService {
    std::mutex mutex;
    OpenFileDialogHandler handler;
};

DialogService& service() { return HostService<DialogService>("win.open_file_dialog"); }

}  // namespace

void SetOpenFileDialogHandler(OpenFileDialogHandler handler) {
    std::lock_guard lock(service().mutex);
    service().handler = std::move(handler);
}

std::optional<std::string> GetOpenFileName(const OpenFileDialogRequest& request) {
    OpenFileDialogHandler handler;
    {
        std::lock_guard lock(service().mutex);
        handler = service().handler;
    }
    if (!handler) return std::nullopt;
    // The dialog runs outside the lock: it may run a nested event loop.
    auto chosen = handler(request);
    if (!chosen || Utf8Length(*chosen) > request.maxPathLength) return std::nullopt;
    return chosen;
}

}  // namespace win
