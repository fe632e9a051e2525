// ostrelle: the petty-cash book. Starts the windows on a book folder, or
// creates a new book from the command line.
#include <sys/stat.h>

#include <QApplication>
#include <iostream>
#include <string_view>
#include <vector>

#include "petty/app/command_line.h"
#include "petty/app/create_book_command.h"
#include "petty/app/default_folder.h"
#include "petty/app/password_prompt.h"
#include "petty/app/program_start.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/program_info.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/qt_timers.h"
#include "platform/forms_qt/qt_ui.h"
#include "platform/forms_qt/clipboard_qt.h"
#include "platform/forms_qt/scan_dialogs_qt.h"
#include "platform/print/qt_print_system.h"
#include "platform/report/qt_report_output.h"

namespace {

// The windows on the book folder, until the last one closes or the program ends.
int runWindows(const std::filesystem::path& folder, int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(petty::kProgramName.data(),
                                                        static_cast<int>(petty::kProgramName.size())));
    forms_qt::QtUi ui{std::string(petty::kProgramName)};
    forms::ScopedUi useUi(ui);
    // The scanner's source list, setup and progress windows, and the event loop run during a scan.
    forms_qt::ScopedQtScanDialogs scanDialogs;
    forms_qt::ScopedQtTimers timers;  // the timers of controls on the windows (a viewer's redraw)
    // The system clipboard, where the image controls copy pages to.
    forms_qt::ScopedQtClipboard clipboard;
    // Where the report control sends its pages: the preview window, the printer, export files.
    report::QtReportOutput reports;
    report::setReportOutput(&reports);
    // The printers the imaging library prints on (Qt's, through CUPS) and the
    // PDF file printer, which writes into the book folder.
    print::QtPrintSystemOptions printing;
    printing.filePrinterFolder = folder.string();
    print::InstallPrintSystem(print::MakeQtPrintSystem(printing));
    bool started = false;
    int code = 0;
    {
        forms_qt::QtHost host;
        code = host.run([&] { started = petty::startProgram(folder); });
    }
    petty::formInstances().releaseAll();  // after their windows are gone
    report::setReportOutput(nullptr);
    print::InstallPrintSystem(nullptr);
    return started ? code : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Everything the program writes (the book, scanned bills, exports, reports)
    // is the book owner's alone, whatever umask the program was started with.
    ::umask(077);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const petty::Command command = petty::parseCommandLine(args);
    if (const auto* usage = std::get_if<petty::ShowUsage>(&command)) {
        (usage->asked ? std::cout : std::cerr) << petty::usageText();
        return usage->asked ? 0 : 2;
    }
    if (const auto* error = std::get_if<petty::CommandLineError>(&command)) {
        std::cerr << "ostrelle: " << error->message << "\n\n" << petty::usageText();
        return 2;
    }
    if (const auto* create = std::get_if<petty::CreateBook>(&command)) {
        const petty::PasswordSource terminal{petty::readPassword, petty::inputIsTerminal()};
        return petty::runCreateBook(*create, terminal, std::cout, std::cerr);
    }
    const auto& start = std::get<petty::StartProgram>(command);
    const auto folder = start.folder ? start.folder : petty::defaultBookFolder(petty::processEnvironment);
    if (!folder) {
        std::cerr << "ostrelle: no book folder: give --folder DIR, or set HOME or XDG_DATA_HOME.\n";
        return 2;
    }
    return runWindows(*folder, argc, argv);
}
