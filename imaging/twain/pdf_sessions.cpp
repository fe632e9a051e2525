#include "imaging/twain/pdf_sessions.h"

#include "imaging/output/pdf_ocr_layer.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {

MorvalenStatus AcceptPdfPage(PdfSession& session, int32_t image) {
    cPDF& writer = *session.Writer;
    MorvalenStatus status = OK;
    // An image without a whole-number resolution has no page size: its page
    // could not be laid out, so it counts as refused.
    if (image == 0 || writer.ImageResX(image) <= 0 || writer.ImageResY(image) <= 0) status = PdfErrorAddingImage;
    // A file that cannot be written is reported at the page that found it.
    if (writer.Status() != OK) status = writer.Status();
    if (status == OK) session.Pages.push_back(image);
    else if (session.PageFailure == OK) session.PageFailure = status;
    return status;
}

MorvalenStatus FinishPdfSession(PdfSession& session, MorvalenStatus lastStatus, const PdfPageOverlay& overlay) {
    std::unique_ptr<cPDF> writer = std::move(session.Writer);
    const MorvalenStatus pageFailure = session.PageFailure;
    const std::vector<int32_t> pages = std::move(session.Pages);
    session = {};
    if (!writer) return lastStatus;

    // Dropping the writer unfinished removes its temporary file: a document
    // without pages, or one whose file failed, never reaches its name.
    if (writer->Status() != OK) return writer->Status();
    const MorvalenStatus result = pageFailure != OK ? pageFailure : lastStatus;
    if (pages.empty()) return result;

    for (const int32_t image : pages) {
        // The product in whole numbers as the writer recorded them, the quotient in double.
        writer->SetPaperWidth(static_cast<float>(static_cast<double>(int64_t{writer->ImageWidth(image)} * 72) /
                                                 writer->ImageResX(image)));
        writer->SetPaperHeight(static_cast<float>(static_cast<double>(int64_t{writer->ImageHeight(image)} * 72) /
                                                  writer->ImageResY(image)));
        writer->BeginPage();
        writer->DrawImg(image, 0, 0, writer->PaperWidth(), writer->PaperHeight());
        if (overlay) overlay(*writer, image);
        writer->EndPage();
    }
    const MorvalenStatus closed = writer->ClosePdfFile();
    return closed == OK ? result : closed;
}

PdfPageOverlay OcrPageOverlay(const PdfSessions& sessions) {
    return [&sessions](cPDF& writer, int32_t image) {
        writer.SetTextMode(3);
        const size_t index = static_cast<size_t>(image) - 1;
        if (image < 1 || index >= sessions.OcrPages.size()) return;
        const std::vector<OcrChar>& chars = sessions.OcrPages[index];
        DrawOcrTextToPdf(chars, static_cast<int32_t>(chars.size()), writer, image);
    };
}

void PdfSessions::Finish() noexcept {
    try {
        FinishPdfSession(Scan, OK);
        FinishPdfSession(Ocr, OK, OcrPageOverlay(*this));
    } catch (...) {
        // Termination never fails towards the host; an unfinished document's
        // temporary file goes with its writer.
        Scan = {};
        Ocr = {};
    }
    OcrPages.clear();
}

PdfSessions& TwainControl::pdfSessions() {
    if (pdfSessions_ == nullptr) {
        auto sessions = std::make_unique<PdfSessions>();
        pdfSessions_ = sessions.get();
        adoptOpenDocument(std::move(sessions));
    }
    return *pdfSessions_;
}

}  // namespace scanvelt
