#pragma once
// Which document a print of the viewer hands to its printer: an open PDF
// page by page through the PDF plug-in, or the shown picture.
#include <cstdint>

namespace scanvelt {

struct PrintDocumentChoice {
    bool pdfMode = false;  // the document is a PDF plug-in handle
    int32_t document = 0;  // 0: nothing to print
};

// A dialog prints an open PDF through the plug-in; a direct print does so
// only when a page range was set, else it prints the shown page's picture.
PrintDocumentChoice ChoosePrintDocument(int32_t documentType, bool dialog, bool rangeSet, int32_t pdfHandle,
                                        int32_t shownImage);

}  // namespace scanvelt
