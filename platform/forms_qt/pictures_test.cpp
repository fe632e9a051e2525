#include "platform/forms_qt/pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <map>

#include "platform/forms_qt/qt_test_support.h"
#include "platform/jet/test_support.h"

namespace forms_qt {
namespace {

// The share of the picture's opaque pixels whose main colour is the given one.
double shareOfColour(const QImage& image, char colour) {
    int opaque = 0;
    int matching = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 128) continue;
            ++opaque;
            const bool red = c.red() > c.green() + 60 && c.red() > c.blue() + 60;
            const bool green = c.green() > c.red() + 60 && c.green() > c.blue() + 60;
            if ((colour == 'r' && red) || (colour == 'g' && green)) ++matching;
        }
    return opaque == 0 ? 0 : static_cast<double>(matching) / opaque;
}

class PicturesTest : public ::testing::Test, private testing::QtApplicationUser {};

TEST_F(PicturesTest, TheNamedPicturesAreDrawnInTheirColours) {
    const std::map<std::string, char> colours = {
        {"tick", 'g'}, {"cross", 'r'}, {"greenmark", 'g'}, {"redmark", 'r'}, {"flag", 'r'}};
    for (const auto& [name, colour] : colours) {
        const QImage image = picture(name).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16)) << name;
        EXPECT_GT(shareOfColour(image, colour), 0.5) << name;
    }
    EXPECT_FALSE(picture("expand").isNull());
    EXPECT_EQ(picture("TICK").toImage(), picture("tick").toImage());
    EXPECT_NE(picture("tick").toImage(), picture("cross").toImage());
    EXPECT_EQ(picture("redmark", 32).size(), QSize(32, 32));
}

TEST_F(PicturesTest, OtherNamesAreImageFilesOrNothing) {
    EXPECT_TRUE(picture("").isNull());
    EXPECT_TRUE(picture("no such picture").isNull());
    EXPECT_TRUE(pictureIcon("no such picture").isNull());
    jet::testing::TestFolder folder;
    QImage logo(20, 10, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ASSERT_TRUE(logo.save(QString::fromStdString((folder.path() / "Logo.png").string())));
    EXPECT_EQ(picture((folder.path() / "logo.PNG").string()).size(), QSize(20, 10));
}

}  // namespace
}  // namespace forms_qt
