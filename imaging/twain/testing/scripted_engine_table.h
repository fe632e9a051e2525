#pragma once
// For the tables of cases of members that ask the TWAIN engine: the control
// reaches the scripted engine of the tests (testdata/scripted_engine.h),
// whose answers each row sets.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "imaging/twain/testdata/scripted_engine.h"
#include "imaging/twain/testing/twain_tables.h"
#include "imaging/twain/twain_engine.h"
#include "platform/win/message_box.h"

namespace scanvelt::testing {

class ScriptedEngineTable : public TwainTable {
protected:
    ScriptedEngineTable() {
        win::SetMessageBoxHandler([](const win::MessageBoxRequest&) { return win::IDOK; });
        SetTwainEngineFile(SCRIPTED_ENGINE_PATH);
        library_ = dlopen(SCRIPTED_ENGINE_PATH, RTLD_NOW | RTLD_LOCAL);
        set_ = library_ ? reinterpret_cast<ScriptedEngineSetFunction>(dlsym(library_, "ScriptedEngine_Set")) : nullptr;
    }
    ~ScriptedEngineTable() override {
        SetTwainEngineFile("");
        win::SetMessageBoxHandler(nullptr);
        if (library_) dlclose(library_);
    }
    // The engine answers by `script` from now on.
    void play(const ScriptedEngineScript& script) {
        ASSERT_NE(set_, nullptr) << dlerror();
        set_(&script, &record_);
    }
    const ScriptedEngineRecord& record() const { return *record_; }

private:
    void* library_ = nullptr;
    ScriptedEngineSetFunction set_ = nullptr;
    ScriptedEngineRecord* record_ = nullptr;
};

}  // namespace scanvelt::testing
