#pragma once
// Shared by the tests of the two configuration windows: the fixture book with
// the paths the log-in would have set, both windows registered as the main
// window registers them, and the settings row as stored.
#include <functional>
#include <string>
#include <vector>

#include "petty/shell/configuration_windows.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/shell_test_support.h"
#include "petty/shell/stored_options_mark.h"

namespace petty::testing {

class SettingsWindowTest : public ShellTest {
protected:
    SettingsWindowTest() {
        appState().appFolder = withFolderSeparator(folder.path().string());
        appState().businessDbPath = appState().appFolder + "business.mdb";
        registerConfigurationWindows();
    }

    // Opens the window as the main window does, modally; the script works it
    // and must close it.
    template <class Window>
    void open(CommandWindow which, const std::string& formName, std::function<void(Window&)> script) {
        host.expectModal<Window>(formName, std::move(script));
        openCommandWindow(which);
    }

    jet::Value stored(const std::string& column) {
        return openBook(bookPath(folder.path())).openRecordset("select * from config").field(column);
    }
    std::vector<jet::Value> settingsRow() {
        return openBook(bookPath(folder.path())).openRecordset("select * from config").rowAt(0);
    }
    bool optionsStored() { return !firstRunOf(bookPath(folder.path())); }

    // The engine refuses every change of the settings row from now on.
    void refuseSettingsWrites() {
        openBook(bookPath(folder.path()))
            .execute("CREATE TRIGGER refuse_settings BEFORE UPDATE ON config BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }
    void allowSettingsWrites() { openBook(bookPath(folder.path())).execute("DROP TRIGGER refuse_settings"); }
};

}  // namespace petty::testing
