#include "imaging/twain/pdf_sessions.h"

#include "imaging/output/pdf_ocr_layer.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {

MorvalenStatus FinishPdfSession(PdfSession& session, MorvalenStatus lastStatus, const PdfPageOverlay& overlay) {
    std::unique_ptr<cPDF> writer = std::move(session.Writer);
    const MorvalenStatus pageFailure = session.PageFailure;
    session = {};
    if (!writer) return lastStatus;

    const auto images = static_cast<int32_t>(writer->ImageCount());
    // Dropping the writer unfinished removes its temporary file: a document
    // without pages, or one that lost a page, never reaches its name.
    if (pageFailure != OK) return pageFailure;
    if (images == 0) return lastStatus;

    for (int32_t image = 1; image <= images; ++image) {
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
    return closed == OK ? lastStatus : closed;
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
