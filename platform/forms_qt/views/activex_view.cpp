#include "platform/forms_qt/views/activex_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWheelEvent>
#include <map>

#include "platform/forms/keys.h"
#include "platform/forms/user_input.h"
#include "platform/forms_qt/colours.h"
#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/key_codes.h"
#include "platform/forms_qt/mouse_pointers.h"

namespace forms_qt {

namespace {

int buttonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return com::kControlButtonLeft;
        case Qt::RightButton: return com::kControlButtonRight;
        case Qt::MiddleButton: return com::kControlButtonMiddle;
        default: return 0;
    }
}

int buttonsHeld(Qt::MouseButtons buttons) {
    int held = 0;
    if (buttons & Qt::LeftButton) held |= com::kControlButtonLeft;
    if (buttons & Qt::RightButton) held |= com::kControlButtonRight;
    if (buttons & Qt::MiddleButton) held |= com::kControlButtonMiddle;
    return held;
}

// The character a key types, as one UTF-16 unit; 0 for none (or one beyond a unit).
char16_t typedCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    return text.size() == 1 ? text.at(0).unicode() : 0;
}

// The local files of a drag; empty when it carries anything else.
std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

// The object's context menu as a QMenu, sub-menus under the entries that open them.
void buildMenu(QMenu& root, const std::vector<forms::PopupMenuEntry>& entries) {
    std::map<int, QMenu*> subMenus;
    const auto menuFor = [&](int parent) -> QMenu* {
        if (parent < 0) return &root;
        const auto it = subMenus.find(parent);
        return it == subMenus.end() ? nullptr : it->second;
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        const forms::PopupMenuEntry& e = entries[i];
        QMenu* into = menuFor(e.parent);
        if (!into || e.hidden) continue;
        if (e.separator) {
            into->addSeparator();
            continue;
        }
        bool opensSubMenu = false;
        for (const forms::PopupMenuEntry& other : entries) opensSubMenu = opensSubMenu || other.parent == static_cast<int>(i);
        const QString caption = QString::fromStdString(e.caption);
        if (opensSubMenu) {
            QMenu* sub = into->addMenu(caption);
            sub->setEnabled(!e.disabled);
            subMenus[static_cast<int>(i)] = sub;
            continue;
        }
        QAction* action = into->addAction(caption);
        action->setData(e.command);
        action->setEnabled(!e.disabled);
        action->setCheckable(e.checked);
        action->setChecked(e.checked);
    }
}

}  // namespace

