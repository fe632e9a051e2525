#pragma once
// The printing class: prints an image ID, or pages of a document open in the
// PDF plug-in, on the process's current printer, each page one picture in a
// rectangle measured in millimetres (optionally fitted to the printable area,
// placed by an alignment code, turned to the paper's orientation), and reads
// and changes that printer's settings. Texts are UTF-8.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/print/print_system.h"

namespace scanvelt {

// Job statuses (PrinterStatus).
enum PrinterStatus : int32_t {
    PrinterOK = 0,
    PrinterErrorSelectingFrame = 2,
    PrinterGdiplusWriteError = 7,
    PrinterOutOfMemory = 8,
    PrinterUnexpectedError = 10,
    PrinterPdfRenderingPageError = 30,
    PrinterPdfCanNotLoadTemporaryFile = 31,
    PrinterPdfUnexpectedError = 35,
};

class cPrinter {
public:
    // The image argument of the print members is a PDF plug-in document handle.
    bool m_PDFMode = false;
    // The name of the print job.
    std::string m_DocumentName = "Print Process";
    // Turn a page that does not fit the paper's orientation by 270 degrees.
    bool m_AutomaticRotation = false;
    // ViewerImageAlignment: 1, 5, 8 right, 2, 6, 9 centred across; 0, 1, 2
    // centred down, 7, 8, 9 at the bottom; others keep the position (3: top left).
    int32_t m_ImageAlignment = 3;

    // Raised once per page just before it is drawn: the page and the pages left after it.
    std::function<void(int32_t& nPage, int32_t& nPageLeft)> PrintPage;

    void SetUserPaperSize(float widthMm, float heightMm);
    float GetPaperWidth() const;
    float GetPaperHeight() const;
    std::string GetDefaultPrinter() const;
    // Makes the printer named (trimmed, any case) current: the exact name
    // first, else the first name that begins with it.
    bool SelectPrinter(const std::string& sPrinter);
    int16_t GetColorMode() const;
    void SetColorMode(int16_t mode);  // 1 monochrome or 2 colour; other values are ignored
    int16_t GetpaperSize() const;
    void SetPaperSize(int16_t paperSize);
    void SetCopies(int16_t copies);
    int16_t GetCopies() const;
    // Prints at the size the picture's pixels and resolution give, shrunk to
    // the printable area when larger, or fitted to it with `fit`.
    void PrintImage(int32_t image, bool fit);
    bool PrintImage2Printer(int32_t image, const std::string& sPrinterName, bool fit);
    // Prints at the given position and size (mm).
    void PrintImageBySize(int32_t image, float x, float y, float width, float height);
    bool PrintImageBySize2Printer(int32_t image, const std::string& sPrinterName, float x, float y, float width,
                                  float height);
    int32_t GetPrintersCount() const;
    std::string GetPrinterName(int32_t n) const;  // n from 1
    void SetDuplexMode(int16_t mode);
    int16_t GetDuplexMode() const;
    void SetOrientation(int16_t orientation);
    int16_t GetOrientation() const;
    void SetFromToPage(int32_t nFrom, int32_t nTo);
    bool IsSetFromTo() const { return rangeSet_; }
    int16_t GetQuality() const;
    void SetQuality(int16_t quality);
    // The printable area's offsets from the sheet's corner (mm); unchanged
    // when the printer reports no resolution.
    void GetMargins(float& left, float& top) const;
    bool SetPaperBin(int16_t bin);
    int16_t GetPaperBin() const;
    int32_t GetPrinterStat() const { return jobStatus_; }
    void ForceResolution(int32_t horizontal, int32_t vertical);
    // The print dialog, then the print with the choice; false when cancelled.
    bool PrintImageDialog(int32_t image, bool fit, float x, float y, float width, float height, uint32_t owner);

    int32_t firstPage() const { return firstPage_; }
    int32_t lastPage() const { return lastPage_; }

private:
    struct Picture {
        int32_t id = 0;
        bool owned = false;  // a rasterised PDF page, released after printing
    };
    struct Size {
        double width = 0, height = 0;
    };

    int32_t PageCount(int32_t image) const;
    bool SelectPrintPage(int32_t image, int32_t page, bool range, Picture& picture);
    bool RasterisePdfPage(int32_t document, int32_t page, Picture& picture);
    Size ComputePrintSize(const Picture& picture, double width, double height, bool shrink, bool fit);
    void PlaceAndDraw(print::PrintJob& job, int32_t image, int32_t page, Picture& picture, double x, double y,
                      Size size, bool fit);
    void RunJob(int32_t image, float x, float y, float width, float height, bool shrink, bool fit);
    void PrintableSize(double& width, double& height) const;
    void ApplyDialogChoice(const print::PrintDialogChoice& choice);

    int32_t firstPage_ = 1;
    int32_t lastPage_ = 1;
    bool rangeSet_ = false;
    int32_t jobStatus_ = PrinterOK;
    float resolutionX_ = 0, resolutionY_ = 0;
};

}  // namespace scanvelt
