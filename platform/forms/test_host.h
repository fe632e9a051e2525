#pragma once
// The host of tests. A form shown modally runs the script registered for it
// (by the form's name): the script works the form through the user-input
// API, as a user would, and must leave it hidden or unloaded; otherwise
// runModal throws (UnscriptedModal). Scripts may open further modal forms,
// so nested modals work. Scripts queued with expectModal run once each, in
// order; a script set with onModal runs for every opening that has no queued
// one.
//
//   forms::TestHost host;                      // installs itself as the application's host
//   host.expectModal<Frmselectdate>([](Frmselectdate& f) {
//       forms::user::pickCalendarDate(f.Calendar1, someDate);
//   });
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace forms {

class UnscriptedModal : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class TestHost : public Host {
public:
    using Script = std::function<void(Form&)>;

    TestHost();   // becomes the application's host
    ~TestHost() override;  // puts the previous host back

    void expectModal(const std::string& formName, Script script);
    void onModal(const std::string& formName, Script script);
    // Typed: the script receives the form as its class
    // (`host.expectModal<frmAbout>("frmaboutpettycash", [](frmAbout& f) {...})`).
    template <class FormType>
    void expectModal(const std::string& formName, std::function<void(FormType&)> script) {
        expectModal(formName, typed<FormType>(std::move(script)));
    }
    size_t pendingScripts() const;

    // Names of the forms shown modally, in order.
    const std::vector<std::string>& modalsShown() const { return modalsShown_; }
    bool programEnded() const { return lastUnloaded_; }
    // Throws when queued scripts were never run.
    void verifyDone() const;

    void runModal(Form& form) override;
    void lastFormUnloaded() override { lastUnloaded_ = true; }

private:
    template <class FormType>
    static Script typed(std::function<void(FormType&)> script) {
        return [script = std::move(script)](Form& form) {
            auto* typedForm = dynamic_cast<FormType*>(&form);
            if (!typedForm) throw UnscriptedModal("modal form '" + form.name() + "' is not of the scripted class");
            script(*typedForm);
        };
    }

    std::map<std::string, std::deque<Script>> queued_;
    std::map<std::string, Script> standing_;
    std::vector<std::string> modalsShown_;
    bool lastUnloaded_ = false;
    Host* previous_ = nullptr;
};

}  // namespace forms
