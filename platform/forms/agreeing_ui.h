#pragma once
// A Ui for runs without a user to ask (benchmarks, fault sweeps, a child
// process that is killed part-way): every question is answered Yes, every
// message OK, and the texts are kept. Unlike TestUi nothing need be expected.
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/ui.h"

namespace forms {

class AgreeingUi final : public Ui {
public:
    MsgResult msgBox(std::string_view text, MsgButtons buttons, MsgIcon, std::string_view) override {
        messages.emplace_back(text);
        return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
    }
    std::string inputBox(std::string_view, std::string_view, std::string_view) override { return {}; }
    void beep() override {}
    int mousePointer() const override { return pointer_; }
    void setMousePointer(int pointer) override { pointer_ = pointer; }
    void setMouseIcon(const std::string&) override {}
    int shellOpen(const std::string&, std::string_view) override { return 42; }
    bool shellRun(const std::string&) override { return true; }
    ScreenInfo screen() const override { return {}; }
    [[noreturn]] void endProgram() override { throw ProgramEnded{}; }

    std::vector<std::string> messages;

private:
    int pointer_ = vbDefault;
};

}  // namespace forms
