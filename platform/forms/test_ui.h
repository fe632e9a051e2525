#pragma once
// The Ui service of tests. A test queues the answers the user will give, in
// order; every message box and input box takes the next queued answer, which
// must be for the same text: a box nobody expected, or one whose text differs,
// fails the test (UnexpectedDialog naming the text, also kept in failures()
// in case handlers swallow it). Everything is recorded in a journal that the
// test asserts on: message boxes (text, buttons, icon, title, answer), beeps,
// input boxes, shell opens and the end of the program.
//
//   forms::TestUi ui;
//   forms::ScopedUi use(ui);
//   ui.expectMessage("Are you sure that you want to exit from Ostrelle?", forms::MsgResult::No);
//   ... work the forms ...
//   EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox YesNo: Are you sure ... -> No"}));
//   ui.verifyDone();  // every queued answer used, nothing unexpected
#include <deque>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/forms/ui.h"

namespace forms {

class UnexpectedDialog : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class TestUi : public Ui {
public:
    struct Entry {
        enum class Kind { MessageBox, Beep, InputBox, ShellOpen, ShellRun, End };
        Kind kind;
        std::string text;  // message, prompt, path or command line
        MsgButtons buttons = MsgButtons::OkOnly;
        MsgIcon icon = MsgIcon::None;
        std::string title;
        MsgResult answer = MsgResult::Ok;
        std::string answerText;  // input box answer, shell verb
        int result = 0;          // shell result
    };

    // The next message box must show exactly this text; it is answered so.
    void expectMessage(std::string text, MsgResult answer = MsgResult::Ok);
    // The next input box must ask exactly this prompt; it is answered with `answer`.
    void expectInputBox(std::string prompt, std::string answer);
    size_t pendingAnswers() const { return answers_.size(); }

    // What shellOpen answers (default 42: success); files opened are journalled.
    void setShellResult(int result) { shellResult_ = result; }
    void setShellRunResult(bool ok) { shellRunOk_ = ok; }
    void setScreen(ScreenInfo screen) { screen_ = screen; }

    const std::vector<Entry>& journal() const { return journal_; }
    // The journal as one line per entry: "beep", "msgbox: <text>",
    // "msgbox YesNo Question: <text> -> No", "inputbox: <prompt> -> <answer>",
    // "shell Open: <path> -> 42", "run: <command>", "end".
    std::vector<std::string> journalLines() const;
    std::vector<std::string> messages() const;  // the texts of the message boxes shown
    int beepCount() const;
    void clearJournal() { journal_.clear(); }
    bool ended() const { return ended_; }

    // Mouse pointer state and every value it took.
    const std::vector<int>& mousePointerHistory() const { return pointerHistory_; }
    const std::string& mouseIcon() const { return mouseIcon_; }

    // Failures met so far (unexpected or mismatched boxes).
    const std::vector<std::string>& failures() const { return failures_; }
    // Throws std::logic_error when a failure was met or queued answers were never used.
    void verifyDone() const;

    MsgResult msgBox(std::string_view text, MsgButtons buttons = MsgButtons::OkOnly, MsgIcon icon = MsgIcon::None,
                     std::string_view title = {}) override;
    std::string inputBox(std::string_view prompt, std::string_view title = {},
                         std::string_view defaultText = {}) override;
    void beep() override;
    int mousePointer() const override { return pointer_; }
    void setMousePointer(int pointer) override;
    void setMouseIcon(const std::string& cursorFile) override;
    int shellOpen(const std::string& path, std::string_view verb = "Open") override;
    bool shellRun(const std::string& commandLine) override;
    ScreenInfo screen() const override { return screen_; }
    [[noreturn]] void endProgram() override;

private:
    struct Answer {
        bool inputBox;
        std::string text;
        MsgResult answer;
        std::string answerText;
    };
    Answer takeAnswer(bool inputBox, std::string_view text);
    [[noreturn]] void fail(std::string message);

    std::deque<Answer> answers_;
    std::vector<Entry> journal_;
    std::vector<std::string> failures_;
    int shellResult_ = 42;
    bool shellRunOk_ = true;
    ScreenInfo screen_;
    int pointer_ = vbDefault;
    std::vector<int> pointerHistory_;
    std::string mouseIcon_;
    bool ended_ = false;
};

std::string toString(MsgButtons buttons);
std::string toString(MsgIcon icon);
std::string toString(MsgResult result);

}  // namespace forms
