#pragma once
#include "platform/forms/controls/image.h"
#include "platform/forms_qt/control_view.h"

class QLabel;

namespace forms_qt {

// An image or a picture box: its picture (pictures.h), stretched to the box
// when asked; a picture box also holds controls. Both take clicks.
class PictureView : public ControlView {
public:
    PictureView(forms::PictureHolder& holder, FormView& owner);
    QWidget* childArea() const override;

protected:
    void changed(forms::Property p) override;
    bool fillsBackground() const override;

private:
    void showPicture();
    forms::PictureHolder& holder_;
    QLabel* canvas_;
};

}  // namespace forms_qt
