#pragma once
// Push buttons, check boxes and option buttons. A click goes to the runtime,
// which moves the focus, sets the value and raises Click in that order (the
// handlers read the value); the widget never toggles itself, it shows the value the runtime holds.
#include "platform/forms/controls/check_box.h"
#include "platform/forms/controls/command_button.h"
#include "platform/forms/controls/option_button.h"
#include "platform/forms_qt/control_view.h"

class QPushButton;
class QAbstractButton;

namespace forms_qt {

class CommandButtonView : public ControlView {
public:
    CommandButtonView(forms::CommandButton& button, FormView& owner);

protected:
    void changed(forms::Property p) override;
    int textWidthNeeded() const override;
    QString fittedText() const override;

private:
    void showCaptionAndPicture();
    forms::CommandButton& button_;
    QPushButton* push_;
};

// Check boxes and option buttons: a box the runtime ticks (on a click, and on
// the space bar as the runtime's key press).
class TickBoxView : public ControlView {
public:
    TickBoxView(forms::Control& control, FormView& owner, QAbstractButton* box);

protected:
    QAbstractButton* box() const { return box_; }
    int textWidthNeeded() const override;
    QString fittedText() const override;

private:
    QAbstractButton* box_;
};

class CheckBoxView : public TickBoxView {
public:
    CheckBoxView(forms::CheckBox& check, FormView& owner);

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;

private:
    forms::CheckBox& check_;
};

class OptionButtonView : public TickBoxView {
public:
    OptionButtonView(forms::OptionButton& option, FormView& owner);

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;

private:
    forms::OptionButton& option_;
};

}  // namespace forms_qt
