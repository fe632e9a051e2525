#pragma once
// A Data control: its caption between the four arrows that move its recordset.
#include "platform/forms/controls/data_control.h"
#include "platform/forms_qt/control_view.h"

class QLabel;

namespace forms_qt {

class DataView : public ControlView {
public:
    DataView(forms::DataControl& data, FormView& owner);

protected:
    void changed(forms::Property p) override;
    bool fillsBackground() const override { return true; }

private:
    forms::DataControl& data_;
    QLabel* caption_;
};

}  // namespace forms_qt
