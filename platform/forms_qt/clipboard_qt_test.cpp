#include "platform/forms_qt/clipboard_qt.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/win/clipboard.h"

namespace forms_qt {
namespace {

// A DIB section of the depth with the pixels (x + y) % 2 ? colour B : colour A.
win::HBITMAP Checkerboard(uint16_t bits, int32_t width, int32_t height) {
    win::BitmapInfoHeader header;
    header.width = width;
    header.height = height;  // bottom-up, as most DIBs are
    header.bitCount = bits;
    void* pixels = nullptr;
    const uint32_t table[] = {0x00FF0000, 0x000000FF};  // red, blue (RGBQUAD)
    const win::HBITMAP made = win::CreateDIBSection(win::HDC{}, header, table, &pixels);
    auto found = win::FindBitmap(made);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = found->row(y);
        for (int32_t x = 0; x < width; ++x) {
            const bool second = (x + y) % 2 != 0;
            if (bits == 1) {
                if (second) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            } else {
                uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
                p[0] = second ? 0xFF : 0x00;  // blue
                p[1] = 0x00;
                p[2] = second ? 0x00 : 0xFF;  // red
            }
        }
    }
    return made;
}

TEST(QtClipboard, TheLibrarysClipboardIsQtsWhileInstalled) {
    testing::qtApp();
    for (uint16_t bits : {1, 24, 32}) {
        SCOPED_TRACE(bits);
        const win::HBITMAP bitmap = Checkerboard(bits, 5, 3);
        {
            ScopedQtClipboard clipboard;
            ASSERT_EQ(win::SetClipboardBitmap(bitmap), win::ClipboardResult::Done);
            const QImage pasted = QGuiApplication::clipboard()->image();
            ASSERT_EQ(pasted.size(), QSize(5, 3));
            EXPECT_EQ(pasted.pixel(0, 0), qRgb(255, 0, 0));
            EXPECT_EQ(pasted.pixel(1, 0), qRgb(0, 0, 255));
            EXPECT_EQ(pasted.pixel(1, 2), qRgb(0, 0, 255));
            EXPECT_EQ(win::EmptyClipboard(), win::ClipboardResult::Done);
            EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
        }
        EXPECT_EQ(win::SetClipboardBitmap(bitmap), win::ClipboardResult::Failed);  // removed again
        win::DeleteObject(bitmap);
    }
}

TEST(QtClipboard, AnImageOnQtsClipboardIsPastedAsABitmap) {
    testing::qtApp();
    QImage copied(3, 2, QImage::Format_ARGB32);
    copied.fill(qRgb(10, 20, 30));
    copied.setPixel(2, 1, qRgb(200, 100, 50));
    {
        ScopedQtClipboard clipboard;
        QGuiApplication::clipboard()->clear();
        EXPECT_EQ(win::GetClipboardBitmap(), win::HBITMAP{}) << "nothing on the clipboard";
        QGuiApplication::clipboard()->setImage(copied);
        const win::HBITMAP pasted = win::GetClipboardBitmap();
        ASSERT_NE(pasted, win::HBITMAP{});
        const auto bitmap = win::FindBitmap(pasted);
        ASSERT_EQ(bitmap->width, 3);
        ASSERT_EQ(bitmap->height, 2);
        EXPECT_EQ(bitmap->bitsPerPixel, 32);
        const QImage back = ImageOfBitmap(*bitmap);
        EXPECT_EQ(back.pixel(0, 0), qRgb(10, 20, 30));
        EXPECT_EQ(back.pixel(2, 1), qRgb(200, 100, 50));
        EXPECT_TRUE(win::DeleteObject(pasted));
        QGuiApplication::clipboard()->clear();
    }
    EXPECT_EQ(win::GetClipboardBitmap(), win::HBITMAP{}) << "removed again";
}

TEST(QtClipboard, ABitmapWithTooFewBytesForItsRowsGivesNoImage) {
    win::GdiBitmap bitmap;
    bitmap.width = 4;
    bitmap.height = 4;
    bitmap.bitsPerPixel = 24;
    bitmap.stride = 12;
    bitmap.bits.assign(40, 0);  // 48 needed
    EXPECT_TRUE(ImageOfBitmap(bitmap).isNull());
    bitmap.bits.assign(48, 0);
    EXPECT_FALSE(ImageOfBitmap(bitmap).isNull());
    bitmap.stride = 8;  // shorter than a row
    EXPECT_TRUE(ImageOfBitmap(bitmap).isNull());
    bitmap.stride = 12;
    bitmap.bitsPerPixel = 12;
    EXPECT_TRUE(ImageOfBitmap(bitmap).isNull());
}

}  // namespace
}  // namespace forms_qt
