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
    int textWidthNeeded() const override;
    QString fittedText() const override;

public:
    QStringList cutTexts() const override;

private:
    // Whether the box is tall enough for more than one line: its caption wraps in it.
    bool wraps() const;

private:
    forms::Label& label_;
    QLabel* text_;
};

}  // namespace forms_qt
