#pragma once
// The control's searchable PDFs: a one-page document of the current image and
// the OCR scan-to-PDF session, each page carrying the recognised words
// invisibly over its image. Every OCR document is asked for as PDF/A (the
// writer gives that up when encryption is asked for). Texts are UTF-8.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "imaging/twain/pdf_output_members.h"

namespace scanvelt {

class TwainControl;

// What is recognised: the TesseractDictionary value, the tessdata folder
// ("" the system's) and the white list ("" no restriction).
struct OcrRequest {
    int32_t Dictionary = 2;
    std::string DictionaryPath;
    std::string WhiteList;
};

// The current image as a one-page searchable PDF; the text of its layer
// (words separated by spaces, lines by "\r\n"). Empty with status 2 without a
// current image, 41 when the file cannot be made, 230 when the image is
// refused. A failed recognition (its status kept, 500 for a missing
// dictionary) still writes the page with the image and no text.
std::string SaveAsPDFOCREx(TwainControl& control, const OcrRequest& ocr, const PdfDocumentRequest& request);
std::string SaveAsPDFOCR(TwainControl& control, const std::string& filePath, const OcrRequest& ocr,
                         const std::string& title = "", const std::string& creator = "Morvalen ToolKit",
                         const std::string& author = "Morvalen ToolKit", const std::string& producer = "");

// The OCR session, kept apart from the plain one. A start while a document is
// open finishes that document first.
MorvalenStatus TwainPdfOCRStartEx(TwainControl& control, const PdfDocumentRequest& request);
MorvalenStatus TwainPdfOCRStart(TwainControl& control, const std::string& filePath, const std::string& title = "",
                                const std::string& creator = "Morvalen ToolKit",
                                const std::string& author = "Morvalen ToolKit", const std::string& producer = "");
// Adds the image and recognises it; the recognised text. Empty with status 2
// for image ID 0, 35 without an open document (no file touched), 230 when the
// image is refused.
std::string TwainAddMorvalenImageToPdfOCR(TwainControl& control, int32_t imageId, const OcrRequest& ocr);
// Lays out each page with its text layer and finishes the document as
// TwainPdfStop does; 35 without an open document. The page list is emptied.
MorvalenStatus TwainPdfOCRStop(TwainControl& control);

}  // namespace scanvelt
