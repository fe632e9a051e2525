#pragma once
// A window's menu bar, built from its form's menu items: items without a
// parent are the menus of the bar, the others lie in their parent item (a
// parent with items of its own opens a submenu), and an item captioned "-" is
// a separator line. Hidden items are left out, disabled ones greyed, checked
// ones ticked. Any change of an item builds the bar again, once the current
// event is done (an item's own click may change the menus).
#include <QObject>
#include <vector>

class QMenu;
class QMenuBar;

namespace forms {
class Control;
class MenuItem;
}  // namespace forms

namespace forms_qt {

class FormView;

class MenuBar : public QObject {
public:
    MenuBar(FormView& view, QMenuBar& bar);
    void rebuildSoon();
    void rebuild();

private:
    std::vector<forms::MenuItem*> itemsIn(const forms::Control* parent) const;
    void fill(QMenu& menu, const forms::MenuItem& parent);
    void addItem(QMenu& menu, forms::MenuItem& item);
    void clicked(forms::MenuItem* item);

    FormView& view_;
    QMenuBar& bar_;
    bool rebuildPending_ = false;
};

}  // namespace forms_qt
