#pragma once
// Printing as the library sees it: the process's current printer with its
// settings (the printer object a program prints through), the installed
// printers, print jobs whose pages are device contexts to draw into, and the
// print dialog. The library shows nothing and speaks to no print system
// itself: a host installs one (platform_print_qt: Qt's printing, which
// speaks CUPS, plus a PDF file printer of our own). Without one there is no
// printer, every job fails and the dialog counts as cancelled.
//
// The current printer and the installed system are host services
// (win::HostService), so every library of the process shares them.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/handles.h"

namespace print {

// Paper size codes (the DEVMODE ones) this layer knows the size of.
constexpr int16_t DMPAPER_LETTER = 1;
constexpr int16_t DMPAPER_LEGAL = 5;
constexpr int16_t DMPAPER_A3 = 8;
constexpr int16_t DMPAPER_A4 = 9;
constexpr int16_t DMPAPER_A5 = 11;
constexpr int16_t DMPAPER_USER = 256;
constexpr int16_t DMORIENT_PORTRAIT = 1;
constexpr int16_t DMORIENT_LANDSCAPE = 2;
constexpr int16_t DMCOLOR_MONOCHROME = 1;
constexpr int16_t DMCOLOR_COLOR = 2;
constexpr int16_t DMDUP_SIMPLEX = 1;
constexpr int16_t DMBIN_AUTO = 7;
constexpr int16_t DMRES_HIGH = -4;

// A printer's state as CUPS reports it (IPP printer-state).
enum class PrinterState : int32_t { Idle = 3, Processing = 4, Stopped = 5 };

struct PrinterInfo {
    std::string deviceName;
    PrinterState state = PrinterState::Idle;
    bool isDefault = false;
};

// The settings of the current printer. The paper is in twips (1440 per
// inch) as the printer was set up, before the orientation turns it.
struct PrinterSettings {
    std::string deviceName;
    int16_t paperSize = DMPAPER_A4;
    int32_t paperWidthTwips = 11906;   // 210 mm
    int32_t paperHeightTwips = 16838;  // 297 mm
    int16_t orientation = DMORIENT_PORTRAIT;
    int16_t copies = 1;
    int16_t paperBin = DMBIN_AUTO;
    int16_t colorMode = DMCOLOR_COLOR;
    int16_t duplex = DMDUP_SIMPLEX;
    int16_t printQuality = DMRES_HIGH;
};

// The paper as it lies for printing: width and height in twips after the orientation.
int32_t OrientedWidthTwips(const PrinterSettings& settings);
int32_t OrientedHeightTwips(const PrinterSettings& settings);
// The size of a known paper code in twips (portrait); false for other codes.
bool PaperSizeTwips(int16_t paperSize, int32_t& width, int32_t& height);

// Where a printer can put ink on a sheet: its resolution and the unprintable
// offsets at the left and top, in device pixels.
struct DeviceGeometry {
    int32_t dpiX = 300;
    int32_t dpiY = 300;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
};

// One document on its way to a printer. Pages are drawn into PageDC() (a
// memory context over the page's pixels with the printer's capabilities:
// its resolution, the whole sheet at its orientation, its offsets).
class PrintJob {
public:
    virtual ~PrintJob() = default;
    virtual win::HDC PageDC() = 0;
    // Ends the current page and starts the next; false when the page could not be given to the printer.
    virtual bool NewPage() = 0;
    // Ends the last page and the document; false when the printer did not take it.
    virtual bool EndDoc() = 0;
};

// What the print dialog offers and what the user chose.
struct PrintDialogRequest {
    uint32_t ownerWindow = 0;
    int32_t minPage = 0, maxPage = 0, fromPage = 0, toPage = 0;  // all 0: no page range offered
};
struct PrintDialogChoice {
    PrinterSettings settings;  // the printer chosen and its settings
    int32_t fromPage = 0, toPage = 0;
};

// What a host installs.
class PrintSystem {
public:
    virtual ~PrintSystem() = default;
    virtual std::vector<PrinterInfo> Printers() = 0;
    // The settings a printer starts with when it becomes current.
    virtual PrinterSettings DefaultSettings(const std::string& deviceName) = 0;
    virtual DeviceGeometry Geometry(const PrinterSettings& settings) = 0;
    // A job named `documentName`; null when the printer cannot take one.
    virtual std::unique_ptr<PrintJob> StartDoc(const PrinterSettings& settings, const std::string& documentName) = 0;
    // nullopt when the user cancelled.
    virtual std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogRequest& request,
                                                             const PrinterSettings& current) = 0;
};

// Installs the host's print system (null removes it) and makes its default
// printer (or its first) the current one.
void InstallPrintSystem(std::shared_ptr<PrintSystem> system);
std::shared_ptr<PrintSystem> InstalledPrintSystem();

// --- the current printer of the process ---

std::vector<PrinterInfo> InstalledPrinters();
// False when no printer is current (none installed).
bool HasCurrentPrinter();
PrinterSettings CurrentSettings();
// Replaces the current printer's settings (the device name stays).
void SetCurrentSettings(const PrinterSettings& settings);
// Makes an installed printer current with its default settings; false when
// there is no such printer.
bool MakeCurrent(const std::string& deviceName);
DeviceGeometry CurrentGeometry();
// A context with the current printer's capabilities (no pixels to draw on),
// for questions like GetDeviceCaps; the null handle without a printer. It
// stays valid until the settings or the printer change.
win::HDC CurrentInformationContext();
std::unique_ptr<PrintJob> StartCurrentDoc(const std::string& documentName);
std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogRequest& request);

}  // namespace print
