#include "platform/forms_qt/views/tab_view.h"

#include <QSignalBlocker>
#include <QTabWidget>

#include "platform/forms/user_input.h"
#include "platform/forms_qt/form_view.h"

namespace forms_qt {

TabView::TabView(forms::TabControl& tabs, FormView& owner)
    : ControlView(tabs, owner), tabs_(tabs), strip_(new QTabWidget(&owner)) {
    strip_->setFocusPolicy(Qt::ClickFocus);
    setWidget(strip_);
    routeKeysAndFocus(strip_);
    QObject::connect(strip_, &QTabWidget::currentChanged, this,
                     [this](int tab) { userAction([this, tab] { forms::user::selectTab(tabs_, tab); }); });
}

QWidget* TabView::childArea() const { return strip_; }

bool TabView::showsPage(int page) const { return page == tabs_.tab(); }

void TabView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Tabs: showTabs(); break;
        case forms::Property::CurrentTab:
            showRuntimeState();
            owner().pageSwitched(*this);
            break;
        default: ControlView::changed(p);
    }
}

void TabView::showTabs() {
    const QSignalBlocker quiet(strip_);
    while (strip_->count() > tabs_.tabs()) delete strip_->widget(strip_->count() - 1);
    while (strip_->count() < tabs_.tabs()) strip_->addTab(new QWidget(), QString());
    for (int tab = 0; tab < tabs_.tabs(); ++tab) {
        strip_->setTabText(tab, QString::fromStdString(tabs_.tabCaption(tab)));
        strip_->setTabEnabled(tab, tabs_.tabEnabled(tab));
    }
    showRuntimeState();
}

void TabView::showRuntimeState() {
    const QSignalBlocker quiet(strip_);
    strip_->setCurrentIndex(tabs_.tab());
}

}  // namespace forms_qt
