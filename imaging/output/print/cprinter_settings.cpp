// The printing class's view of the current printer: its settings, the
// installed printers, the choice of one by name.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "imaging/output/print/cprinter.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kTwipsPerInch = 1440.0;

std::string TrimmedUpper(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    std::string out = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

// Changes a setting of the current printer; nothing without one.
template <class Edit>
void ChangeSetting(Edit change) {
    if (!print::HasCurrentPrinter()) return;
    print::PrinterSettings settings = print::CurrentSettings();
    change(settings);
    print::SetCurrentSettings(settings);
}

template <class Reader>
int16_t ReadSetting(Reader read) {
    return print::HasCurrentPrinter() ? read(print::CurrentSettings()) : int16_t{0};
}

int32_t TwipsOf(float mm) { return static_cast<int32_t>(std::nearbyint(mm * kTwipsPerInch / kMmPerInch)); }

}  // namespace

void cPrinter::SetUserPaperSize(float widthMm, float heightMm) {
    ChangeSetting([&](print::PrinterSettings& s) {
        // The sizes are the sheet as it lies; the printer keeps them portrait.
        const bool landscape = s.orientation == print::DMORIENT_LANDSCAPE;
        s.paperSize = print::DMPAPER_USER;
        (landscape ? s.paperHeightTwips : s.paperWidthTwips) = TwipsOf(widthMm);
        (landscape ? s.paperWidthTwips : s.paperHeightTwips) = TwipsOf(heightMm);
    });
}

float cPrinter::GetPaperWidth() const {
    if (!print::HasCurrentPrinter()) return 0;
    return static_cast<float>(print::OrientedWidthTwips(print::CurrentSettings()) * kMmPerInch / kTwipsPerInch);
}

float cPrinter::GetPaperHeight() const {
    if (!print::HasCurrentPrinter()) return 0;
    return static_cast<float>(print::OrientedHeightTwips(print::CurrentSettings()) * kMmPerInch / kTwipsPerInch);
}

std::string cPrinter::GetDefaultPrinter() const {
    return print::HasCurrentPrinter() ? print::CurrentSettings().deviceName : "";
}

bool cPrinter::SelectPrinter(const std::string& sPrinter) {
    const std::string name = TrimmedUpper(sPrinter);
    const auto printers = print::InstalledPrinters();
    for (const auto& p : printers) {
        if (TrimmedUpper(p.deviceName) == name) return print::MakeCurrent(p.deviceName);
    }
    for (const auto& p : printers) {
        if (TrimmedUpper(p.deviceName).rfind(name, 0) == 0) return print::MakeCurrent(p.deviceName);
    }
    return false;
}

int16_t cPrinter::GetColorMode() const { return ReadSetting([](const print::PrinterSettings& s) { return s.colorMode; }); }
void cPrinter::SetColorMode(int16_t mode) {
    if (mode != print::DMCOLOR_MONOCHROME && mode != print::DMCOLOR_COLOR) return;
    ChangeSetting([&](print::PrinterSettings& s) { s.colorMode = mode; });
}

int16_t cPrinter::GetpaperSize() const { return ReadSetting([](const print::PrinterSettings& s) { return s.paperSize; }); }
void cPrinter::SetPaperSize(int16_t paperSize) {
    ChangeSetting([&](print::PrinterSettings& s) {
        int32_t width = 0, height = 0;
        // A code whose size is unknown is kept with the sheet as it was.
        if (print::PaperSizeTwips(paperSize, width, height)) {
            s.paperWidthTwips = width;
            s.paperHeightTwips = height;
        }
        s.paperSize = paperSize;
    });
}

void cPrinter::SetCopies(int16_t copies) {
    if (copies < 1) return;
    ChangeSetting([&](print::PrinterSettings& s) { s.copies = copies; });
}
int16_t cPrinter::GetCopies() const { return ReadSetting([](const print::PrinterSettings& s) { return s.copies; }); }

int32_t cPrinter::GetPrintersCount() const { return static_cast<int32_t>(print::InstalledPrinters().size()); }

std::string cPrinter::GetPrinterName(int32_t n) const {
    const auto printers = print::InstalledPrinters();
    if (n < 1 || n > static_cast<int32_t>(printers.size())) return "";
    return printers[static_cast<size_t>(n - 1)].deviceName;
}

void cPrinter::SetDuplexMode(int16_t mode) {
    if (mode < 1 || mode > 3) return;
    ChangeSetting([&](print::PrinterSettings& s) { s.duplex = mode; });
}
int16_t cPrinter::GetDuplexMode() const { return ReadSetting([](const print::PrinterSettings& s) { return s.duplex; }); }

void cPrinter::SetOrientation(int16_t orientation) {
    if (orientation != print::DMORIENT_PORTRAIT && orientation != print::DMORIENT_LANDSCAPE) return;
    ChangeSetting([&](print::PrinterSettings& s) { s.orientation = orientation; });
}
int16_t cPrinter::GetOrientation() const { return ReadSetting([](const print::PrinterSettings& s) { return s.orientation; }); }

void cPrinter::SetFromToPage(int32_t nFrom, int32_t nTo) {
    if (nFrom == 0 && nTo == 0) {
        rangeSet_ = false;
        return;
    }
    firstPage_ = nFrom > 0 ? nFrom : 1;
    lastPage_ = nTo > 0 ? nTo : 1;
    rangeSet_ = true;
}

int16_t cPrinter::GetQuality() const { return ReadSetting([](const print::PrinterSettings& s) { return s.printQuality; }); }
void cPrinter::SetQuality(int16_t quality) {
    if (quality == 0) return;
    ChangeSetting([&](print::PrinterSettings& s) { s.printQuality = quality; });
}

void cPrinter::GetMargins(float& left, float& top) const {
    const win::HDC dc = print::CurrentInformationContext();
    const int32_t offsetX = win::GetDeviceCaps(dc, win::PHYSICALOFFSETX);
    const int32_t offsetY = win::GetDeviceCaps(dc, win::PHYSICALOFFSETY);
    const int32_t dpiX = win::GetDeviceCaps(dc, win::LOGPIXELSX);
    const int32_t dpiY = win::GetDeviceCaps(dc, win::LOGPIXELSY);
    if (dpiX == 0 || dpiY == 0) return;
    left = static_cast<float>(offsetX / static_cast<double>(dpiX) * kMmPerInch);
    top = static_cast<float>(offsetY / static_cast<double>(dpiY) * kMmPerInch);
}

bool cPrinter::SetPaperBin(int16_t bin) {
    if (!print::HasCurrentPrinter() || bin < 1) return false;
    ChangeSetting([&](print::PrinterSettings& s) { s.paperBin = bin; });
    return true;
}
int16_t cPrinter::GetPaperBin() const { return ReadSetting([](const print::PrinterSettings& s) { return s.paperBin; }); }

void cPrinter::ForceResolution(int32_t horizontal, int32_t vertical) {
    resolutionX_ = static_cast<float>(horizontal);
    resolutionY_ = static_cast<float>(vertical);
}

}  // namespace scanvelt
