#pragma once
// The base of every window. A form class owns its controls as members and
// names its handlers after the control and the event (`Form_Load`, `cmdupdate_Click`),
// wiring them in its constructor:
//
//   class frmAbout : public forms::Form {
//   public:
//       frmAbout() : Form("frmaboutpettycash") {
//           cmdOK.setDefault(true);
//           cmdOK.setCancel(true);
//           cmdOK.onClick = [this] { unload(); };
//       }
//       forms::CommandButton cmdOK{*this, "cmdOK"};
//   };
//
// Life cycle: load() runs Load once per load; show() makes the form visible
// and active (Activate); showModal() does the same and then runs the host's
// modal loop, returning once the form is hidden or unloaded; unload() asks
// QueryUnload then Unload (either may cancel), closes the form's Data
// controls and hides it. A form object can be loaded again after an unload,
// but keeps the property values it had: create a new object for each opening
// when the window must start from its design values. A form destroyed while
// loaded is forgotten without events, and the host is told (formDestroyed).
//
// Activation: the application has one active form (see application.h). A form
// that becomes active raises Activate; one that stops being active raises
// Deactivate. The first activation puts the focus on the first control in tab
// order that can take it (GotFocus). Moving between forms raises no control
// focus events; a form's own GotFocus/LostFocus are raised only for a form
// that holds no focusable control (a form with controls hands its focus on). The program's
// SetFocus on the control that already holds the focus raises GotFocus again
// when its form was deactivated in between (the focus comes back to it).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/control.h"
#include "platform/forms/font.h"
#include "platform/forms/property.h"

namespace forms {

class CommandButton;
class MdiForm;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// QueryUnload's UnloadMode.
constexpr int vbFormControlMenu = 0;  // the user closed the window (title bar, system menu)
constexpr int vbFormCode = 1;         // the program's Unload
constexpr int vbAppWindows = 2;
constexpr int vbAppTaskManager = 3;
constexpr int vbFormMDIForm = 4;      // a child unloads because its MDI frame does
constexpr int vbFormOwner = 5;

class Form : public Observable, public FontProperties {
public:
    explicit Form(std::string name);
    virtual ~Form();

    // The form's name as the program knows it ("frmpettycash"); test scripts find forms by it.
    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    const Geometry& geometry() const { return geometry_; }
    void move(int left, int top, int width, int height);
    int width() const { return geometry_.width; }
    int height() const { return geometry_.height; }
    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState state);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    // Whether the title bar's close box (and the system menu's Close) works.
    bool closeBoxEnabled() const { return closeBox_; }
    void setCloseBoxEnabled(bool on);

    // Every control in creation order, each with its container.
    const std::vector<Control*>& controls() const { return controls_; }
    Control* findControl(std::string_view name, int index = -1) const;

    bool isLoaded() const { return loaded_; }
    bool visible() const { return visible_; }
    bool isModal() const { return modal_; }
    void load();
    void show();
    void showModal();
    void hide();
    // Returns false when QueryUnload or Unload cancelled.
    bool unload(int unloadMode = vbFormCode);

    // MDI: a child shows inside its frame; showing it loads and shows the frame first.
    void setMdiParent(MdiForm& frame);
    MdiForm* mdiParent() const { return mdiParent_; }
    bool isMdiChild() const { return mdiParent_ != nullptr; }
    virtual bool isMdiForm() const { return false; }

    // Focus.
    Control* activeControl() const { return activeControl_; }
    CommandButton* defaultButton() const;
    CommandButton* cancelButton() const;
    // The next control in tab order after `from` that can take the focus now (wrapping).
    Control* nextInTabOrder(Control* from) const;

    // Events.
    std::function<void()> onLoad;
    std::function<void()> onActivate;
    std::function<void()> onDeactivate;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    std::function<void(int& cancel, int unloadMode)> onQueryUnload;
    std::function<void(int& cancel)> onUnload;

    // Runtime internals (the application, controls and the input API use them).
    void registerControl(Control& control);
    void unregisterControl(Control& control);
    // Moves the focus inside the form: LostFocus of the control that had it, then
    // GotFocus. Returns false when a LostFocus handler sent the focus elsewhere.
    bool moveFocus(Control* target);
    void activated();    // the application made this form active
    void deactivated();  // it stopped being active
    bool askQueryUnload(int unloadMode);
    bool runUnload();    // Unload event, Data controls, hidden; false when cancelled
    void setModal(bool on) { modal_ = on; }

protected:
    void fontChanged() override { notify(Property::Font); }

private:
    std::string name_;
    std::string caption_;
    Geometry geometry_;
    WindowState windowState_ = WindowState::Normal;
    bool enabled_ = true;
    bool closeBox_ = true;
    bool loaded_ = false;
    bool visible_ = false;
    bool modal_ = false;
    bool focusAway_ = false;  // the form was deactivated since its control got the focus
    MdiForm* mdiParent_ = nullptr;
    std::vector<Control*> controls_;
    Control* activeControl_ = nullptr;
    Control* focusTarget_ = nullptr;  // the control a focus move is heading for
};

// An MDI frame: holds its child forms; unloading it unloads them first.
class MdiForm : public Form {
public:
    using Form::Form;
    bool isMdiForm() const override { return true; }
    // Loaded children in the order they were shown.
    const std::vector<Form*>& children() const { return children_; }
    Form* activeChild() const { return activeChild_; }
    // Makes a child the active one and brings it to the front.
    void bringToFront(Form& child);

    // Runtime internals.
    void childShown(Form& child);
    void childActivated(Form& child) { activeChild_ = &child; }
    void childUnloaded(Form& child);

private:
    std::vector<Form*> children_;
    Form* activeChild_ = nullptr;
};

}  // namespace forms
