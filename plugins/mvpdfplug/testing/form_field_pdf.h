#pragma once
// For tests and the fuzzer's seeds: a hand-written PDF document with one form
// field whose appearance is a filled box.
#include <string>
#include <vector>

#include "plugins/mvpdfplug/testing/hand_written_pdf.h"

namespace mvpdfplug::testing {

// A one-page PDF (200 x 200 points) whose only content is a text field at
// (50, 50)-(150, 150) whose appearance fills the box black.
inline std::string formFieldPdf() {
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [4 0 R] >> >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Annots [4 0 R] >>",
        "<< /Type /Annot /Subtype /Widget /FT /Tx /T (amount) /Rect [50 50 150 150] /F 4 /P 3 0 R "
        "/AP << /N 5 0 R >> >>",
        "<< /Type /XObject /Subtype /Form /BBox [0 0 100 100] /Length 21 >>\nstream\n0 g 0 0 100 100 re f\n\nendstream",
    };
    return handWrittenPdf(objects);
}

}  // namespace mvpdfplug::testing
