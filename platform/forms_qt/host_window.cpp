#include "platform/forms_qt/host_window.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include "platform/win/window_surfaces.h"

namespace forms_qt {
namespace {

constexpr const char* kHostWindowName = "forms_qt_host_window";

win::ConstWindowPixels pixelsOf(const QImage& image) {
    return {image.constBits(), static_cast<size_t>(image.sizeInBytes()), image.width(), image.height(),
            static_cast<uint32_t>(image.bytesPerLine())};
}

win::WindowPixels pixelsOf(QImage& image) {
    return {image.bits(), static_cast<size_t>(image.sizeInBytes()), image.width(), image.height(),
            static_cast<uint32_t>(image.bytesPerLine())};
}

// The layer above the widget's own painting that shows what was drawn into
// the window. It lets the mouse through and is registered as the window: it
// goes with the widget (its parent) and unregisters then.
class DrawnLayer : public QWidget {
public:
    explicit DrawnLayer(QWidget& window) : QWidget(&window), window_(&window) {
        setObjectName(kHostWindowName);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(window.rect());
        window.installEventFilter(this);
        win::WindowSurface surface;
        surface.clientSize = [this] {
            return window_ ? win::WindowSize{window_->width(), window_->height()} : win::WindowSize{};
        };
        surface.readPixels = [this](const win::WindowPixels& into) { return read(into); };
        surface.writePixels = [this](const win::ConstWindowPixels& from, const win::PixelRect& part) {
            write(from, part);
        };
        handle_ = win::RegisterHostWindow(std::move(surface));
        show();
    }
    ~DrawnLayer() override { win::UnregisterHostWindow(handle_); }

    uint32_t handle() const { return static_cast<uint32_t>(handle_); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Resize) {
            setGeometry(window_->rect());
            drawn_ = QImage();
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        if (drawn_.isNull()) return;
        QPainter painter(this);
        painter.drawImage(0, 0, drawn_);
    }

private:
    bool onOwnThread() const { return QThread::currentThread() == thread(); }

    // What the window shows now, its layer included. Widgets are only
    // painted on their own thread: from another the window cannot be read.
    bool read(const win::WindowPixels& into) {
        if (!window_ || !onOwnThread()) return false;
        const QImage shown = window_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return win::CopyPixelRect(pixelsOf(shown), into, win::PixelRect{0, 0, into.width, into.height});
    }

    void write(const win::ConstWindowPixels& from, const win::PixelRect& part) {
        if (!onOwnThread()) {
            // The drawing's pixels are gone once this returns: the part travels as a copy.
            QImage copy(from.width, from.height, QImage::Format_ARGB32);
            copy.fill(Qt::transparent);
            if (copy.isNull() || !win::CopyPixelRect(from, pixelsOf(copy), part)) return;
            QMetaObject::invokeMethod(this, [this, copy, part] { write(pixelsOf(copy), part); }, Qt::QueuedConnection);
            return;
        }
        if (!window_) return;
        if (drawn_.size() != window_->size()) {
            drawn_ = QImage(window_->size(), QImage::Format_ARGB32);
            drawn_.fill(Qt::transparent);
        }
        // Drawn pixels arrive opaque; the layer stays clear where nothing was drawn.
        if (!win::CopyDrawnPixels(from, pixelsOf(drawn_), part)) return;
        raise();
        update(QRect(part.left, part.top, part.width, part.height) & drawn_.rect());
    }

    QPointer<QWidget> window_;
    QImage drawn_;
    win::HWND handle_{};
};

}  // namespace

uint32_t WindowHandleOf(QWidget& widget) {
    // Only this file names its layers so: the name tells the class.
    auto* found = widget.findChild<QWidget*>(kHostWindowName, Qt::FindDirectChildrenOnly);
    auto* layer = found != nullptr ? static_cast<DrawnLayer*>(found) : new DrawnLayer(widget);
    return layer->handle();
}

}  // namespace forms_qt
