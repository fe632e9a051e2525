#pragma once
// An ActiveX control. An object with a face is shown from its back buffer:
// the widget copies to the screen only the parts the object invalidated,
// tells the object its size, and hands the mouse, the wheel, keys, focus and
// dropped files to the runtime (forms::user), which passes them on. The
// object's pointer, mouse capture and context menus are shown here too. An
// object without a face shows nothing.
#include "platform/forms/controls/activex_control.h"
#include "platform/forms_qt/control_view.h"

namespace forms_qt {

class FaceWidget;

class ActiveXView : public ControlView {
public:
    ActiveXView(forms::ActiveXControl& control, FormView& owner);

protected:
    void changed(forms::Property p) override;
    bool keyPressed(QKeyEvent& event) override;
    void detached() override;

private:
    friend class FaceWidget;
    void showFace();
    void showPointer();
    void showCapture();

    forms::ActiveXControl& control_;
    FaceWidget* face_;
};

}  // namespace forms_qt
