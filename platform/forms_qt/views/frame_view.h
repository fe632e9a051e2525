#pragma once
#include "platform/forms/controls/frame.h"
#include "platform/forms_qt/control_view.h"

class QGroupBox;

namespace forms_qt {

// A frame: a captioned box that holds controls at places measured from its corner.
class FrameView : public ControlView {
public:
    FrameView(forms::Frame& frame, FormView& owner);
    QWidget* childArea() const override;

protected:
    void changed(forms::Property p) override;
    bool fillsBackground() const override { return true; }
    int textWidthNeeded() const override;
    QString fittedText() const override;

private:
    forms::Frame& frame_;
    QGroupBox* box_;
};

}  // namespace forms_qt
