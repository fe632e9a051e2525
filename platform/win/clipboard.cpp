#include "platform/win/clipboard.h"

#include <mutex>
#include <utility>

namespace win {
namespace {

std::mutex& serviceMutex() {
    static std::mutex mutex;
    return mutex;
}

ClipboardService& installed() {
    static ClipboardService service;
    return service;
}

ClipboardService current() {
    std::lock_guard lock(serviceMutex());
    return installed();
}

}  // namespace

void SetClipboardService(ClipboardService service) {
    std::lock_guard lock(serviceMutex());
    installed() = std::move(service);
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

}  // namespace win
