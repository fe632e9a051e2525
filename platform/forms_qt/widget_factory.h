#pragma once
// One view per kind of control (views/*.h).
namespace forms {
class Control;
}

namespace forms_qt {

class ControlView;
class FormView;

// The view for the control, its widget created inside the form view (owned by it).
ControlView* makeView(forms::Control& control, FormView& owner);

}  // namespace forms_qt
