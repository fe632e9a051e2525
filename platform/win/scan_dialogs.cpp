#include "platform/win/scan_dialogs.h"

#include <mutex>

#include "platform/win/host_services.h"

namespace win {
namespace {

struct ScanDialogSlot {
    std::mutex mutex;
    ScanDialogService service;
};

ScanDialogSlot& slot() { return HostService<ScanDialogSlot>("win.scan_dialogs"); }

// A copy, so that the dialog runs outside the lock (it runs a nested event loop).
ScanDialogService installed() {
    std::lock_guard lock(slot().mutex);
    return slot().service;
}

}  // namespace

void SetScanDialogService(ScanDialogService service) {
    std::lock_guard lock(slot().mutex);
    slot().service = std::move(service);
}

DialogAnswer ChooseScanSource(const ScanSourceChoiceRequest& request, size_t& chosen) {
    auto service = installed();
    if (!service.chooseSource) return DialogAnswer::NoUserInterface;
    return service.chooseSource(request, chosen);
}

DialogAnswer EditScanSetup(ScanSetupRequest& request) {
    auto service = installed();
    if (!service.editSetup) return DialogAnswer::NoUserInterface;
    return service.editSetup(request);
}

bool ShowScanProgress(const ScanProgress& progress) {
    auto service = installed();
    return service.showProgress ? service.showProgress(progress) : true;
}

void CloseScanProgress() {
    auto service = installed();
    if (service.closeProgress) service.closeProgress();
}

}  // namespace win
