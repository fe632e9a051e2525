#include "platform/print/raster_print_job.h"

#include <algorithm>
#include <cstring>

namespace print {

RasterPrintJob::RasterPrintJob(const PrinterSettings& settings, const DeviceGeometry& geometry)
    : settings_(settings), geometry_(geometry) {
    dpiX_ = std::clamp(geometry.dpiX, 1, kMaxRasterDpi);
    dpiY_ = std::clamp(geometry.dpiY, 1, kMaxRasterDpi);
    MakePage();
}

RasterPrintJob::~RasterPrintJob() { FreePage(); }

bool RasterPrintJob::MakePage() {
    const auto sheetWidth = static_cast<int32_t>(int64_t{OrientedWidthTwips(settings_)} * dpiX_ / 1440);
    const auto sheetHeight = static_cast<int32_t>(int64_t{OrientedHeightTwips(settings_)} * dpiY_ / 1440);
    // The printer's offsets, at the resolution the page is drawn at.
    offsetX_ = static_cast<int32_t>(int64_t{geometry_.offsetX} * dpiX_ / std::max(geometry_.dpiX, 1));
    offsetY_ = static_cast<int32_t>(int64_t{geometry_.offsetY} * dpiY_ / std::max(geometry_.dpiY, 1));
    const int32_t width = sheetWidth - 2 * offsetX_;
    const int32_t height = sheetHeight - 2 * offsetY_;
    if (width < 1 || height < 1) return false;
    win::BitmapInfoHeader header;
    header.width = width;
    header.height = -height;  // top-down
    header.bitCount = 32;
    void* bits = nullptr;
    page_ = win::CreateDIBSection(win::HDC{}, header, {}, &bits);  // refuses sizes beyond its ceiling
    if (page_ == win::HBITMAP{}) return false;
    std::memset(bits, 0xFF, static_cast<size_t>(win::DibStride(width, 32)) * static_cast<size_t>(height));
    dc_ = win::CreateCompatibleDC(win::HDC{});
    previous_ = dc_ != win::HDC{} ? win::SelectObject(dc_, page_) : win::HBITMAP{};
    if (previous_ == win::HBITMAP{}) {
        FreePage();
        return false;
    }
    win::DeviceCaps caps;
    caps.dpiX = dpiX_;
    caps.dpiY = dpiY_;
    caps.physicalWidth = sheetWidth;
    caps.physicalHeight = sheetHeight;
    caps.offsetX = offsetX_;
    caps.offsetY = offsetY_;
    caps.printableWidth = width;
    caps.printableHeight = height;
    win::SetDeviceCaps(dc_, caps);
    return true;
}

void RasterPrintJob::FreePage() {
    if (dc_ != win::HDC{}) {
        if (previous_ != win::HBITMAP{}) win::SelectObject(dc_, previous_);
        win::DeleteDC(dc_);
    }
    if (page_ != win::HBITMAP{}) win::DeleteObject(page_);
    dc_ = win::HDC{};
    page_ = win::HBITMAP{};
    previous_ = win::HBITMAP{};
}

bool RasterPrintJob::NewPage() {
    if (ended_ || dc_ == win::HDC{}) return false;
    const auto page = win::FindBitmap(page_);
    const bool emitted = page && EmitPage(*page, dpiX_, dpiY_, offsetX_, offsetY_);
    FreePage();
    return MakePage() && emitted;
}

bool RasterPrintJob::EndDoc() {
    if (ended_) return false;
    ended_ = true;
    bool ok = dc_ != win::HDC{};
    if (ok) {
        const auto page = win::FindBitmap(page_);
        ok = page && EmitPage(*page, dpiX_, dpiY_, offsetX_, offsetY_);
    }
    FreePage();
    return Finish() && ok;
}

}  // namespace print
