#pragma once
// The print system over Qt's printing, for hosts (the program, tests): the
// printers Qt knows (through CUPS) and a PDF file printer of our own, for
// tests and for users without a printer; the print dialog is Qt's. A host
// installs it with print::InstallPrintSystem(MakeQtPrintSystem(...)); the
// library itself never links Qt.
#include <memory>
#include <string>

#include "platform/print/print_system.h"

namespace print {

// The file printer's device name.
inline constexpr char kFilePrinterName[] = "Scanvelt PDF";

struct QtPrintSystemOptions {
    // Where the file printer writes: "<document name>.pdf" in this folder
    // (characters a file name cannot hold become '_'), replaced whole.
    std::string filePrinterFolder;
    // The file printer's resolution and its unprintable border (mm), as a
    // real printer has one.
    int32_t filePrinterDpi = 300;
    double filePrinterMarginMm = 0.0;
    // The printers of the system (CUPS) besides the file printer.
    bool systemPrinters = true;
};

std::shared_ptr<PrintSystem> MakeQtPrintSystem(const QtPrintSystemOptions& options);

}  // namespace print
