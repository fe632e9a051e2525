// Builds the quick-help PDF from the guide's text at build time.
//
//   make_quick_help <guide.txt> <Pettycash.pdf>
#include <QGuiApplication>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "petty/help/quick_help_layout.h"
#include "platform/report/page_painter.h"
#include "platform/report/report_error.h"

int main(int argc, char** argv) {
    QGuiApplication qt(argc, argv);  // fonts and the PDF writer need it
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <guide.txt> <output.pdf>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream guide;
    guide << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    try {
        report::writePdf(petty::quickHelpDocument(guide.str()), argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
