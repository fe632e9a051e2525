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

namespace {

void put16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}
void put32(QByteArray& out, int v) {
    put16(out, v & 0xFFFF);
    put16(out, (v >> 16) & 0xFFFF);
}

}  // namespace

QByteArray cursorFileBytes(int hotX, int hotY, int type) {
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
