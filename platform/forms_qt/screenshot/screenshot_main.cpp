// The screenshot test: shows the sample windows on a real display (a virtual
// X server under xvfb-run), opens the modal date dialog over the main window,
// saves a picture of the screen as a PNG and checks that it shows windows
// rather than an empty or one-coloured screen. Exit code 0 when it does.
//
//   platform_forms_qt_screenshot <picture.png>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <map>

#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/qt_ui.h"
#include "platform/forms_qt/screenshot/sample_forms.h"
#include "platform/forms_qt/user_action.h"

namespace {

// Why the picture does not look like windows on a screen; empty when it does.
std::string whatIsWrongWith(const QImage& picture) {
    if (picture.width() < 640 || picture.height() < 480) return "the picture is too small";
    std::map<QRgb, int> counts;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) ++counts[picture.pixel(x, y)];
    int samples = 0;
    int commonest = 0;
    for (const auto& [colour, count] : counts) {
        samples += count;
        commonest = std::max(commonest, count);
    }
    if (counts.size() < 32) return "the picture has only " + std::to_string(counts.size()) + " colours";
    if (commonest * 10 > samples * 8) return "one colour covers most of the picture";
    return {};
}

bool save(const QImage& picture, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);  // written under a temporary name, renamed into place when complete
    return file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <picture.png>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    const std::filesystem::path book = folder.filePath("business.mdb").toStdString();
    forms_qt::sample::createBook(book);

    forms_qt::QtUi ui("Ostrelle");
    forms::ScopedUi useUi(ui);
    forms_qt::QtHost host;
    forms_qt::sample::MainWindow main;
    forms_qt::sample::RegisterWindow registerWindow(main, book);
    forms_qt::sample::DateDialog dialog;
    std::string problem = "no picture was taken";

    host.run([&] {
        registerWindow.show();
        registerWindow.data.refresh();
        QTimer::singleShot(500, [&] {
            // The picture is taken while the modal dialog stands over the main window.
            QTimer::singleShot(800, [&] {
                const QImage picture = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
                problem = save(picture, path) ? whatIsWrongWith(QImage(path)) : "the picture could not be saved";
                dialog.unload();
            });
            forms_qt::act([&] {
                dialog.showModal();
                main.unload();  // the last form: the event loop ends
            });
        });
    });
    if (!problem.empty()) {
        std::fprintf(stderr, "screenshot: %s (%s)\n", problem.c_str(), argv[1]);
        return 1;
    }
    std::printf("screenshot: %s\n", argv[1]);
    return 0;
}
