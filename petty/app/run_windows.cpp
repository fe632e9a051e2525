#include "petty/app/run_windows.h"

#include <QApplication>

#include "petty/app/program_start.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/program_info.h"
#include "platform/forms_qt/clipboard_qt.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/qt_timers.h"
#include "platform/forms_qt/qt_ui.h"
#include "platform/forms_qt/scan_dialogs_qt.h"
#include "platform/print/qt_print_system.h"
#include "platform/report/qt_report_output.h"

namespace petty {

int runWindows(const std::filesystem::path& folder) {
    QApplication::setApplicationName(QString::fromUtf8(kProgramName.data(), static_cast<int>(kProgramName.size())));
    forms_qt::QtUi ui{std::string(kProgramName)};
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
        code = host.run([&] { started = startProgram(folder); });
    }
    formInstances().releaseAll();  // after their windows are gone
    report::setReportOutput(nullptr);
    print::InstallPrintSystem(nullptr);
    return started ? code : 1;
}

}  // namespace petty
