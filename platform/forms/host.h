#pragma once
// The front end that shows forms: the Qt renderer in the program, the
// scripted host in tests. The runtime calls it; it never calls back into a
// form except through the user-input API (user_input.h).
namespace forms {

class Form;

class Host {
public:
    virtual ~Host() = default;

    virtual void formLoaded(Form&) {}
    virtual void formShown(Form&) {}
    virtual void formHidden(Form&) {}
    virtual void formUnloaded(Form&) {}
    // A loaded form object is being destroyed (its controls are gone already):
    // drop whatever shows it, without reading the form.
    virtual void formDestroyed(Form&) {}
    // The form became the active one: bring its window to the front.
    virtual void formActivated(Form&) {}
    // Runs a modal loop for the form and returns once the form is hidden or
    // unloaded. The form is loaded, visible and active when this is called.
    virtual void runModal(Form& form) = 0;
    // The last loaded form was unloaded: the program ends.
    virtual void lastFormUnloaded() {}
};

}  // namespace forms
