#pragma once
// The control's scan-to-PDF documents: the plain session and the OCR session,
// each one writer that lives from its start to its stop. Images go into the
// file as they are added; pages are laid out, one per image at the image's own
// resolution, when the document is finished. The file is written under a
// temporary name and only renamed into place when every page went in and the
// close succeeded, so a broken run never leaves a file that looks complete.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "imaging/engine/ocr_plugin.h"
#include "imaging/output/pdf_document.h"
#include "imaging/twain/open_document.h"

namespace scanvelt {

// One scan-to-PDF document.
struct PdfSession {
    std::unique_ptr<cPDF> Writer;
    // The writer's open file number while the document is open, else 0.
    int32_t OpenMarker = 0;
    // The first page that could not go in; the document is then dropped at the stop.
    MorvalenStatus PageFailure = OK;

    bool IsOpen() const { return Writer != nullptr && OpenMarker != 0; }
};

// Draws over page `image` of the writer after its image (the OCR text layer).
using PdfPageOverlay = std::function<void(cPDF& writer, int32_t image)>;

// Lays out one page per image and closes the document, or drops it (its
// temporary file removed) when it holds no image or a page failed. The
// session is closed afterwards either way. Returns `lastStatus` when the
// document was written or held no image, else the failure.
MorvalenStatus FinishPdfSession(PdfSession& session, MorvalenStatus lastStatus, const PdfPageOverlay& overlay = {});

class PdfSessions;

// Lays the text layer of the OCR session's page over its image.
PdfPageOverlay OcrPageOverlay(const PdfSessions& sessions);

// Both sessions of one control; finished with the control's other open
// documents when it terminates.
class PdfSessions final : public OpenDocument {
public:
    PdfSession Scan;
    PdfSession Ocr;
    // The characters recognised on each page of the OCR session; page n
    // (the writer's image n) at index n - 1.
    std::vector<std::vector<OcrChar>> OcrPages;

    void Finish() noexcept override;
};

}  // namespace scanvelt
