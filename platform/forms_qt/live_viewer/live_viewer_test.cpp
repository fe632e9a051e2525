// The windows' host with the real viewer control, made from its class ID out
// of the registered library and called by dispatch ID only, as the program
// shows it: on a real display (a virtual X server), a screenshot of the form
// shows the page, and a click on the viewer's scroll bar shows another part of it.
//
// Usage: live_viewer_test SCREENSHOT-FOLDER (run by live_viewer_test.sh under xvfb-run).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <set>

#include "platform/com/bstr.h"
#include "platform/com/class_objects.h"
#include "platform/com/testing/private_registry.h"
#include "platform/com/variant.h"
#include "platform/forms/forms.h"
#include "platform/forms/test_ui.h"
#include "platform/forms_qt/live_viewer/screen_grab.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/qt_timers.h"
#include "platform/win/guid.h"

namespace {

QString shotFolder;

// The viewer's class and the members this host calls.
constexpr const char* kViewerClassId = "{F4D3F1FC-A6AB-41E3-8A76-0EEE16CE2BE4}";
constexpr com::DISPID kDisplayFromFile = 0x60030041;

constexpr QRgb kTopBand = 0xFFD02020;
constexpr QRgb kBottomBand = 0xFF2040D0;

// An A4 page at 150 dpi: a red band at the top, a blue one at the bottom and
// grey lines of "text" between, on white.
QImage makePage() {
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.fillRect(0, 0, 1240, 160, QColor::fromRgb(kTopBand));
    p.fillRect(0, 1594, 1240, 160, QColor::fromRgb(kBottomBand));
    for (int y = 220; y < 1560; y += 40) p.fillRect(100, y, 600 + (y % 400), 14, QColor(90, 90, 90));
    return page;
}

class ViewerForm : public forms::Form {
public:
    ViewerForm() : Form("frmliveviewer") {
        move(0, 0, 9000, 7500);
        viewer.move(120, 120, 8400, 6600);  // 560 x 440 pixels
    }
    forms::ActiveXControl viewer{*this, "MvViewer1"};
};

using forms_qt::testing::onScreen;

int countOf(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) | 0xFF000000) == colour;
    return n;
}

void waitAWhile() {
    // The viewer redraws at full quality after a pause, on a timer.
    QTest::qWait(400);
    QCoreApplication::processEvents();
}

TEST(LiveViewer, AFormShowsThePageAndItsScrollBarMovesIt) {
    com::testing::PrivateRegistry registry;
    ASSERT_EQ(com::CallServerRegistration(SCANVELT_LIBRARY_PATH, false), com::S_OK);
    win::testing::ScratchFolder folder;
    const std::string pagePath = folder.file("bill.png");
    ASSERT_TRUE(makePage().save(QString::fromStdString(pagePath)));

    forms::TestUi ui;
    forms::ScopedUi useUi(ui);
    forms_qt::ScopedQtTimers timers;
    forms_qt::QtHost host;
    ViewerForm form;
    ASSERT_EQ(form.viewer.create(*win::ParseGuid(kViewerClassId)), com::S_OK);
    ASSERT_TRUE(form.viewer.hasFace());
    ASSERT_NE(form.viewer.dispatch(), nullptr);

    com::Variant path(com::MakeBstrUtf8(pagePath));
    com::DISPPARAMS args{path.get(), nullptr, 1, 0};
    com::Variant result;
    ASSERT_EQ(form.viewer.dispatch()->Invoke(kDisplayFromFile, com::IID{}, 0, com::DISPATCH_METHOD, &args,
                                             result.get(), nullptr, nullptr),
              com::S_OK);

    form.show();
    QWidget* window = host.windowOf(form);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    waitAWhile();
    QWidget* face = host.widgetOf(form.viewer);
    ASSERT_NE(face, nullptr);
    ASSERT_EQ(face->size(), QSize(560, 440));

    const QImage first = onScreen(face);
    first.save(shotFolder + "/viewer_page_top.png");
    // At 100 % the middle of the page shows: white paper and lines of text, neither band.
    EXPECT_GT(countOf(first, 0xFFFFFFFF), 560 * 100);
    EXPECT_GT(countOf(first, 0xFF5A5A5A), 560 * 50);
    EXPECT_EQ(countOf(first, kTopBand), 0);
    EXPECT_EQ(countOf(first, kBottomBand), 0);

    // A click on the vertical scroll bar's track above its thumb shows a part
    // further up; clicks enough bring the top of the page with its red band.
    const QPoint aboveThumb(face->width() - 8, 30);
    QTest::mouseClick(face, Qt::LeftButton, Qt::NoModifier, aboveThumb);
    waitAWhile();
    const QImage second = onScreen(face);
    EXPECT_NE(first, second);
    QImage top = second;
    for (int click = 0; click < 40 && countOf(top, kTopBand) == 0; ++click) {
        QTest::mouseClick(face, Qt::LeftButton, Qt::NoModifier, aboveThumb);
        QTest::qWait(50);
        top = onScreen(face);
    }
    waitAWhile();
    top = onScreen(face);
    top.save(shotFolder + "/viewer_page_scrolled_to_top.png");
    EXPECT_GT(countOf(top, kTopBand), 500 * 20);  // whole rows of the band, not a stray pixel
    EXPECT_EQ(countOf(top, kBottomBand), 0);

    form.unload();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    shotFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QDir().mkpath(shotFolder);
    return RUN_ALL_TESTS();
}
