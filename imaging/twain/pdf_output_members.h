#pragma once
// The control's PDF output: one-page documents of the current image (plain,
// encrypted, PDF/A), the scan-to-PDF session that takes one image per scanned
// page, and the packing of permission flags. Each document has a writer of
// its own; images go in as DCT (colour and grey), Flate (palette) or CCITT G4
// (1 bit) by their depth. Texts are UTF-8.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "imaging/output/pdf_document.h"

namespace scanvelt {

class TwainControl;

// What a document is written with: its path, Info values and security.
struct PdfDocumentRequest {
    std::string FilePath;
    std::string Title, Author, Subject, Keywords, Creator;
    int32_t Encryption = 0;  // PdfEncryption
    int32_t Rights = -1;     // PdfRight bits, -1 = all
    std::string UserPassword, OwnerPassword;
};

// The short forms' request: title, author and creator, no encryption.
PdfDocumentRequest ShortFormRequest(const std::string& filePath, const std::string& title, const std::string& creator,
                                    const std::string& author);

// Starts `writer`'s document for `request`: InvalidParameter for an
// encryption that names no kind (a host asking for a protected file never
// gets an open one), CanNotCreateFile when the file cannot be made at the
// path (empty, a folder, a folder that is missing or not writable), else OK.
MorvalenStatus OpenControlDocument(cPDF& writer, const PdfDocumentRequest& request);

// A writer with the control's JPEG quality and compression level, portrait,
// whose messages (a failed CCITT G4 compression) are message boxes.
std::unique_ptr<cPDF> MakeControlWriter(const TwainControl& control, bool pdfA);

// One-page documents of the current image. False without a current image
// (last status unchanged), when the file cannot be made (41), when the writer
// refuses the image (230; no file is left) or when the file cannot be
// finished (the writer's failure). The last status is left as it was on success.
bool SaveAsPDFEx(TwainControl& control, const PdfDocumentRequest& request);
// PDF/A-1b; the request's encryption and passwords are not used.
bool SaveAsPDFAEx(TwainControl& control, const PdfDocumentRequest& request);
// `producer` is accepted and not used: the producer is always the writer's.
bool SaveAsPDF(TwainControl& control, const std::string& filePath, const std::string& title = "",
               const std::string& creator = "Morvalen ToolKit", const std::string& author = "Morvalen ToolKit",
               const std::string& producer = "");
bool SaveAsPDFA(TwainControl& control, const std::string& filePath, const std::string& title = "",
                const std::string& creator = "Morvalen ToolKit", const std::string& author = "Morvalen ToolKit",
                const std::string& producer = "");

// The PdfRight value of eight permission flags: 0 to 255, never -1.
int32_t PdfCreateRights(bool canPrint, bool canModify, bool canCopy, bool canAddNotes, bool canFillFields,
                        bool canCopyAccess, bool canAssemble, bool canPrintFull);

// The scan-to-PDF session. A start while a document is open finishes that
// document first (as TwainPdfStop would). Every result is stored as the last status.
MorvalenStatus TwainPdfStartEx(TwainControl& control, const PdfDocumentRequest& request);
MorvalenStatus TwainPdfStart(TwainControl& control, const std::string& filePath, const std::string& title = "",
                             const std::string& creator = "Morvalen ToolKit",
                             const std::string& author = "Morvalen ToolKit", const std::string& producer = "");
// 2 for image ID 0, 35 without an open document (no file is touched), 230
// when the writer refuses the image or it has no usable resolution.
MorvalenStatus TwainAddMorvalenImageToPdf(TwainControl& control, int32_t imageId);
// 35 without an open document. Otherwise the document is finished: the last
// status when it was written (or held no image, and then no file is left),
// else the failure for which it was dropped.
MorvalenStatus TwainPdfStop(TwainControl& control);

}  // namespace scanvelt
