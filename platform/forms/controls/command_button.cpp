#include "platform/forms/controls/command_button.h"

#include "platform/forms/form.h"

namespace forms {

namespace {
template <class Member>
void takeRole(CommandButton& self, Member member) {
    for (Control* c : self.form().controls())
        if (c != &self && c->kind() == ControlKind::CommandButton) (static_cast<CommandButton*>(c)->*member)(false);
}
}  // namespace

void CommandButton::setDefault(bool on) {
    if (on) takeRole(*this, &CommandButton::setDefault);
    if (on == default_) return;
    default_ = on;
    changed(Property::Default);
}

void CommandButton::setCancel(bool on) {
    if (on) takeRole(*this, &CommandButton::setCancel);
    if (on == cancel_) return;
    cancel_ = on;
    changed(Property::Cancel);
}

}  // namespace forms
