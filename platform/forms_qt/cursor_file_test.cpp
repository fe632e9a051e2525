#include "platform/forms_qt/cursor_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <fstream>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/jet/test_support.h"

namespace forms_qt {
namespace {

void put16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}
void put32(QByteArray& out, int v) {
    put16(out, v & 0xFFFF);
    put16(out, (v >> 16) & 0xFFFF);
}

// A 16 by 16 cursor file of 32-bit pixels, all of one colour, with its hot spot at (hotX, hotY).
QByteArray cursorFile(int hotX, int hotY, int type = 2) {
    constexpr int side = 16;
    constexpr int pixels = side * side * 4;
    constexpr int mask = side * 4;  // one bit a pixel, rows padded to four bytes
    constexpr int image = 40 + pixels + mask;
    QByteArray out;
    put16(out, 0);
    put16(out, type);
    put16(out, 1);
    out.append(static_cast<char>(side));
    out.append(static_cast<char>(side));
    out.append('\0');
    out.append('\0');
    put16(out, hotX);
    put16(out, hotY);
    put32(out, image);
    put32(out, 22);
    put32(out, 40);
    put32(out, side);
    put32(out, side * 2);
    put16(out, 1);
    put16(out, 32);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (int i = 0; i < side * side; ++i) out.append("\x20\x40\xC0\xFF", 4);  // blue, green, red, alpha
    out.append(QByteArray(mask, '\0'));
    return out;
}

TEST(CursorFileTest, TheHotSpotIsReadFromTheFirstEntry) {
    const auto spot = cursorHotSpot(cursorFile(3, 5));
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(*spot, QPoint(3, 5));
}

TEST(CursorFileTest, BytesThatAreNoCursorHaveNoHotSpot) {
    const QByteArray good = cursorFile(3, 5);
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray outside = good;
    outside[10] = 16;  // x = 16 in a 16 pixel wide image
    const Case cases[] = {
        {"empty", QByteArray()},
        {"cut inside the entry", good.left(21)},
        {"an icon file", cursorFile(3, 5, 1)},
        {"a spot outside the image", outside},
    };
    for (const Case& c : cases) EXPECT_FALSE(cursorHotSpot(c.bytes).has_value()) << c.what;
}

TEST(CursorFileTest, ACursorFileBecomesACursorWithItsHotSpot) {
    testing::qtApp();
    jet::testing::TestFolder folder;
    const QString path = QString::fromStdString((folder.path() / "h_point.cur").string());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(cursorFile(4, 1));
    file.close();
    const auto cursor = loadCursorFile(path);
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->hotSpot(), QPoint(4, 1));
    const QImage image = cursor->pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixelColor(8, 8), QColor(0xC0, 0x40, 0x20));

    std::ofstream(folder.path() / "broken.cur") << "not a cursor";
    EXPECT_FALSE(loadCursorFile(QString::fromStdString((folder.path() / "broken.cur").string())).has_value());
    EXPECT_FALSE(loadCursorFile(QString::fromStdString((folder.path() / "missing.cur").string())).has_value());
}

}  // namespace
}  // namespace forms_qt
