#pragma once
// Cursor files (".cur"): an icon directory whose entries carry the cursor's
// hot spot where an icon keeps its planes and bit count.
#include <QByteArray>
#include <QCursor>
#include <QPoint>
#include <QString>
#include <optional>

namespace forms_qt {

// The hot spot of the first image of a cursor file's bytes; nullopt when the
// bytes are not a cursor file (too short, wrong header, a spot outside the image).
std::optional<QPoint> cursorHotSpot(const QByteArray& bytes);

// The cursor a cursor file holds; nullopt when the file cannot be read as one.
std::optional<QCursor> loadCursorFile(const QString& path);

}  // namespace forms_qt
