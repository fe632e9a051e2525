#include "platform/forms_qt/clipboard_qt.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>

#include "platform/win/clipboard.h"

namespace forms_qt {
namespace {

QRgb FromQuad(uint32_t quad) { return qRgb((quad >> 16) & 0xFF, (quad >> 8) & 0xFF, quad & 0xFF); }

QRgb PixelOf(const win::GdiBitmap& bitmap, const uint8_t* row, int32_t x) {
    switch (bitmap.bitsPerPixel) {
        case 32:
        case 24: {
            const uint8_t* p = row + static_cast<size_t>(x) * (bitmap.bitsPerPixel / 8);
            return qRgb(p[2], p[1], p[0]);
        }
        case 16: {
            const uint16_t v = static_cast<uint16_t>(row[2 * x] | row[2 * x + 1] << 8);
            return qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
        }
        default: {
            const int bits = bitmap.bitsPerPixel;
            const size_t bit = static_cast<size_t>(x) * bits;
            const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            return index < bitmap.colorTable.size() ? FromQuad(bitmap.colorTable[index]) : qRgb(0, 0, 0);
        }
    }
}

}  // namespace

QImage ImageOfBitmap(const win::GdiBitmap& bitmap) {
    const int bits = bitmap.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
    if (bitmap.width < 1 || bitmap.height < 1) return {};
    const size_t rowBytes = (static_cast<size_t>(bitmap.width) * bits + 7) / 8;
    if (bitmap.stride < rowBytes || bitmap.bits.size() < static_cast<size_t>(bitmap.stride) * bitmap.height) return {};
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (int32_t y = 0; y < bitmap.height; ++y) {
        const uint8_t* row = bitmap.row(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < bitmap.width; ++x) line[x] = PixelOf(bitmap, row, x);
    }
    return image;
}

win::HBITMAP BitmapOfImage(const QImage& image) {
    if (image.isNull()) return win::HBITMAP{};
    // Qt's 32-bit RGB rows are blue, green, red, unused in memory: a DIB's order.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    win::BitmapInfoHeader header;
    header.width = rgb.width();
    header.height = -rgb.height();  // top-down, as Qt keeps its rows
    header.bitCount = 32;
    void* bits = nullptr;
    const win::HBITMAP bitmap = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
    const auto made = win::FindBitmap(bitmap);
    if (!made) return win::HBITMAP{};
    const size_t rowBytes = static_cast<size_t>(rgb.width()) * 4;
    for (int y = 0; y < rgb.height(); ++y) std::memcpy(made->row(y), rgb.constScanLine(y), rowBytes);
    return bitmap;
}

ScopedQtClipboard::ScopedQtClipboard() {
    win::ClipboardService service;
    service.empty = [] {
        QGuiApplication::clipboard()->clear();
        return win::ClipboardResult::Done;
    };
    service.putBitmap = [](const win::GdiBitmap& bitmap) {
        const QImage image = ImageOfBitmap(bitmap);
        if (image.isNull()) return win::ClipboardResult::Failed;
        QGuiApplication::clipboard()->setImage(image);
        return win::ClipboardResult::Done;
    };
    service.takeBitmap = [] { return BitmapOfImage(QGuiApplication::clipboard()->image()); };
    win::SetClipboardService(std::move(service));
}

ScopedQtClipboard::~ScopedQtClipboard() { win::SetClipboardService({}); }

}  // namespace forms_qt
