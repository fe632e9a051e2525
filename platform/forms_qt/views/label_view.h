#pragma once
#include "platform/forms/controls/label.h"
#include "platform/forms_qt/control_view.h"

class QLabel;

namespace forms_qt {

// A label: its caption, wrapped inside its box; it takes clicks.
class LabelView : public ControlView {
public:
    LabelView(forms::Label& label, FormView& owner);

protected:
    void changed(forms::Property p) override;
    bool fillsBackground() const override { return true; }

private:
    forms::Label& label_;
    QLabel* text_;
};

}  // namespace forms_qt
