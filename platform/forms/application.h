#pragma once
// The process-wide state of the windows: which forms are loaded, which one is
// active, the stack of modal forms, and the host that shows them. One per
// process (`forms::app()`), on the user-interface thread.
//
// The active form is the one that takes the keyboard: a top-level form or,
// when an MDI frame is active, its active child (the frame counts as active
// with it). While a modal form is open only it (and modal forms above it)
// takes input; forms below it are blocked.
#include <vector>

namespace forms {

class Form;
class Host;

class Application {
public:
    Form* activeForm() const { return active_; }
    const std::vector<Form*>& loadedForms() const { return loaded_; }
    const std::vector<Form*>& modalStack() const { return modal_; }
    // Whether the user can work the form now: loaded, visible, enabled, not
    // below a modal form (nor its MDI frame).
    bool acceptsInput(const Form& form) const;

    // The host; an application without one refuses to show a form modally.
    Host* host() const { return host_; }
    void setHost(Host* host) { host_ = host; }

    // Runtime internals, used by Form.
    void formLoaded(Form& form);
    void formUnloaded(Form& form);
    void formHidden(Form& form);
    void activate(Form* form);  // Deactivate for the forms leaving, Activate for those entering
    void pushModal(Form& form);
    void popModal(Form& form);
    // Forgets a form that is destroyed while loaded, raising nothing.
    void forget(Form& form);

private:
    Form* pickNextActive() const;
    void enter(Form* form, const std::vector<Form*>& leftChain);
    std::vector<Form*> loaded_;
    std::vector<Form*> history_;  // most recently active first
    std::vector<Form*> modal_;
    Form* active_ = nullptr;
    Host* host_ = nullptr;
};

Application& app();

}  // namespace forms
