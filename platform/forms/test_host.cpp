#include "platform/forms/test_host.h"

#include "platform/forms/application.h"

namespace forms {

TestHost::TestHost() : previous_(app().host()) { app().setHost(this); }

TestHost::~TestHost() { app().setHost(previous_); }

void TestHost::expectModal(const std::string& formName, Script script) {
    queued_[formName].push_back(std::move(script));
}

void TestHost::onModal(const std::string& formName, Script script) { standing_[formName] = std::move(script); }

size_t TestHost::pendingScripts() const {
    size_t n = 0;
    for (const auto& [name, scripts] : queued_) n += scripts.size();
    return n;
}

void TestHost::runModal(Form& form) {
    modalsShown_.push_back(form.name());
    Script script;
    if (auto it = queued_.find(form.name()); it != queued_.end() && !it->second.empty()) {
        script = std::move(it->second.front());
        it->second.pop_front();
    } else if (auto standing = standing_.find(form.name()); standing != standing_.end()) {
        script = standing->second;
    } else {
        throw UnscriptedModal("no script for the modal form '" + form.name() + "'");
    }
    script(form);
    if (form.isLoaded() && form.visible())
        throw UnscriptedModal("the script of the modal form '" + form.name() + "' left it open");
}

void TestHost::verifyDone() const {
    std::string missing;
    for (const auto& [name, scripts] : queued_)
        if (!scripts.empty()) missing += " '" + name + "' (" + std::to_string(scripts.size()) + ")";
    if (!missing.empty()) throw std::logic_error("modal forms expected but never shown:" + missing);
}

}  // namespace forms
