#include "platform/print/qt_print_system.h"

#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <filesystem>

#include "platform/files/atomic_file_writer.h"
#include "platform/print/raster_print_job.h"

namespace print {
namespace {

constexpr double kMmPerTwip = 25.4 / 1440.0;

QPageSize PageSizeOf(const PrinterSettings& s) {
    return QPageSize(QSizeF(s.paperWidthTwips * kMmPerTwip, s.paperHeightTwips * kMmPerTwip), QPageSize::Millimeter,
                     QString(), QPageSize::FuzzyMatch);
}

QPageLayout::Orientation OrientationOf(const PrinterSettings& s) {
    return s.orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QImage ImageOf(const win::GdiBitmap& page) {
    // Borrowed rows: the image lives only while the page is drawn.
    return QImage(page.bits.data(), page.width, page.height, static_cast<qsizetype>(page.stride),
                  QImage::Format_RGB32);
}

std::string FileNameOf(const std::string& documentName) {
    std::string name = documentName.empty() ? "Print" : documentName;
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|' || static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    return name + ".pdf";
}

// The file printer: pages into a PDF written whole or not at all.
class FileJob final : public RasterPrintJob {
public:
    FileJob(const PrinterSettings& settings, const DeviceGeometry& geometry, const std::string& target)
        : RasterPrintJob(settings, geometry) {
        if (writer_.open(target)) return;
        pdf_ = std::make_unique<QPdfWriter>(QString::fromStdString(writer_.temporaryPath().string()));
        pdf_->setCreator(QStringLiteral("Scanvelt"));
        pdf_->setResolution(geometry.dpiX);
        pdf_->setPageLayout(QPageLayout(PageSizeOf(settings), OrientationOf(settings), QMarginsF(0, 0, 0, 0)));
        open_ = painter_.begin(pdf_.get());
    }
    ~FileJob() override {
        if (painter_.isActive()) painter_.end();
    }
    bool usable() const { return open_ && ready(); }

protected:
    bool EmitPage(const win::GdiBitmap& page, int32_t dpiX, int32_t dpiY, int32_t offsetX, int32_t offsetY) override {
        if (!open_) return false;
        if (pages_++ > 0 && !pdf_->newPage()) return false;
        // The writer's device pixels are at its own resolution; the page was drawn at dpiX x dpiY.
        const double sx = static_cast<double>(pdf_->resolution()) / dpiX;
        const double sy = static_cast<double>(pdf_->resolution()) / dpiY;
        const QRectF target(offsetX * sx, offsetY * sy, page.width * sx, page.height * sy);
        painter_.drawImage(target, ImageOf(page));
        return true;
    }
    bool Finish() override {
        if (!open_) return false;
        painter_.end();
        pdf_.reset();
        return !writer_.commitWrittenByName();
    }

private:
    files::AtomicFileWriter writer_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter painter_;
    bool open_ = false;
    int pages_ = 0;
};

void Configure(QPrinter& printer, const PrinterSettings& s, const std::string& documentName) {
    printer.setPrinterName(QString::fromStdString(s.deviceName));
    printer.setFullPage(true);
    printer.setPageSize(PageSizeOf(s));
    printer.setPageOrientation(OrientationOf(s));
    printer.setCopyCount(std::max<int>(1, s.copies));
    printer.setColorMode(s.colorMode == DMCOLOR_MONOCHROME ? QPrinter::GrayScale : QPrinter::Color);
    printer.setDuplex(s.duplex == 2 ? QPrinter::DuplexLongSide
                                    : (s.duplex == 3 ? QPrinter::DuplexShortSide : QPrinter::DuplexNone));
    printer.setDocName(QString::fromStdString(documentName));
}

// A printer of the system.
class SystemJob final : public RasterPrintJob {
public:
    SystemJob(const PrinterSettings& settings, const DeviceGeometry& geometry, const std::string& documentName)
        : RasterPrintJob(settings, geometry), printer_(QPrinter::HighResolution) {
        Configure(printer_, settings, documentName);
        open_ = painter_.begin(&printer_);
    }
    ~SystemJob() override {
        if (painter_.isActive()) painter_.end();
    }
    bool usable() const { return open_ && ready(); }

protected:
    bool EmitPage(const win::GdiBitmap& page, int32_t dpiX, int32_t dpiY, int32_t offsetX, int32_t offsetY) override {
        if (!open_) return false;
        if (pages_++ > 0 && !printer_.newPage()) return false;
        const double sx = static_cast<double>(printer_.resolution()) / dpiX;
        const double sy = static_cast<double>(printer_.resolution()) / dpiY;
        painter_.drawImage(QRectF(offsetX * sx, offsetY * sy, page.width * sx, page.height * sy), ImageOf(page));
        return true;
    }
    bool Finish() override {
        if (!open_) return false;
        const bool ended = painter_.end();
        return ended && printer_.printerState() != QPrinter::Error && printer_.printerState() != QPrinter::Aborted;
    }

private:
    QPrinter printer_;
    QPainter painter_;
    bool open_ = false;
    int pages_ = 0;
};

PrinterState StateOf(const QPrinterInfo& info) {
    switch (info.state()) {
    case QPrinter::Active: return PrinterState::Processing;
    case QPrinter::Aborted:
    case QPrinter::Error: return PrinterState::Stopped;
    default: return PrinterState::Idle;
    }
}

// The DEVMODE paper code of a Qt page size, DMPAPER_USER for the others.
int16_t PaperCodeOf(const QPageSize& size) {
    switch (size.id()) {
    case QPageSize::Letter: return DMPAPER_LETTER;
    case QPageSize::Legal: return DMPAPER_LEGAL;
    case QPageSize::A3: return DMPAPER_A3;
    case QPageSize::A4: return DMPAPER_A4;
    case QPageSize::A5: return DMPAPER_A5;
    default: return DMPAPER_USER;
    }
}

PrinterSettings SettingsOf(const QPrinter& printer, PrinterSettings s) {
    const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    s.deviceName = printer.printerName().toStdString();
    s.paperSize = PaperCodeOf(printer.pageLayout().pageSize());
    s.paperWidthTwips = static_cast<int32_t>(std::lround(mm.width() / kMmPerTwip));
    s.paperHeightTwips = static_cast<int32_t>(std::lround(mm.height() / kMmPerTwip));
    s.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE
                                                                                 : DMORIENT_PORTRAIT;
    s.copies = static_cast<int16_t>(printer.copyCount());
    s.colorMode = printer.colorMode() == QPrinter::GrayScale ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
    s.duplex = printer.duplex() == QPrinter::DuplexLongSide ? 2 : (printer.duplex() == QPrinter::DuplexShortSide ? 3 : 1);
    return s;
}

class QtPrintSystem final : public PrintSystem {
public:
    explicit QtPrintSystem(QtPrintSystemOptions options) : options_(std::move(options)) {}

    std::vector<PrinterInfo> Printers() override {
        std::vector<PrinterInfo> printers;
        if (options_.systemPrinters) {
            const QString defaultName = QPrinterInfo::defaultPrinterName();
            for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
                printers.push_back({info.printerName().toStdString(), StateOf(info), info.printerName() == defaultName});
            }
        }
        printers.push_back({kFilePrinterName, PrinterState::Idle, printers.empty()});
        return printers;
    }

    PrinterSettings DefaultSettings(const std::string& deviceName) override {
        PrinterSettings s;
        s.deviceName = deviceName;
        if (deviceName == kFilePrinterName) return s;
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(deviceName));
        if (info.isNull()) return s;
        const QPageSize size = info.defaultPageSize();
        if (size.isValid()) {
            const QSizeF mm = size.size(QPageSize::Millimeter);
            s.paperSize = PaperCodeOf(size);
            s.paperWidthTwips = static_cast<int32_t>(std::lround(mm.width() / kMmPerTwip));
            s.paperHeightTwips = static_cast<int32_t>(std::lround(mm.height() / kMmPerTwip));
        }
        return s;
    }

