#include "platform/print/print_system.h"

#include <mutex>

#include "platform/win/gdi_bitmap.h"
#include "platform/win/host_services.h"

namespace print {
namespace {

struct CurrentPrinter {
    std::mutex mutex;
    std::shared_ptr<PrintSystem> system;
    std::optional<PrinterSettings> settings;
    win::HDC informationContext{};
};

CurrentPrinter& current() { return win::HostService<CurrentPrinter>("print.current_printer"); }

// Called with the lock held: the context describes settings that changed.
void DropInformationContext(CurrentPrinter& c) {
    if (c.informationContext != win::HDC{}) win::DeleteDC(c.informationContext);
    c.informationContext = win::HDC{};
}

std::shared_ptr<PrintSystem> System() {
    std::lock_guard lock(current().mutex);
    return current().system;
}

}  // namespace

int32_t OrientedWidthTwips(const PrinterSettings& s) {
    return s.orientation == DMORIENT_LANDSCAPE ? s.paperHeightTwips : s.paperWidthTwips;
}
int32_t OrientedHeightTwips(const PrinterSettings& s) {
    return s.orientation == DMORIENT_LANDSCAPE ? s.paperWidthTwips : s.paperHeightTwips;
}

bool PaperSizeTwips(int16_t paperSize, int32_t& width, int32_t& height) {
    switch (paperSize) {
    case DMPAPER_LETTER: width = 12240, height = 15840; return true;
    case DMPAPER_LEGAL: width = 12240, height = 20160; return true;
    case DMPAPER_A3: width = 16838, height = 23811; return true;
    case DMPAPER_A4: width = 11906, height = 16838; return true;
    case DMPAPER_A5: width = 8391, height = 11906; return true;
    default: return false;
    }
}

void InstallPrintSystem(std::shared_ptr<PrintSystem> system) {
    std::optional<PrinterSettings> settings;
    if (system) {
        const auto printers = system->Printers();
        const PrinterInfo* chosen = printers.empty() ? nullptr : &printers.front();
        for (const auto& p : printers) {
            if (p.isDefault) chosen = &p;
        }
        if (chosen) settings = system->DefaultSettings(chosen->deviceName);
    }
    CurrentPrinter& c = current();
    std::lock_guard lock(c.mutex);
    DropInformationContext(c);
    c.system = std::move(system);
    c.settings = std::move(settings);
}

std::shared_ptr<PrintSystem> InstalledPrintSystem() { return System(); }

std::vector<PrinterInfo> InstalledPrinters() {
    auto system = System();
    return system ? system->Printers() : std::vector<PrinterInfo>{};
}

bool HasCurrentPrinter() {
    std::lock_guard lock(current().mutex);
    return current().settings.has_value();
}

PrinterSettings CurrentSettings() {
    std::lock_guard lock(current().mutex);
    return current().settings.value_or(PrinterSettings{});
}

void SetCurrentSettings(const PrinterSettings& settings) {
    CurrentPrinter& c = current();
    std::lock_guard lock(c.mutex);
    if (!c.settings) return;
    const std::string name = c.settings->deviceName;
    c.settings = settings;
    c.settings->deviceName = name;
    DropInformationContext(c);
}

bool MakeCurrent(const std::string& deviceName) {
    auto system = System();
    if (!system) return false;
    bool known = false;
    for (const auto& p : system->Printers()) known = known || p.deviceName == deviceName;
    if (!known) return false;
    PrinterSettings settings = system->DefaultSettings(deviceName);
    CurrentPrinter& c = current();
    std::lock_guard lock(c.mutex);
    c.settings = std::move(settings);
    DropInformationContext(c);
    return true;
}

DeviceGeometry CurrentGeometry() {
    auto system = System();
    if (!system || !HasCurrentPrinter()) return DeviceGeometry{};
    return system->Geometry(CurrentSettings());
}

win::HDC CurrentInformationContext() {
    auto system = System();
    if (!system || !HasCurrentPrinter()) return win::HDC{};
    const PrinterSettings settings = CurrentSettings();
    const DeviceGeometry geometry = system->Geometry(settings);
    CurrentPrinter& c = current();
    std::lock_guard lock(c.mutex);
    if (c.informationContext == win::HDC{}) {
        c.informationContext = win::CreateCompatibleDC(win::HDC{});
        win::DeviceCaps caps;
        caps.dpiX = geometry.dpiX;
        caps.dpiY = geometry.dpiY;
        caps.physicalWidth = static_cast<int32_t>(int64_t{OrientedWidthTwips(settings)} * geometry.dpiX / 1440);
        caps.physicalHeight = static_cast<int32_t>(int64_t{OrientedHeightTwips(settings)} * geometry.dpiY / 1440);
        caps.offsetX = geometry.offsetX;
        caps.offsetY = geometry.offsetY;
        caps.printableWidth = caps.physicalWidth - 2 * geometry.offsetX;
        caps.printableHeight = caps.physicalHeight - 2 * geometry.offsetY;
        win::SetDeviceCaps(c.informationContext, caps);
    }
    return c.informationContext;
}

std::unique_ptr<PrintJob> StartCurrentDoc(const std::string& documentName) {
    auto system = System();
    if (!system || !HasCurrentPrinter()) return nullptr;
    return system->StartDoc(CurrentSettings(), documentName);
}

std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogRequest& request) {
    auto system = System();
    if (!system) return std::nullopt;
    return system->ShowPrintDialog(request, CurrentSettings());
}

}  // namespace print
