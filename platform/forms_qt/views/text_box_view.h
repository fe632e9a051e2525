#pragma once
// A text box: a one-line field, or a multi-line one for a multi-line box.
// Typing goes to the runtime at the caret (text_surface.h); a locked box is
// read-only; a password character hides what is typed.
#include <memory>

#include "platform/forms/controls/text_box.h"
#include "platform/forms_qt/control_view.h"
#include "platform/forms_qt/text_surface.h"

namespace forms_qt {

class TextBoxView : public ControlView {
public:
    TextBoxView(forms::TextBox& box, FormView& owner);

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;
    bool keyPressed(QKeyEvent& event) override;

private:
    void showPasswordChar();
    void fieldEdited();

    forms::TextBox& box_;
    std::unique_ptr<TextSurface> surface_;
};

}  // namespace forms_qt
