#include "platform/forms_qt/qt_test_support.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

namespace forms_qt::testing {

namespace {

QtMessageHandler standardHandler = nullptr;

// The offscreen platform cannot raise windows; that is no news to a test.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (standardHandler) standardHandler(type, context, message);
}

}  // namespace

QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "platform_forms_qt_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        standardHandler = qInstallMessageHandler(quietMessages);
        return new QApplication(argc, argv);  // lives as long as the test binary
    }();
    return *app;
}

void doubleClick(QWidget* widget, QPoint at) {
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace forms_qt::testing
