// The printing class's print jobs: page pictures, their size and placement,
// drawing into the printer's pages, and the print dialog.
#include <cmath>
#include <exception>

#include "imaging/engine/drawing_on_devices.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_rotation.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/pdf_plugin.h"
#include "imaging/output/print/cprinter.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/pending_messages.h"

namespace scanvelt {
namespace {

constexpr int32_t kRotate270FlipNone = 3;
constexpr int32_t kSmoothingNone = 3;
constexpr int32_t kHighQualityBicubic = 7;
constexpr int32_t kUnitMillimeter = 6;

// Rounds to whole millimetres, halves to even.
int32_t WholeMm(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

bool CurrentPrinterStopped() {
    const std::string name = print::CurrentSettings().deviceName;
    for (const auto& p : print::InstalledPrinters()) {
        if (p.deviceName == name) return p.state == print::PrinterState::Stopped;
    }
    return false;
}

}  // namespace

void cPrinter::PrintableSize(double& width, double& height) const {
    float left = 0, top = 0;
    GetMargins(left, top);
    width = GetPaperWidth() - 2.0 * left;
    height = GetPaperHeight() - 2.0 * top;
}

int32_t cPrinter::PageCount(int32_t image) const {
    if (m_PDFMode) return BoundPdfPlugin().PageCount(image);
    if (FormatNameOf(image) == "TIFF") {
        int32_t count = 0;
        GetTiffPageCount(image, count);
        return count;
    }
    return 1;
}

bool cPrinter::RasterisePdfPage(int32_t document, int32_t page, Picture& picture) {
    const PdfPlugin& plugin = BoundPdfPlugin();
    if (plugin.SelectPage(document, page) != 1) {
        jobStatus_ = PrinterPdfRenderingPageError;
        return false;
    }
    // Pages are rendered at the forced resolution, or the printer's own when none was forced.
    if (resolutionX_ <= 0 || resolutionY_ <= 0) {
        const win::HDC dc = print::CurrentInformationContext();
        resolutionX_ = static_cast<float>(win::GetDeviceCaps(dc, win::LOGPIXELSX));
        resolutionY_ = static_cast<float>(win::GetDeviceCaps(dc, win::LOGPIXELSY));
        if (resolutionX_ <= 0 || resolutionY_ <= 0) {
            jobStatus_ = PrinterPdfRenderingPageError;
            return false;
        }
    }
    auto width = static_cast<int32_t>(std::ceil(plugin.PageWidth(document) / 72.0 * resolutionX_));
    auto height = static_cast<int32_t>(std::ceil(plugin.PageHeight(document) / 72.0 * resolutionX_));
    const int32_t rotation = std::abs(plugin.PageRotation(document));
    if (rotation == 90 || rotation == 270) std::swap(width, height);
    int32_t id = 0;
    const MorvalenStatus status = PdfPageToImage(id, document, width, height, page, 1.0f, resolutionX_, true, true);
    if (status != OK) {
        if (id != 0) ReleaseImage(id);
        // A rendering failure is 30 in both tables; any other status (registering the page) as it came.
        jobStatus_ = static_cast<int32_t>(status);
        return false;
    }
    picture = {id, true};
    return true;
}

bool cPrinter::SelectPrintPage(int32_t image, int32_t page, bool range, Picture& picture) {
    if (m_PDFMode) return RasterisePdfPage(image, page, picture);
    picture = {image, false};
    if (range && FormatNameOf(image) == "TIFF" && SelectTiffPage(image, page - 1) != OK) {
        jobStatus_ = PrinterErrorSelectingFrame;
        return false;
    }
    return true;
}

cPrinter::Size cPrinter::ComputePrintSize(const Picture& picture, double width, double height, bool shrink,
                                          bool fit) {
    if (width <= 0 || height <= 0) {
        int32_t pixelsWide = 0, pixelsHigh = 0;
        GetImageWidth(picture.id, pixelsWide);
        GetImageHeight(picture.id, pixelsHigh);
        if (!m_PDFMode) {
            float dpiX = 0, dpiY = 0;
            GetImageHorizontalResolution(picture.id, dpiX);
            GetImageVerticalResolution(picture.id, dpiY);
            resolutionX_ = dpiX > 0 ? dpiX : 72.0f;
            resolutionY_ = dpiY > 0 ? dpiY : 72.0f;
        }
        width = pixelsWide / static_cast<double>(resolutionX_) * 25.4;
        height = pixelsHigh / static_cast<double>(resolutionY_) * 25.4;
    }
    if (!shrink && !fit) return {width, height};
    double areaWidth = 0, areaHeight = 0;
    PrintableSize(areaWidth, areaHeight);
    if (areaWidth <= 0 || areaHeight <= 0) return {width, height};
    if (fit) {
        const double scale = width / height >= areaWidth / areaHeight ? areaWidth / width : areaHeight / height;
        return {width * scale, height * scale};
    }
    // Shrinking takes the smaller of the two ratios, so that both sides fit
    // and the picture keeps its aspect ratio.
    if (width > areaWidth || height > areaHeight) {
        const double scale = std::min(areaWidth / width, areaHeight / height);
        return {width * scale, height * scale};
    }
    return {width, height};
}

void cPrinter::PlaceAndDraw(print::PrintJob& job, int32_t image, int32_t page, Picture& picture, double x, double y,
                            Size size, bool fit) {
    const double paperWidth = GetPaperWidth();
    const double paperHeight = GetPaperHeight();
    int32_t drawn = picture.id;
    int32_t turnedCopy = 0;
    if (m_AutomaticRotation && paperWidth > 0 && size.width > 0) {
        const bool orientationDiffers = std::floor(size.height / size.width) != std::floor(paperHeight / paperWidth);
        if (orientationDiffers && (size.width > paperWidth || size.height > paperHeight)) {
            // The caller's image is never turned: a PDF page is our own, an image is copied.
            bool turned = false;
            if (picture.owned) {
                turned = RotateFlipImage(picture.id, kRotate270FlipNone, false) == OK;
            } else if (CloneImage(turnedCopy, image) == OK) {
                if (page > 1 && FormatNameOf(turnedCopy) == "TIFF") SelectTiffPage(turnedCopy, page - 1);
                turned = RotateFlipImage(turnedCopy, kRotate270FlipNone, false) == OK;
                if (turned) drawn = turnedCopy;
            }
            // Without a turned copy the page is printed unturned at its own size.
            if (turned) std::swap(size.width, size.height);
        }
    }
    double areaWidth = paperWidth, areaHeight = paperHeight;
    if (fit) PrintableSize(areaWidth, areaHeight);
    switch (m_ImageAlignment) {
    case 1: case 5: case 8: x = areaWidth - size.width; break;
    case 2: case 6: case 9: x = (areaWidth - size.width) / 2; break;
    default: break;
    }
    switch (m_ImageAlignment) {
    case 0: case 1: case 2: y = (areaHeight - size.height) / 2; break;
    case 7: case 8: case 9: y = areaHeight - size.height; break;
    default: break;
    }
    if (DrawImageOnHdc(drawn, job.PageDC(), WholeMm(x), WholeMm(y), WholeMm(size.width), WholeMm(size.height),
                       kSmoothingNone, kHighQualityBicubic, kUnitMillimeter) != OK) {
        jobStatus_ = PrinterGdiplusWriteError;
    }
    if (turnedCopy != 0) ReleaseImage(turnedCopy);
}

void cPrinter::RunJob(int32_t image, float x, float y, float width, float height, bool shrink, bool fit) {
    jobStatus_ = PrinterOK;
    if (CurrentPrinterStopped()) {
        jobStatus_ = PrinterUnexpectedError;
        return;
    }
    auto job = print::StartCurrentDoc(m_DocumentName);
    if (!job) {
        jobStatus_ = PrinterUnexpectedError;
        return;
    }
    try {
        const int32_t pages = PageCount(image);
        bool range = false;
        if (pages < 2) {
            firstPage_ = 1;
        } else if (lastPage_ >= firstPage_) {
            firstPage_ = std::min(firstPage_, pages);
            lastPage_ = std::min(lastPage_, pages);
            range = rangeSet_;
        }
        const int32_t from = firstPage_;
        const int32_t to = range ? lastPage_ : firstPage_;
        for (int32_t p = from; p <= to; ++p) {
            Picture picture;
            if (!SelectPrintPage(image, p, range, picture)) break;
            const Size size = ComputePrintSize(picture, width, height, shrink, fit);
            if (p > from && !job->NewPage()) jobStatus_ = PrinterUnexpectedError;
            int32_t page = p;
            int32_t left = range ? to - p : 0;
            if (PrintPage) PrintPage(page, left);
            if (jobStatus_ == PrinterOK) PlaceAndDraw(*job, image, p, picture, x, y, size, fit);
            if (picture.owned) ReleaseImage(picture.id);
            if (jobStatus_ != PrinterOK) break;
        }
    } catch (const PdfPluginUnavailable&) {
        jobStatus_ = PrinterPdfUnexpectedError;
    } catch (const std::exception&) {
        jobStatus_ = m_PDFMode ? PrinterPdfUnexpectedError : PrinterUnexpectedError;
    }
    // The document is ended in every case, so the pages already drawn come out.
    if (!job->EndDoc() && jobStatus_ == PrinterOK) jobStatus_ = PrinterUnexpectedError;
}

void cPrinter::PrintImage(int32_t image, bool fit) {
    if (!print::HasCurrentPrinter() || image == 0) return;
    RunJob(image, 0, 0, 0, 0, true, fit);
}

bool cPrinter::PrintImage2Printer(int32_t image, const std::string& sPrinterName, bool fit) {
    if (!SelectPrinter(sPrinterName)) return false;
    PrintImage(image, fit);
    return true;
}

void cPrinter::PrintImageBySize(int32_t image, float x, float y, float width, float height) {
    if (!print::HasCurrentPrinter() || image == 0) return;
    RunJob(image, x, y, width, height, false, false);
}

bool cPrinter::PrintImageBySize2Printer(int32_t image, const std::string& sPrinterName, float x, float y, float width,
                                        float height) {
    if (!SelectPrinter(sPrinterName)) return false;
    PrintImageBySize(image, x, y, width, height);
    return true;
}

void cPrinter::ApplyDialogChoice(const print::PrintDialogChoice& choice) {
    SelectPrinter(choice.settings.deviceName);
    SetCopies(choice.settings.copies);
    SetFromToPage(choice.fromPage, choice.toPage);
    SetOrientation(choice.settings.orientation);
    SetDuplexMode(choice.settings.duplex);
    SetPaperSize(choice.settings.paperSize);
    SetColorMode(choice.settings.colorMode);
    SetQuality(choice.settings.printQuality);
    SetPaperBin(choice.settings.paperBin);
}

bool cPrinter::PrintImageDialog(int32_t image, bool fit, float x, float y, float width, float height,
                                uint32_t owner) {
    print::PrintDialogRequest request;
    request.ownerWindow = owner;
    int32_t pages = 0;
    try {
        pages = image != 0 ? PageCount(image) : 0;
    } catch (const std::exception&) {
        pages = 0;
    }
    if (pages >= 2) {
        request.minPage = 1;
        request.maxPage = pages;
        request.fromPage = 1;
        request.toPage = pages;
    }
    // A dialog without an owner comes up after the messages already waiting.
    if (owner == 0) win::RunPendingMessages();
    const auto choice = print::ShowPrintDialog(request);
    if (!choice) return false;
    ApplyDialogChoice(*choice);
    if (x != 0 || y != 0 || width != 0 || height != 0) {
        PrintImageBySize(image, x, y, width, height);
    } else {
        PrintImage(image, fit);
    }
    ApplyDialogChoice(*choice);
    return true;
}

}  // namespace scanvelt
