#pragma once
// A tab control. The controls on its tabs lie on the tab control itself, at
// places measured from its corner (the tab strip included), and only those of
// the tab in front are shown (the stored layouts place them so). Choosing a tab is
// the runtime's tab choice.
#include "platform/forms/controls/tab_control.h"
#include "platform/forms_qt/control_view.h"

class QTabWidget;

namespace forms_qt {

class TabView : public ControlView {
public:
    TabView(forms::TabControl& tabs, FormView& owner);
    QWidget* childArea() const override;
    bool showsPage(int page) const override;

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;

private:
    void showTabs();
    forms::TabControl& tabs_;
    QTabWidget* strip_;
};

}  // namespace forms_qt
