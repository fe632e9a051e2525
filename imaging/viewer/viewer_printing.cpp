// Printing what the viewer shows through its own printer object: which
// document is handed over (the shown image, or the open PDF page by page),
// the range checks of the settings, and the relay of the page event.
#include "imaging/output/print/cprinter.h"
#include "imaging/viewer/print_document_choice.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/com/variant.h"

namespace scanvelt {

void ViewerControl::relayPrintPage(int32_t page, int32_t pagesLeft) {
    std::vector<com::VARIANT> args{com::MakeI4(page), com::MakeI4(pagesLeft)};
    raise_(kEventPrintPage, args);
}

PrintDocumentChoice ChoosePrintDocument(int32_t documentType, bool dialog, bool rangeSet, int32_t pdfHandle,
                                        int32_t shownImage) {
    PrintDocumentChoice choice;
    choice.pdfMode = documentType == 2 && (dialog || rangeSet);
    choice.document = choice.pdfMode ? pdfHandle : shownImage;
    return choice;
}

int32_t ViewerControl::choosePrintDocument(bool dialogRule) {
    cPrinter& p = *m_oPrinter;
    const PrintDocumentChoice choice =
        ChoosePrintDocument(CurrentDocumentType_, dialogRule, p.IsSetFromTo(), PdfHandle_, NativeImageID_);
    p.m_PDFMode = choice.pdfMode;
    // The plug-in rasterises pages at the resolution the viewer shows them at.
    if (choice.pdfMode) p.ForceResolution(s_.PdfDpiRendering, s_.PdfDpiRendering);
    return choice.document;
}

void ViewerControl::PrintSetImageAlignment(int32_t alignment) {
    if (alignment >= 0 && alignment <= 9) m_oPrinter->m_ImageAlignment = alignment;
}

void ViewerControl::PrintSetOrientation(int16_t orientation) {
    if (orientation == 1 || orientation == 2) m_oPrinter->SetOrientation(orientation);
}

void ViewerControl::PrintSetStdPaperSize(int32_t paperSize) {
    if (paperSize >= 1 && paperSize <= 41) m_oPrinter->SetPaperSize(static_cast<int16_t>(paperSize));
}

bool ViewerControl::PrintImageDialog(bool fit, float x, float y, float width, float height) {
    const int32_t document = choosePrintDocument(true);
    return m_oPrinter->PrintImageDialog(document, fit, x, y, width, height, static_cast<uint32_t>(windowNumber_));
}

void ViewerControl::PrintImage(bool fit) {
    const int32_t document = choosePrintDocument(false);
    if (document != 0) m_oPrinter->PrintImage(document, fit);
}

void ViewerControl::PrintImageBySize(float x, float y, float width, float height) {
    const int32_t document = choosePrintDocument(false);
    if (document != 0) m_oPrinter->PrintImageBySize(document, x, y, width, height);
}

bool ViewerControl::PrintImage2Printer(const std::string& printerName) {
    const int32_t document = choosePrintDocument(false);
    return document != 0 && m_oPrinter->PrintImage2Printer(document, printerName, false);
}

bool ViewerControl::PrintImageBySize2Printer(const std::string& printerName, float x, float y, float width,
                                             float height) {
    const int32_t document = choosePrintDocument(false);
    return document != 0 && m_oPrinter->PrintImageBySize2Printer(document, printerName, x, y, width, height);
}

}  // namespace scanvelt
