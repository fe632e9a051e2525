#include "platform/report/page_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/report/report_error.h"
#include "platform/files/atomic_file_writer.h"

namespace report {

namespace {

QColor colour(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QRectF rectOf(const Rect& r, double scale) { return QRectF(r.x * scale, r.y * scale, r.w * scale, r.h * scale); }

void paintItem(QPainter& p, const TextItem& t, double scale) {
    QFont font("Liberation Sans");
    font.setPointSizeF(t.size);
    font.setBold(t.bold);
    // Point sizes are relative to the device's resolution; pixel sizes are not.
    font.setPixelSize(std::max(1, static_cast<int>(t.size * scale + 0.5)));
    p.setFont(font);
    p.setPen(Qt::black);
    const QRectF box = rectOf(t.box, scale);
    const QString text = QFontMetricsF(font).elidedText(QString::fromStdString(t.text), Qt::ElideRight, box.width());
    const Qt::Alignment align = t.align == Align::Left     ? Qt::AlignLeft
                                : t.align == Align::Right ? Qt::AlignRight
                                                          : Qt::AlignHCenter;
    p.drawText(box, static_cast<int>(align | Qt::AlignVCenter) | Qt::TextSingleLine, text);
}

void paintItem(QPainter& p, const LineItem& l, double scale) {
    p.setPen(QPen(Qt::black, std::max(0.5, l.width * scale)));
    p.drawLine(QPointF(l.x1 * scale, l.y1 * scale), QPointF(l.x2 * scale, l.y2 * scale));
}

void paintItem(QPainter& p, const BoxItem& b, double scale) {
    p.setPen(b.outline ? QPen(Qt::black, std::max(0.5, 0.5 * scale)) : QPen(Qt::NoPen));
    p.setBrush(b.filled ? QBrush(colour(b.fill)) : QBrush(Qt::NoBrush));
    p.drawRect(rectOf(b.box, scale));
}

void paintItem(QPainter& p, const SliceItem& s, double scale) {
    p.setPen(QPen(Qt::white, std::max(0.5, scale)));
    p.setBrush(colour(s.fill));
    p.drawPie(rectOf(s.box, scale), static_cast<int>(s.startDegrees * 16), static_cast<int>(s.spanDegrees * 16));
}

}  // namespace

void paintPage(QPainter& painter, const Page& page, double scale) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PageItem& item : page.items) std::visit([&](const auto& i) { paintItem(painter, i, scale); }, item);
}

void paintDocument(QPagedPaintDevice& device, const Document& document) {
    QPainter painter;
    if (!painter.begin(&device)) throw ReportError(ReportErrorCode::Output, "The pages cannot be drawn");
    // Device pixels per point, from the device's own resolution.
    const double scale = device.logicalDpiX() / 72.0;
    for (size_t i = 0; i < document.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) throw ReportError(ReportErrorCode::Output, "A new page cannot be started");
        paintPage(painter, document.pages[i], scale);
    }
    // The PDF writer writes out what is left only here: a failure is a lost page.
    if (!painter.end()) throw ReportError(ReportErrorCode::Output, "The pages cannot be finished");
}

void writePdf(const Document& document, const std::filesystem::path& file) {
    // Drawn into memory first: the PDF writer does not tell of a failed
    // write, our file writer does (size, flush, close, sync, rename).
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(300);
        writer.setTitle(QString::fromStdString(document.name));
        writer.setCreator("Ostrelle");
        const QPageSize size(QSizeF(document.width, document.height), QPageSize::Point, QString(),
                             QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        paintDocument(writer, document);
    }
    // Exports are the owner's alone (mode 0600); a user who shares one copies it.
    files::AtomicFileWriter output;
    std::error_code error = output.open(file, 0600);
    if (!error) error = output.write(pdf.data().constData(), static_cast<size_t>(pdf.data().size()));
    if (!error) error = output.commit();
    if (error) throw ReportError(ReportErrorCode::Output, "Cannot write " + file.string() + ": " + error.message());
}

QImage pageImage(const Document& document, int index, double zoom) {
    const double scale = zoom * kScreenPixelsPerPoint;
    QImage image(static_cast<int>(document.width * scale), static_cast<int>(document.height * scale),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    if (index >= 0 && static_cast<size_t>(index) < document.pages.size()) {
        QPainter painter(&image);
        paintPage(painter, document.pages[static_cast<size_t>(index)], scale);
    }
    return image;
}

}  // namespace report
