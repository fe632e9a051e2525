#pragma once
// The base of every control: a plain object owned by its form, with the
// properties the windows use and VB's events as std::function members.
//
// Geometry is in twips, the unit the windows are laid out in (15 twips make
// one pixel at 96 dpi). A control lies in a container: the form itself, or a
// frame, a picture box or one page of a tab control; a container that is
// disabled or hidden disables or hides everything in it ("effective" state),
// and a control on a tab page that is not in front is effectively hidden.
//
// Events are raised by the runtime only (the user-input API and the program's
// own property changes), always on the form's thread, in VB's order.
#include <functional>
#include <string>
#include <string_view>

#include "platform/forms/color.h"
#include "platform/forms/font.h"
#include "platform/forms/property.h"

namespace forms {

class Form;

enum class ControlKind {
    Label,
    TextBox,
    CommandButton,
    CheckBox,
    OptionButton,
    ComboBox,
    DataCombo,
    Frame,
    TabControl,
    Grid,
    Calendar,
    Image,
    PictureBox,
    Menu,
    Data,
    HScrollBar,
    ActiveX,
};

struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Geometry&) const = default;
};

class Control : public Observable, public FontProperties {
public:
    // Registers the control with its form, which lists its controls in creation order.
    Control(Form& form, ControlKind kind, std::string name, int index = -1);
    virtual ~Control();

    ControlKind kind() const { return kind_; }
    Form& form() const { return form_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1 when the control is not in a control array
    std::string displayName() const;     // "Textpcash(3)" or "cmdadd"

    // Containers: a Frame, a PictureBox, or page `tab` of a TabControl.
    Control* container() const { return container_; }
    int containerTab() const { return containerTab_; }
    void setContainer(Control& container, int tab = -1);
    virtual bool isContainer() const { return false; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    // Enabled/visible as the user meets it: the control and every container up to the form.
    bool effectiveEnabled() const;
    bool effectiveVisible() const;

    Color backColor() const { return backColor_; }
    void setBackColor(Color c);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string text);

    const Geometry& geometry() const { return geometry_; }
    int left() const { return geometry_.left; }
    int top() const { return geometry_.top; }
    int width() const { return geometry_.width; }
    int height() const { return geometry_.height; }
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void move(int left, int top, int width, int height);

    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int v);
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool on) { tabStop_ = on; }

    // Whether this kind of control can hold the focus at all (labels, frames,
    // images, menus and data controls cannot).
    virtual bool canTakeFocus() const { return false; }
    // Whether it can take the focus now: a focusable kind, effectively enabled
    // and visible, on a loaded and visible form.
    bool focusableNow() const;
    bool hasFocus() const;
    // The program's SetFocus: moves the focus here (LostFocus of the control
    // that had it, then GotFocus). Raises error 5 when the control cannot take
    // the focus now.
    void setFocus();

    // Events. A kind that never raises one of them ignores its handler.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    // KeyAscii: set it to 0 to discard the key, or change it.
    std::function<void(int& keyAscii)> onKeyPress;
    // KeyCode: set it to 0 to discard the key. Shift holds vbShiftMask etc.
    std::function<void(int& keyCode, int shift)> onKeyDown;

    // Raises an event handler if one is set. Used by the runtime.
    static void fire(const std::function<void()>& handler) {
        if (handler) handler();
    }

protected:
    void changed(Property p) const { notify(p); }
    void fontChanged() override { notify(Property::Font); }

private:
    friend class Form;
    Form& form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    Control* container_ = nullptr;
    int containerTab_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    Color backColor_ = vbButtonFace;
    Color foreColor_ = vbButtonText;
    std::string toolTip_;
    Geometry geometry_;
    int tabIndex_ = 0;
    bool tabStop_ = true;
};

}  // namespace forms
