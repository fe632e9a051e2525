#include "platform/forms/controls/option_button.h"

#include "platform/forms/form.h"

namespace forms {

void OptionButton::setValue(bool on) {
    if (!on) {
        if (!value_) return;
        value_ = false;
        changed(Property::Value);
        return;
    }
    if (value_) return;
    // One option per container: the others of the same container (and tab page) go off.
    for (Control* c : form().controls()) {
        if (c == this || c->kind() != ControlKind::OptionButton) continue;
        if (c->container() != container() || c->containerTab() != containerTab()) continue;
        static_cast<OptionButton*>(c)->setValue(false);
    }
    value_ = true;
    changed(Property::Value);
    fire(onClick);
}

}  // namespace forms
