#pragma once
// A combo box. Style 0 (drop-down combo) has an editable text; style 2
// (drop-down list) only takes texts of its list. Picking an item (user or
// ListIndex) sets the text and raises Click; Change is raised when the text is
// typed or written by the program. Either way a bound combo's changed flag is set.
#include <string>
#include <vector>

#include "platform/forms/controls/text_control.h"

namespace forms {

constexpr int vbComboDropdown = 0;
constexpr int vbComboSimple = 1;
constexpr int vbComboDropdownList = 2;

class ComboBox : public TextControl {
public:
    ComboBox(Form& form, std::string name, int index = -1)
        : ComboBox(form, ControlKind::ComboBox, std::move(name), index) {}

    // The program's write. A drop-down list takes only a text of its list (it
    // selects that item) or the empty text (no item); error 383 otherwise.
    void setText(std::string text) override;

    int style() const { return style_; }
    void setStyle(int style);

    void addItem(std::string item, int at = -1);
    void removeItem(int at);
    void clear();  // empties the list (and the text of a drop-down list)
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& list(int at) const;
    const std::vector<std::string>& items() const { return items_; }

    // -1: no item selected. Setting it selects the item (text, Click).
    int listIndex() const { return listIndex_; }
    void setListIndex(int at);

protected:
    ComboBox(Form& form, ControlKind kind, std::string name, int index);
    void afterTextChange() override;
    // Whether picking an item raises Change too (the data-bound combo does).
    virtual bool changeOnPick() const { return false; }
    void replaceItems(std::vector<std::string> items);
    int find(const std::string& text) const;

private:
    int style_ = vbComboDropdown;
    std::vector<std::string> items_;
    int listIndex_ = -1;
    bool picking_ = false;
};

}  // namespace forms