// The face: paints the back buffer and takes the user's input over it.
class FaceWidget : public QWidget {
public:
    FaceWidget(ActiveXView& view, QWidget* parent) : QWidget(parent), view_(view) {
        setMouseTracking(true);  // moves without a button reach the object too
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!view_.attached() || !view_.control_.hasFace()) return;
        QPainter painter(this);
        com::ControlBackBuffer buffer;
        QRect shown;
        if (view_.control_.backBuffer(buffer)) {
            // The buffer's own memory, not a copy: it stays valid until the object's next resize.
            const QImage image(reinterpret_cast<const uchar*>(buffer.pixels), buffer.width, buffer.height,
                               buffer.stride, QImage::Format_RGB32);
            shown = QRect(0, 0, buffer.width, buffer.height);
            for (const QRect& part : event->region()) {
                const QRect from = part & shown;
                if (!from.isEmpty()) painter.drawImage(from.topLeft(), image, from);
            }
        }
        const QRegion uncovered = event->region() - QRegion(shown);
        for (const QRect& part : uncovered) painter.fillRect(part, palette().window());
    }
    void resizeEvent(QResizeEvent*) override {
        if (view_.attached()) view_.control_.resizeFace(width(), height());
    }
    void mousePressEvent(QMouseEvent* event) override {
        mouse(forms::user::MouseAction::Down, buttonOf(event->button()), *event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        mouse(forms::user::MouseAction::DoubleClick, buttonOf(event->button()), *event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        mouse(forms::user::MouseAction::Move, buttonsHeld(event->buttons()), *event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        mouse(forms::user::MouseAction::Up, buttonOf(event->button()), *event);
    }
    void wheelEvent(QWheelEvent* event) override {
        const int delta = event->angleDelta().y();
        if (delta == 0 || !view_.attached()) return;
        const QPoint at = event->position().toPoint();
        const int shift = vbShiftState(event->modifiers());
        view_.userAction([&] { forms::user::wheelOnFace(view_.control_, delta, shift, at.x(), at.y()); });
        event->accept();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        const int code = vbKeyCode(event->key());
        if (code == 0 || event->isAutoRepeat() || !view_.attached()) return;
        const int shift = vbShiftState(event->modifiers());
        view_.userAction([&] { forms::user::keyUpOnFace(view_.control_, code, shift); });
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (view_.attached() && view_.control_.acceptsFiles() && !localFiles(event->mimeData()).empty())
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        const std::vector<std::string> paths = localFiles(event->mimeData());
        if (paths.empty() || !view_.attached()) return;
        const QPoint at = event->position().toPoint();
        view_.userAction([&] { forms::user::dropFilesOnFace(view_.control_, paths, at.x(), at.y()); });
        event->acceptProposedAction();
    }

private:
    void mouse(forms::user::MouseAction action, int button, const QMouseEvent& event) {
        if (!view_.attached()) return;
        const QPoint at = event.position().toPoint();
        const int shift = vbShiftState(event.modifiers());
        view_.userAction([&] { forms::user::mouseOnFace(view_.control_, action, button, shift, at.x(), at.y()); });
    }

    ActiveXView& view_;
};

ActiveXView::ActiveXView(forms::ActiveXControl& control, FormView& owner)
    : ControlView(control, owner), control_(control), face_(new FaceWidget(*this, &owner)) {
    setWidget(face_);
    routeKeysAndFocus(face_);
    // The control may outlive this view (a form shown again gets a new one): the
    // menu asks for the widget, not the view, and is dismissed once it is gone.
    control_.showPopupMenu = [face = QPointer<QWidget>(face_)](const std::vector<forms::PopupMenuEntry>& entries,
                                                                int x, int y) {
        if (!face) return 0;
        QMenu menu;  // no parent: a handler that runs while it is open may close the form
        buildMenu(menu, entries);
        const QAction* chosen = menu.exec(face->mapToGlobal(QPoint(x, y)));
        return chosen ? chosen->data().toInt() : 0;
    };
    // What lies behind the face: the parent as it paints itself, without its
    // child widgets (so without this face), for an object drawn see-through.
    control_.grabBackdrop = [face = QPointer<QWidget>(face_)](const com::ControlBackBuffer& buffer) {
        if (!face || !face->parentWidget()) return false;
        QImage image(reinterpret_cast<uchar*>(buffer.pixels), buffer.width, buffer.height, buffer.stride,
                     QImage::Format_ARGB32);
        image.fill(face->parentWidget()->palette().color(face->parentWidget()->backgroundRole()));
        const QRect behind(face->pos(), QSize(buffer.width, buffer.height));
        face->parentWidget()->render(&image, QPoint(), QRegion(behind), QWidget::DrawWindowBackground);
        return true;
    };
    showFace();
    showPointer();
    face_->setAcceptDrops(control_.acceptsFiles());
}

// The control may be gone already: only the widget is touched.
void ActiveXView::detached() { face_->releaseMouse(); }

void ActiveXView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Face: showFace(); break;
        case forms::Property::MousePointer: showPointer(); break;
        case forms::Property::Capture: showCapture(); break;
        case forms::Property::AcceptFiles: face_->setAcceptDrops(control_.acceptsFiles()); break;
        default: ControlView::changed(p);
    }
}

void ActiveXView::showFace() {
    // Without a face the widget is not there for the user: the form shows through and takes the clicks.
    face_->setFocusPolicy(control_.hasFace() ? Qt::StrongFocus : Qt::NoFocus);
    face_->setAttribute(Qt::WA_OpaquePaintEvent, control_.hasFace());
    face_->setAttribute(Qt::WA_TransparentForMouseEvents, !control_.hasFace());
    if (!control_.hasFace()) {
        control_.takeInvalidated();
        face_->update();
        return;
    }
    for (const com::ControlRect& r : control_.takeInvalidated())
        face_->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void ActiveXView::showPointer() {
    const forms::FacePointer& pointer = control_.mousePointer();
    if (pointer.pointer == com::kControlCursorCustom && !pointer.pixels.empty()) {
        const QImage image(reinterpret_cast<const uchar*>(pointer.pixels.data()), pointer.width, pointer.height,
                           pointer.width * 4, QImage::Format_ARGB32_Premultiplied);
        face_->setCursor(QCursor(QPixmap::fromImage(image.copy()), pointer.hotSpotX, pointer.hotSpotY));
    } else if (pointer.pointer == 0) {
        face_->unsetCursor();
    } else {
        face_->setCursor(pointerShape(pointer.pointer));
    }
}

void ActiveXView::showCapture() {
    // While a button is down Qt already sends every move to the widget pressed.
    if (control_.captured() && face_->isVisible()) face_->grabMouse();
    else face_->releaseMouse();
}

bool ActiveXView::keyPressed(QKeyEvent& event) {
    const int code = vbKeyCode(event.key());
    const char16_t character = typedCharacter(event);
    if (code == 0 && character == 0) return false;
    const int shift = vbShiftState(event.modifiers());
    if (shift & forms::vbAltMask) return false;  // mnemonics and the menu bar stay with Qt
    userAction([&] { forms::user::keyDownOnFace(control_, code, shift, character); });
    return true;
}

}  // namespace forms_qt
