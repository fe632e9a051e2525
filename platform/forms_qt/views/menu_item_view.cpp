#include "platform/forms_qt/views/menu_item_view.h"

#include "platform/forms_qt/form_view.h"

namespace forms_qt {

void MenuItemView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Caption:
        case forms::Property::Enabled:
        case forms::Property::Visible:
        case forms::Property::Value:
        case forms::Property::Container: owner().menusChanged(); break;
        default: break;
    }
}

}  // namespace forms_qt
