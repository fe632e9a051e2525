#pragma once
// Combo boxes and data-bound combos: a drop-down list takes picks only; the
// other styles have an editable field typed into through the runtime.
// Picking an item (mouse or arrow keys) is the runtime's item pick; a locked
// combo does not open its list.
#include <memory>

#include "platform/forms/controls/combo_box.h"
#include "platform/forms_qt/control_view.h"
#include "platform/forms_qt/text_surface.h"

class QComboBox;

namespace forms_qt {

class ComboView : public ControlView {
public:
    ComboView(forms::ComboBox& combo, FormView& owner);

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;
    bool keyPressed(QKeyEvent& event) override;
    int textWidthNeeded() const override;
    QString fittedText() const override;

private:
    void showStyle();
    void showList();

    forms::ComboBox& combo_;
    QComboBox* box_;
    std::unique_ptr<TextSurface> surface_;  // the field of an editable combo
};

}  // namespace forms_qt