    DeviceGeometry Geometry(const PrinterSettings& s) override {
        DeviceGeometry g;
        if (s.deviceName == kFilePrinterName) {
            g.dpiX = g.dpiY = options_.filePrinterDpi;
            g.offsetX = g.offsetY = static_cast<int32_t>(std::lround(options_.filePrinterMarginMm / 25.4 * g.dpiX));
            return g;
        }
        QPrinter printer(QPrinter::HighResolution);
        Configure(printer, s, "");
        g.dpiX = g.dpiY = printer.resolution();
        const QMarginsF margins = printer.pageLayout().minimumMargins();
        const double perUnit = printer.pageLayout().units() == QPageLayout::Millimeter ? g.dpiX / 25.4 : g.dpiX / 72.0;
        g.offsetX = static_cast<int32_t>(std::lround(margins.left() * perUnit));
        g.offsetY = static_cast<int32_t>(std::lround(margins.top() * perUnit));
        return g;
    }

    std::unique_ptr<PrintJob> StartDoc(const PrinterSettings& s, const std::string& documentName) override {
        if (s.deviceName == kFilePrinterName) {
            const std::string target = (std::filesystem::path(options_.filePrinterFolder) / FileNameOf(documentName)).string();
            auto job = std::make_unique<FileJob>(s, Geometry(s), target);
            if (!job->usable()) return nullptr;
            return job;
        }
        auto job = std::make_unique<SystemJob>(s, Geometry(s), documentName);
        if (!job->usable()) return nullptr;
        return job;
    }

    std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogRequest& request,
                                                     const PrinterSettings& current) override {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
        QPrinter printer(QPrinter::HighResolution);
        Configure(printer, current, "");
        QPrintDialog dialog(&printer);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (request.maxPage > 0) {
            dialog.setMinMax(request.minPage, request.maxPage);
            dialog.setFromTo(request.fromPage, request.toPage);
            dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        } else {
            dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        }
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        PrintDialogChoice choice;
        choice.settings = SettingsOf(printer, current);
        if (printer.printRange() == QPrinter::PageRange) {
            choice.fromPage = printer.fromPage();
            choice.toPage = printer.toPage();
        }
        return choice;
    }

private:
    QtPrintSystemOptions options_;
};

}  // namespace

std::shared_ptr<PrintSystem> MakeQtPrintSystem(const QtPrintSystemOptions& options) {
    return std::make_shared<QtPrintSystem>(options);
}

}  // namespace print
