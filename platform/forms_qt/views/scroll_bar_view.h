#pragma once
// A horizontal scroll bar. What the user does to the bar (arrows, track,
// thumb) reaches the runtime as a move to the new value; the bar shows the
// range, steps and value the runtime holds.
#include "platform/forms/controls/scroll_bar.h"
#include "platform/forms_qt/control_view.h"

class QScrollBar;

namespace forms_qt {

class ScrollBarView : public ControlView {
public:
    ScrollBarView(forms::ScrollBar& bar, FormView& owner);

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;

private:
    forms::ScrollBar& bar_;
    QScrollBar* widget_;
};

}  // namespace forms_qt
