#pragma once
// A print job whose pages are drawn into pixels: each page is a white 32-bit
// bitmap of the printable area at the job's resolution, selected into a
// memory context that carries the printer's capabilities; as on a printer's
// own context, (0, 0) is the corner of the printable area, which lies the
// physical offsets in from the sheet's corner. A finished page goes to
// the print system that made the job (EmitPage), the document at the end
// (Finish). The resolution is capped, so that a sheet never takes more than
// a bounded amount of memory whatever the printer's own resolution.
#include <cstdint>
#include <memory>

#include "platform/print/print_system.h"
#include "platform/win/gdi_bitmap.h"

namespace print {

class RasterPrintJob : public PrintJob {
public:
    // The highest resolution pages are drawn at.
    static constexpr int32_t kMaxRasterDpi = 300;

    RasterPrintJob(const PrinterSettings& settings, const DeviceGeometry& geometry);
    ~RasterPrintJob() override;

    // False when the page could not be made (too large, out of memory).
    bool ready() const { return dc_ != win::HDC{}; }
    win::HDC PageDC() override { return dc_; }
    bool NewPage() override;
    bool EndDoc() override;

protected:
    // A finished page: its pixels (top-down rows of 32-bit BGRX), the
    // resolution they were drawn at and where the printable area begins on
    // the sheet (pixels at that resolution).
    virtual bool EmitPage(const win::GdiBitmap& page, int32_t dpiX, int32_t dpiY, int32_t offsetX,
                          int32_t offsetY) = 0;
    virtual bool Finish() = 0;

private:
    bool MakePage();
    void FreePage();

    PrinterSettings settings_;
    DeviceGeometry geometry_;
    int32_t dpiX_ = 0, dpiY_ = 0;
    int32_t offsetX_ = 0, offsetY_ = 0;
    win::HDC dc_{};
    win::HBITMAP page_{};
    win::HBITMAP previous_{};
    bool ended_ = false;
};

}  // namespace print
