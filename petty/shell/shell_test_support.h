#pragma once
// Shared by the shell's tests: a fixture book in a temporary program folder,
// the scripted Ui and host, and the program's state as it starts.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/command_windows.h"
#include "petty/shell/form_instances.h"
#include "platform/forms/forms.h"
#include "platform/forms/test_host.h"
#include "platform/forms/test_ui.h"
#include "platform/jet/test_support.h"

namespace petty::testing {

inline constexpr const char* kNormalPassword = "Secret1";
inline constexpr const char* kApprovalPassword = "Boss2";

class ShellTest : public ::testing::Test {
protected:
    ShellTest() : ShellTest(true) {}
    // Without a book: the folder of a first start.
    explicit ShellTest(bool withBook) {
        resetAppState();
        if (withBook) createBook(folder.path(), kNormalPassword, kApprovalPassword);
        appState().programFolder = folder.path().string();
    }
    void TearDown() override {
        formInstances().releaseAll();
        clearCommandWindows();
        resetAppState();
        EXPECT_NO_THROW(ui.verifyDone());
        EXPECT_NO_THROW(host.verifyDone());
    }

    // Sets one column of the settings row (a Null when the value is Null).
    void setSetting(const std::string& column, const jet::Value& value) {
        openBook(bookPath(folder.path())).execute("UPDATE config SET [" + column + "] = ?", {value});
    }
    void writeFile(const std::filesystem::path& path) const { std::ofstream(path) << "x"; }

    jet::testing::TestFolder folder;
    forms::TestUi ui;
    forms::ScopedUi useUi{ui};
    forms::TestHost host;
};

}  // namespace petty::testing
