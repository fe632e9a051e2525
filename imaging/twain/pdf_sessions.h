#pragma once
// The control's scan-to-PDF documents: the plain session and the OCR session,
// each one writer that lives from its start to its stop. Images go into the
// file as they are added; pages are laid out, one per image at the image's own
// resolution, when the document is finished. The file is written under a
// temporary name and only renamed into place when the close succeeded; a
// page the session refused is reported at the stop, and the pages accepted
// before and after it are kept, so one bad page of a feeder batch does not
// lose the others.
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
    // The first page that was refused; the stop reports it and still writes
    // the pages that were accepted.
    MorvalenStatus PageFailure = OK;
    // The writer's images that became pages, in the order they were added.
    std::vector<int32_t> Pages;

    bool IsOpen() const { return Writer != nullptr && OpenMarker != 0; }
};

// Accepts or refuses the image the writer just took as its image `image`
// (0 when it took none) as the session's next page; returns the status of
// that page.
MorvalenStatus AcceptPdfPage(PdfSession& session, int32_t image);

// Draws over page `image` of the writer after its image (the OCR text layer).
using PdfPageOverlay = std::function<void(cPDF& writer, int32_t image)>;

// Lays out one page per accepted image and closes the document, or drops it
// (its temporary file removed) when no page was accepted or the file could
// not be written. The session is closed afterwards either way. Returns the
// failure to write, else the first refused page, else `lastStatus`.
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
