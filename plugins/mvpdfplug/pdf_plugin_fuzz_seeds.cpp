// Writes the PDF plug-in fuzzer's seeds into the folder given: pages drawn by
// cairo and a document with a form field.
#include <fstream>
#include <string>

#include "plugins/mvpdfplug/testing/form_field_pdf.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    mvpdfplug::testing::writeBoxPages(folder + "/boxes.pdf", {{612, 792}, {300, 200}});
    std::ofstream(folder + "/form.pdf", std::ios::binary) << mvpdfplug::testing::formFieldPdf();
    return 0;
}
