#include "platform/report/qt_report_output.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include "platform/report/page_painter.h"
#include "platform/report/report_error.h"
#include "platform/report/report_preview.h"
#include "platform/report/spreadsheet_export.h"

namespace report {

namespace {

void setUpPage(QPrinter& printer, const Document& document, const std::string& jobName) {
    printer.setDocName(QString::fromStdString(jobName));
    printer.setFullPage(true);
    const QPageSize size(QSizeF(document.width, document.height), QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
}

// Prints on the printer, or writes the PDF file that "Print to File" named.
// The file is written as an export is: whole under a temporary name and
// renamed over the old one, the owner's alone. Qt's printer would draw
// straight into the named file and leave it cut off on a full disk or a kill,
// over the file that was there.
void printOrFail(QPrinter& printer, const Document& document) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString file = printer.outputFileName();
        if (file.isEmpty()) throw ReportError(ReportErrorCode::Output, "No file was named to print to");
        writePdf(document, file.toStdString());
        return;
    }
    paintDocument(printer, document);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        throw ReportError(ReportErrorCode::Output, "The printer refused the report");
}

}  // namespace

void QtReportOutput::preview(const Document& document, const PreviewOptions& options) {
    ReportPreview::Actions actions;
    ReportPreview* window = nullptr;
    actions.print = [this, &document, &window] {
        try {
            printFromPreview(document, window);
        } catch (const ReportError& e) {
            QMessageBox::warning(window, "Print", QString::fromStdString(e.what()));
        }
    };
    actions.exportFile = [this, &document, &window] { exportFromPreview(document, window); };
    ReportPreview dialog(document, options, std::move(actions), QApplication::activeWindow());
    window = &dialog;
    dialog.setModal(true);
    if (shown_) QTimer::singleShot(0, &dialog, [this, &dialog] { shown_(dialog); });
    dialog.exec();
}

void QtReportOutput::print(const Document& document, const std::string& jobName) {
    QPrinter printer(QPrinter::HighResolution);
    if (printFile_) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printFile_->string()));
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        throw ReportError(ReportErrorCode::Output, "No printer is installed");
    }
    setUpPage(printer, document, jobName);
    printOrFail(printer, document);
    // A print without a dialog says where it went.
    const std::string where = printer.outputFormat() == QPrinter::PdfFormat
                                  ? "the file " + printer.outputFileName().toStdString()
                                  : "the printer " + printer.printerName().toStdString();
    const std::string note = "\"" + jobName + "\" was sent to " + where + ".";
    if (printed_) printed_(note);
    else QMessageBox::information(QApplication::activeWindow(), "Print", QString::fromStdString(note));
}

void QtReportOutput::printFromPreview(const Document& document, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    if (printFile_) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printFile_->string()));
    }
    setUpPage(printer, document, document.name);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle("Print");
    if (dialog.exec() != QDialog::Accepted) return;
    printOrFail(printer, document);
}

std::optional<std::filesystem::path> QtReportOutput::exportFile(const std::filesystem::path& suggested) {
    const QString file = QFileDialog::getSaveFileName(QApplication::activeWindow(), "Export",
                                                      QString::fromStdString(suggested.string()),
                                                      "Spreadsheet (*.xlsx)");
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

void QtReportOutput::showError(const std::string& message) {
    QMessageBox::critical(QApplication::activeWindow(), "Report", QString::fromStdString(message));
}

void QtReportOutput::exportFromPreview(const Document& document, QWidget* parent) {
    QString filter;
    const QString file = QFileDialog::getSaveFileName(parent, "Export", QString::fromStdString(document.name),
                                                      "PDF (*.pdf);;Spreadsheet (*.xlsx)", &filter);
    if (file.isEmpty()) return;
    // The name's ending decides the format; without one, the filter chosen does and gives its ending.
    const bool spreadsheet = file.endsWith(".xlsx", Qt::CaseInsensitive) ||
                             (!file.endsWith(".pdf", Qt::CaseInsensitive) && filter.startsWith("Spreadsheet"));
    std::filesystem::path target = file.toStdString();
    if (target.extension().empty()) target += spreadsheet ? ".xlsx" : ".pdf";
    try {
        if (spreadsheet)
            writeSpreadsheet(document.table, document.name, target);
        else
            writePdf(document, target);
    } catch (const ReportError& e) {
        QMessageBox::warning(parent, "Export", QString::fromStdString(e.what()));
    }
}

}  // namespace report
