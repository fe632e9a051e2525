#pragma once
// Draws the page model with Qt: on screen, into a PDF and on a printer.
#include <filesystem>

#include "platform/report/page_model.h"

class QPainter;
class QPagedPaintDevice;
class QImage;

namespace report {

// Draws page `index` with the painter's coordinates scaled so that one unit is `scale` device pixels per point.
void paintPage(QPainter& painter, const Page& page, double scale);

// Every page on a paged device (a PDF writer or a printer) set up for the document's size.
void paintDocument(QPagedPaintDevice& device, const Document& document);

// The document as a PDF file, written under a temporary name and renamed into
// place; ReportError (Output) when it cannot be written.
void writePdf(const Document& document, const std::filesystem::path& file);

// Screen pixels per point of a page image at zoom 1 (96 dpi).
inline constexpr double kScreenPixelsPerPoint = 96.0 / 72.0;

// One page as an image at `zoom` (1 = 96 dpi).
QImage pageImage(const Document& document, int index, double zoom);

}  // namespace report
