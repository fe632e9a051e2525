#pragma once
// The scanner's dialogs as Qt windows, and the Qt event loop as the host's
// "let pending messages run": a device list with "Select" and "Cancel", a
// setup dialog of the device's settings applied on OK, and a small progress
// window with a Cancel button. Installed for the life of the object (a
// QApplication must exist); removed again at its end.
#include <memory>

#include "platform/win/scan_dialogs.h"

namespace forms_qt {

class ScopedQtScanDialogs {
public:
    ScopedQtScanDialogs();
    ~ScopedQtScanDialogs();
    ScopedQtScanDialogs(const ScopedQtScanDialogs&) = delete;
    ScopedQtScanDialogs& operator=(const ScopedQtScanDialogs&) = delete;

private:
    struct Progress;
    std::shared_ptr<Progress> progress_;
};

// The dialogs one by one (what the installed service shows).
win::DialogAnswer RunSourceChoiceDialog(const win::ScanSourceChoiceRequest& request, size_t& chosen);
win::DialogAnswer RunSetupDialog(win::ScanSetupRequest& request);

}  // namespace forms_qt
