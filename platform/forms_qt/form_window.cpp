#include "platform/forms_qt/form_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/menu_bar.h"
#include "platform/forms_qt/window_binding.h"

namespace forms_qt {

namespace {

Qt::WindowFlags flagsFor(const forms::Form& form) {
    const Qt::WindowFlags frame = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (form.isModal()) return Qt::Dialog | frame;
    return Qt::Window | frame | Qt::WindowMinMaxButtonsHint;
}

}  // namespace

FormWindow::FormWindow(forms::Form& form) : QWidget(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    menuBar_->hide();
    content_ = new FormView(form, this);
    column->setMenuBar(menuBar_);
    column->addWidget(content_, 1);
    menus_ = new MenuBar(*content_, *menuBar_);
    content_->onMenusChanged = [this] { menus_->rebuildSoon(); };
    menus_->rebuild();
    binding_ = new WindowBinding(form, *this, flagsFor(form), [this] {
        const QSize controls = content_->contentSize();
        return QSize(controls.width(), controls.height() + (menuBar_->isHidden() ? 0 : menuBar_->sizeHint().height()));
    }, [this] { return isActiveWindow(); });
    if (form.isModal()) setWindowModality(Qt::ApplicationModal);
}

void FormWindow::present() { binding_->present(true); }

void FormWindow::bringToFront() {
    raise();
    activateWindow();
}

void FormWindow::detach(bool formAlive) {
    content_->detach(formAlive);
    binding_->detach(formAlive);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (binding_) binding_->closeRequested(*event);
    else event->ignore();
}

void FormWindow::changeEvent(QEvent* event) {
    if (binding_ && event->type() == QEvent::ActivationChange && isActiveWindow()) binding_->activated();
    if (binding_ && event->type() == QEvent::WindowStateChange) binding_->stateChangedByUser();
    QWidget::changeEvent(event);
}

void FormWindow::moveEvent(QMoveEvent* event) {
    if (binding_) binding_->movedOrResized();
    QWidget::moveEvent(event);
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    if (binding_) binding_->movedOrResized();
    QWidget::resizeEvent(event);
}

}  // namespace forms_qt
