#pragma once
// The system clipboard as the library's clipboard service: what the image
// members copy goes to Qt's clipboard as an image, so other programs can
// paste it, and an image another program copied is pasted from it. Installed for the life of the object (a QGuiApplication must
// exist); removed again at its end.
#include <QImage>

#include "platform/win/gdi_bitmap.h"

namespace forms_qt {

class ScopedQtClipboard {
public:
    ScopedQtClipboard();
    ~ScopedQtClipboard();
    ScopedQtClipboard(const ScopedQtClipboard&) = delete;
    ScopedQtClipboard& operator=(const ScopedQtClipboard&) = delete;
};

// The bitmap's pixels as an opaque image: 1, 4 and 8 bits through the colour
// table, 16 bits as 5-5-5, 24 and 32 bits as blue, green, red. A null image
// for another depth or a bitmap whose memory is shorter than its rows.
QImage ImageOfBitmap(const win::GdiBitmap& bitmap);

// The image as a new 32-bit DIB section the caller deletes (its alpha
// dropped); the null handle for a null image.
win::HBITMAP BitmapOfImage(const QImage& image);

}  // namespace forms_qt
