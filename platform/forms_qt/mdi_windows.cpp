#include "platform/forms_qt/mdi_windows.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/menu_bar.h"
#include "platform/forms_qt/twips.h"
#include "platform/forms_qt/window_binding.h"

namespace forms_qt {

namespace {

constexpr Qt::WindowFlags kFrameFlags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowMinMaxButtonsHint;

}  // namespace

MdiFrameWindow::MdiFrameWindow(forms::MdiForm& frame) {
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    setMenuBar(bar);
    content_ = new FormView(frame, this);
    setCentralWidget(content_);
    area_ = new QMdiArea(content_);
    area_->lower();
    content_->installEventFilter(this);
    content_->onLayoutChanged = [this] { layOutChildArea(); };
    menus_ = new MenuBar(*content_, *bar);
    content_->onMenusChanged = [this] { menus_->rebuildSoon(); };
    menus_->rebuild();
    QObject::connect(area_, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* sub) {
        if (auto* child = dynamic_cast<MdiChildWindow*>(sub)) child->activatedByArea();
    });
    binding_ = new WindowBinding(frame, *this, Qt::Window | kFrameFlags, [this] {
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 800);
        return screen.size() * 3 / 4;
    }, [this] { return isActiveWindow(); });
    layOutChildArea();
}

void MdiFrameWindow::present() { binding_->present(true); }

void MdiFrameWindow::bringToFront() {
    raise();
    activateWindow();
}

void MdiFrameWindow::detach(bool formAlive) {
    BoundFormWindow::detach(formAlive);
    for (QMdiSubWindow* sub : area_->subWindowList())
        if (auto* child = dynamic_cast<MdiChildWindow*>(sub)) child->detach(formAlive);
}

void MdiFrameWindow::layOutChildArea() {
    int top = 0;
    int left = 0;
    if (content_->attached()) {
        for (forms::Control* control : content_->form().controls()) {
            QWidget* widget = content_->widgetOf(*control);
            if (control->container() || !widget || !control->visible()) continue;
            const QRect band = widget->geometry();
            // An aligned band spans the frame's inside along its edge, however large the window is.
            const forms::Geometry g = control->geometry();
            if (band.top() <= 0 && band.width() >= band.height()) {
                top = std::max(top, band.bottom() + 1);
                if (g.width != toTwips(content_->width())) control->move(g.left, g.top, toTwips(content_->width()), g.height);
            } else if (band.left() <= 0) {
                left = std::max(left, band.right() + 1);
                const int height = toTwips(std::max(0, content_->height() - band.top()));
                if (g.height != height) control->move(g.left, g.top, g.width, height);
            }
        }
    }
    area_->setGeometry(left, top, std::max(0, content_->width() - left), std::max(0, content_->height() - top));
}

bool MdiFrameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::Resize) layOutChildArea();
    return QMainWindow::eventFilter(watched, event);
}

MdiChildWindow::MdiChildWindow(forms::Form& child, MdiFrameWindow& frame) : frame_(frame) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    content_ = new FormView(child, this);
    setWidget(content_);
    frame.childArea().addSubWindow(this);
    binding_ = new WindowBinding(child, *this, Qt::SubWindow | kFrameFlags, [this] {
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        return content_->contentSize() + QSize(2 * border, title + 2 * border);
    }, [this] { return frame_.childArea().activeSubWindow() == this; });
}

void MdiChildWindow::present() { binding_->present(false); }

void MdiChildWindow::bringToFront() {
    frame_.childArea().setActiveSubWindow(this);
    if (!frame_.isActiveWindow()) frame_.bringToFront();
}

void MdiChildWindow::activatedByArea() { binding_->activated(); }

}  // namespace forms_qt
