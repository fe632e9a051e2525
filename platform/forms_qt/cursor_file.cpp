#include "platform/forms_qt/cursor_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace forms_qt {

namespace {

constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;
constexpr int kCursorType = 2;

int littleEndian16(const QByteArray& bytes, int at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

}  // namespace

std::optional<QPoint> cursorHotSpot(const QByteArray& bytes) {
    if (bytes.size() < kDirectorySize + kEntrySize) return std::nullopt;
    if (littleEndian16(bytes, 0) != 0 || littleEndian16(bytes, 2) != kCursorType || littleEndian16(bytes, 4) < 1)
        return std::nullopt;
    const int entry = kDirectorySize;
    // A width or height byte of 0 stands for 256.
    const int width = static_cast<unsigned char>(bytes[entry]) == 0 ? 256 : static_cast<unsigned char>(bytes[entry]);
    const int height =
        static_cast<unsigned char>(bytes[entry + 1]) == 0 ? 256 : static_cast<unsigned char>(bytes[entry + 1]);
    const QPoint spot(littleEndian16(bytes, entry + 4), littleEndian16(bytes, entry + 6));
    if (spot.x() >= width || spot.y() >= height) return std::nullopt;
    return spot;
}

std::optional<QCursor> loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    const auto spot = cursorHotSpot(bytes);
    if (!spot) return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return QCursor(QPixmap::fromImage(image), spot->x(), spot->y());
}

}  // namespace forms_qt
