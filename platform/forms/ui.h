#pragma once
// The user-interface services outside the windows themselves: message boxes,
// input boxes, the beep, the mouse pointer, opening a file through the
// desktop's shell, the screen's size and ending the program. One service per
// process (`forms::ui()`), injectable: the Qt front end installs one that
// shows real dialogs, tests install TestUi (test_ui.h).
//
// Values are fixed numbers (vbYes = 6, ...): the handlers compare them as numbers.
#include <string>
#include <string_view>

namespace forms {

enum class MsgButtons { OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class MsgIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Mouse pointers (Screen.MousePointer).
constexpr int vbDefault = 0;
constexpr int vbArrow = 1;
constexpr int vbHourglass = 11;
constexpr int vbCustom = 99;

struct ScreenInfo {
    int widthTwips = 19200;  // 1280 pixels
    int heightTwips = 12000; // 800 pixels
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
};

// Thrown by endProgram in tests: the program ends at once, nothing after it runs.
// Deliberately not a std::exception, so handlers that carry on past errors do not swallow it.
struct ProgramEnded {};

class Ui {
public:
    virtual ~Ui() = default;

    // A message box; an empty title shows the program's title.
    virtual MsgResult msgBox(std::string_view text, MsgButtons buttons = MsgButtons::OkOnly,
                             MsgIcon icon = MsgIcon::None, std::string_view title = {}) = 0;
    // An input box; Cancel answers the empty text.
    virtual std::string inputBox(std::string_view prompt, std::string_view title = {},
                                 std::string_view defaultText = {}) = 0;
    virtual void beep() = 0;

    // The pointer for all windows of the program.
    virtual int mousePointer() const = 0;
    virtual void setMousePointer(int pointer) = 0;
    // Loads a cursor file as the custom pointer (vbCustom); forms::Error 53 when the file is missing.
    virtual void setMouseIcon(const std::string& cursorFile) = 0;

    // Opens a file with the program the desktop associates with it. Returns a
    // value above 32 on success and a failure code (32 or less) otherwise, as the shell did.
    virtual int shellOpen(const std::string& path, std::string_view verb = "Open") = 0;
    // Starts another program with a command line; false when it cannot start.
    virtual bool shellRun(const std::string& commandLine) = 0;

    virtual ScreenInfo screen() const = 0;

    // Ends the program at once: no further window is shown and no unload logic runs.
    [[noreturn]] virtual void endProgram() = 0;
};

// The process-wide service; std::logic_error when none is installed.
Ui& ui();
void setUi(Ui* service);

// Installs a service for the lifetime of this object, then restores the one before.
class ScopedUi {
public:
    explicit ScopedUi(Ui& service);
    ~ScopedUi();
    ScopedUi(const ScopedUi&) = delete;
    ScopedUi& operator=(const ScopedUi&) = delete;

private:
    Ui* previous_;
};

}  // namespace forms
