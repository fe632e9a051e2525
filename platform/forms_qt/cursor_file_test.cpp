#include "platform/forms_qt/cursor_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <fstream>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/jet/test_support.h"

namespace forms_qt {
namespace {

TEST(CursorFileTest, TheHotSpotIsReadFromTheFirstEntry) {
    const auto spot = cursorHotSpot(testing::cursorFileBytes(3, 5));
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(*spot, QPoint(3, 5));
}

TEST(CursorFileTest, BytesThatAreNoCursorHaveNoHotSpot) {
    const QByteArray good = testing::cursorFileBytes(3, 5);
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray outside = good;
    outside[10] = 16;  // x = 16 in a 16 pixel wide image
    const Case cases[] = {
        {"empty", QByteArray()},
        {"cut inside the entry", good.left(21)},
        {"an icon file", testing::cursorFileBytes(3, 5, 1)},
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
    file.write(testing::cursorFileBytes(4, 1));
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
