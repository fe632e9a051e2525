#pragma once
// A menu item has no widget of its own: any change of it has the window build
// its menu bar again (menu_bar.h).
#include "platform/forms/controls/menu_item.h"
#include "platform/forms_qt/control_view.h"

namespace forms_qt {

class MenuItemView : public ControlView {
public:
    MenuItemView(forms::MenuItem& item, FormView& owner) : ControlView(item, owner) {}

protected:
    void changed(forms::Property p) override;
};

}  // namespace forms_qt
