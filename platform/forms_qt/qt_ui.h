#pragma once
// The program's Ui service over Qt: message boxes and input boxes as dialogs
// (titled with the program's title unless they bring their own), the desktop's
// beep, the mouse pointer for every window, files opened with the desktop's
// associated program, and the end of the program.
#include <QCursor>
#include <optional>
#include <string>

#include "platform/forms/ui.h"

namespace forms_qt {

class QtUi : public forms::Ui {
public:
    explicit QtUi(std::string programTitle);
    ~QtUi() override;

    forms::MsgResult msgBox(std::string_view text, forms::MsgButtons buttons = forms::MsgButtons::OkOnly,
                            forms::MsgIcon icon = forms::MsgIcon::None, std::string_view title = {}) override;
    std::string inputBox(std::string_view prompt, std::string_view title = {},
                         std::string_view defaultText = {}) override;
    void beep() override;

    int mousePointer() const override { return pointer_; }
    // A pointer the desktop has no shape for shows the arrow; vbCustom shows
    // the cursor file loaded last, or the arrow when none could be read.
    void setMousePointer(int pointer) override;
    // forms::Error 53 when the file is missing.
    void setMouseIcon(const std::string& cursorFile) override;

    // 42 when the desktop took the file, 2 when there is no such file, 31 when
    // no program could open it (the shell's numbers).
    int shellOpen(const std::string& path, std::string_view verb = "Open") override;
    bool shellRun(const std::string& commandLine) override;
    forms::ScreenInfo screen() const override;
    // Hides every window, tells the event loops to quit and throws forms::ProgramEnded.
    [[noreturn]] void endProgram() override;

private:
    std::string titleOr(std::string_view title) const;
    void showPointer();

    std::string programTitle_;
    int pointer_ = forms::vbDefault;
    std::optional<QCursor> custom_;
};

}  // namespace forms_qt
