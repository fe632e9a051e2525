#include "platform/forms_qt/form_window.h"

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

FormWindow::FormWindow(forms::Form& form) {
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

}  // namespace forms_qt
