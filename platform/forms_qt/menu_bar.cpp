#include "platform/forms_qt/menu_bar.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>

#include "platform/forms/controls/menu_item.h"
#include "platform/forms/user_input.h"
#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/user_action.h"

namespace forms_qt {

MenuBar::MenuBar(FormView& view, QMenuBar& bar) : QObject(&bar), view_(view), bar_(bar) {}

void MenuBar::rebuildSoon() {
    if (rebuildPending_) return;
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] { rebuild(); });
}

std::vector<forms::MenuItem*> MenuBar::itemsIn(const forms::Control* parent) const {
    std::vector<forms::MenuItem*> items;
    for (forms::Control* c : view_.form().controls())
        if (c->kind() == forms::ControlKind::Menu && c->container() == parent && c->visible())
            items.push_back(static_cast<forms::MenuItem*>(c));
    return items;
}

void MenuBar::rebuild() {
    rebuildPending_ = false;
    bar_.clear();
    if (!view_.attached()) return;
    const auto menus = itemsIn(nullptr);
    for (forms::MenuItem* menu : menus) {
        const QString caption = QString::fromStdString(menu->caption());
        if (itemsIn(menu).empty()) {
            QAction* action = bar_.addAction(caption);
            action->setEnabled(menu->enabled());
            QObject::connect(action, &QAction::triggered, this, [this, menu] { clicked(menu); });
            continue;
        }
        QMenu* drop = bar_.addMenu(caption);
        drop->setEnabled(menu->enabled());
        fill(*drop, *menu);
    }
    bar_.setVisible(!menus.empty());
}

void MenuBar::fill(QMenu& menu, const forms::MenuItem& parent) {
    for (forms::MenuItem* item : itemsIn(&parent)) addItem(menu, *item);
}

void MenuBar::addItem(QMenu& menu, forms::MenuItem& item) {
    if (item.isSeparator()) {
        menu.addSeparator();
        return;
    }
    const QString caption = QString::fromStdString(item.caption());
    if (!itemsIn(&item).empty()) {
        QMenu* sub = menu.addMenu(caption);
        sub->setEnabled(item.enabled());
        fill(*sub, item);
        return;
    }
    QAction* action = menu.addAction(caption);
    action->setEnabled(item.enabled());
    action->setCheckable(item.checked());
    action->setChecked(item.checked());
    forms::MenuItem* target = &item;
    QObject::connect(action, &QAction::triggered, this, [this, target] { clicked(target); });
}

// The click runs once the menu has closed: its handler may open windows or change the menus.
void MenuBar::clicked(forms::MenuItem* item) {
    actLater(this, [this, item] {
        if (!view_.attached()) return;
        const auto& controls = view_.form().controls();
        if (std::find(controls.begin(), controls.end(), item) == controls.end()) return;
        forms::user::click(*item);
        if (view_.attached()) view_.syncFocus();
    });
}

}  // namespace forms_qt
