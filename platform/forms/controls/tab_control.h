#pragma once
// A tab control: numbered tabs with captions; each tab is a container
// (setContainer(tabControl, tab)); only the controls of the tab in front are
// effectively visible. Choosing a tab (user or program) raises Click with the
// tab that was in front before.
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/control.h"

namespace forms {

class TabControl : public Control {
public:
    TabControl(Form& form, std::string name, int index = -1, int tabs = 1);

    int tabs() const { return static_cast<int>(tabs_.size()); }
    void setTabs(int count);
    const std::string& tabCaption(int tab) const;
    void setTabCaption(int tab, std::string caption);
    bool tabEnabled(int tab) const;
    void setTabEnabled(int tab, bool on);

    int tab() const { return current_; }  // the tab in front
    void setTab(int tab);                 // error 380 for a tab that does not exist

    bool isContainer() const override { return true; }
    bool canTakeFocus() const override { return true; }

    std::function<void(int previousTab)> onTabClick;

private:
    struct Tab {
        std::string caption;
        bool enabled = true;
    };
    const Tab& at(int tab) const;
    std::vector<Tab> tabs_;
    int current_ = 0;
};

}  // namespace forms
