#include "platform/win/clipboard.h"

#include <mutex>
#include <utility>

#include "platform/win/host_services.h"

namespace win {
namespace {

struct ClipboardSlot {
    std::mutex mutex;
    ClipboardService service;
};

ClipboardSlot& slot() { return HostService<ClipboardSlot>("win.clipboard"); }

ClipboardService current() {
    std::lock_guard lock(slot().mutex);
    return slot().service;
}

}  // namespace

void SetClipboardService(ClipboardService service) {
    std::lock_guard lock(slot().mutex);
    slot().service = std::move(service);
}

ClipboardResult EmptyClipboard() {
    const ClipboardService service = current();
    return service.empty ? service.empty() : ClipboardResult::Failed;
}

ClipboardResult SetClipboardBitmap(HBITMAP bitmap) {
    const ClipboardService service = current();
    if (!service.putBitmap) return ClipboardResult::Failed;
    const std::shared_ptr<GdiBitmap> found = FindBitmap(bitmap);
    if (!found) return ClipboardResult::Failed;
    return service.putBitmap(*found);
}

HBITMAP GetClipboardBitmap() {
    const ClipboardService service = current();
    return service.takeBitmap ? service.takeBitmap() : HBITMAP{};
}

}  // namespace win
