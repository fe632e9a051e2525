#pragma once
// What changed on a control or form, for the observers a front end attaches.
#include <functional>
#include <utility>
#include <vector>

namespace forms {

enum class Property {
    Caption,
    Text,
    Enabled,
    Visible,
    Locked,
    BackColor,
    ForeColor,
    Font,
    ToolTip,
    MaxLength,
    PasswordChar,
    Geometry,
    TabIndex,
    Default,
    Cancel,
    Container,
    Value,       // check box, option button, calendar
    List,        // combo items
    ListIndex,
    Style,
    Picture,
    Tabs,        // tab captions, count, enabled tabs
    CurrentTab,
    Columns,     // grid columns and their settings
    Rows,        // the rows a grid or data control holds
    CurrentRow,  // the current row of a data control or grid
    Focus,       // the control got or lost the focus
    WindowState,
    CloseBox,    // the form's close box was enabled or disabled
    Controls,    // a control was added to or removed from a form
    Loaded,      // a form was loaded or unloaded
    Active,      // a form became active or stopped being active
    Face,          // an ActiveX control invalidated part of its face
    MousePointer,  // the pointer an ActiveX control asks for over its face
    Capture,       // an ActiveX control took or released the mouse
    AcceptFiles,   // an ActiveX control started or stopped taking dropped files
};

// Observers are told which property changed; they read the new value from the object.
class Observable {
public:
    using Observer = std::function<void(Property)>;
    Observable() = default;
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    int observe(Observer observer);
    void unobserve(int id);

protected:
    void notify(Property p) const;
    // Stores a new value and tells the observers; false when the value is the same.
    template <class T, class U>
    bool assign(T& member, U&& value, Property p) {
        if (member == value) return false;
        member = std::forward<U>(value);
        notify(p);
        return true;
    }

private:
    struct Entry {
        int id;
        Observer observer;
    };
    std::vector<Entry> observers_;
    int nextId_ = 1;
};

}  // namespace forms
