#include "platform/forms/test_ui.h"

#include <algorithm>
#include <filesystem>

#include "platform/forms/error.h"

namespace forms {

std::string toString(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OkOnly: return "OkOnly";
        case MsgButtons::OkCancel: return "OkCancel";
        case MsgButtons::AbortRetryIgnore: return "AbortRetryIgnore";
        case MsgButtons::YesNoCancel: return "YesNoCancel";
        case MsgButtons::YesNo: return "YesNo";
        case MsgButtons::RetryCancel: return "RetryCancel";
    }
    return "?";
}

std::string toString(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None: return "None";
        case MsgIcon::Critical: return "Critical";
        case MsgIcon::Question: return "Question";
        case MsgIcon::Exclamation: return "Exclamation";
        case MsgIcon::Information: return "Information";
    }
    return "?";
}

std::string toString(MsgResult result) {
    switch (result) {
        case MsgResult::Ok: return "Ok";
        case MsgResult::Cancel: return "Cancel";
        case MsgResult::Abort: return "Abort";
        case MsgResult::Retry: return "Retry";
        case MsgResult::Ignore: return "Ignore";
        case MsgResult::Yes: return "Yes";
        case MsgResult::No: return "No";
    }
    return "?";
}

namespace {

// Whether an answer can be given to a box with these buttons.
bool answerFits(MsgButtons buttons, MsgResult answer) {
    switch (buttons) {
        case MsgButtons::OkOnly: return answer == MsgResult::Ok;
        case MsgButtons::OkCancel: return answer == MsgResult::Ok || answer == MsgResult::Cancel;
        case MsgButtons::AbortRetryIgnore:
            return answer == MsgResult::Abort || answer == MsgResult::Retry || answer == MsgResult::Ignore;
        case MsgButtons::YesNoCancel:
            return answer == MsgResult::Yes || answer == MsgResult::No || answer == MsgResult::Cancel;
        case MsgButtons::YesNo: return answer == MsgResult::Yes || answer == MsgResult::No;
        case MsgButtons::RetryCancel: return answer == MsgResult::Retry || answer == MsgResult::Cancel;
    }
    return false;
}

}  // namespace

void TestUi::expectMessage(std::string text, MsgResult answer) {
    answers_.push_back({false, std::move(text), answer, {}});
}

void TestUi::expectInputBox(std::string prompt, std::string answer) {
    answers_.push_back({true, std::move(prompt), MsgResult::Ok, std::move(answer)});
}

void TestUi::fail(std::string message) {
    failures_.push_back(message);
    throw UnexpectedDialog(message);
}

TestUi::Answer TestUi::takeAnswer(bool inputBox, std::string_view text) {
    const char* kind = inputBox ? "input box" : "message box";
    if (ended_) fail(std::string(kind) + " after the program ended: \"" + std::string(text) + "\"");
    if (answers_.empty()) fail(std::string("unexpected ") + kind + ": \"" + std::string(text) + "\"");
    Answer next = answers_.front();
    if (next.inputBox != inputBox || next.text != text) {
        fail(std::string(kind) + " \"" + std::string(text) + "\" shown, but the next expected is the " +
             (next.inputBox ? "input box" : "message box") + " \"" + next.text + "\"");
    }
    answers_.pop_front();
    return next;
}

MsgResult TestUi::msgBox(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) {
    const Answer answer = takeAnswer(false, text);
    if (!answerFits(buttons, answer.answer))
        fail("message box \"" + std::string(text) + "\" has buttons " + toString(buttons) + ", cannot answer " +
             toString(answer.answer));
    Entry e{Entry::Kind::MessageBox, std::string(text), buttons, icon, std::string(title), answer.answer, {}, 0};
    journal_.push_back(std::move(e));
    return answer.answer;
}

std::string TestUi::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    const Answer answer = takeAnswer(true, prompt);
    Entry e{Entry::Kind::InputBox, std::string(prompt), MsgButtons::OkCancel, MsgIcon::None, std::string(title),
            MsgResult::Ok, answer.answerText, 0};
    journal_.push_back(std::move(e));
    return answer.answerText;
}

void TestUi::beep() { journal_.push_back({Entry::Kind::Beep, {}, MsgButtons::OkOnly, MsgIcon::None, {}, MsgResult::Ok, {}, 0}); }

void TestUi::setMousePointer(int pointer) {
    pointer_ = pointer;
    pointerHistory_.push_back(pointer);
}

void TestUi::setMouseIcon(const std::string& cursorFile) {
    if (!std::filesystem::exists(cursorFile)) throw errors::fileNotFound();
    mouseIcon_ = cursorFile;
}

int TestUi::shellOpen(const std::string& path, std::string_view verb) {
    journal_.push_back({Entry::Kind::ShellOpen, path, MsgButtons::OkOnly, MsgIcon::None, {}, MsgResult::Ok,
                        std::string(verb), shellResult_});
    return shellResult_;
}

bool TestUi::shellRun(const std::string& commandLine) {
    journal_.push_back({Entry::Kind::ShellRun, commandLine, MsgButtons::OkOnly, MsgIcon::None, {}, MsgResult::Ok, {},
                        shellRunOk_ ? 1 : 0});
    return shellRunOk_;
}

void TestUi::endProgram() {
    ended_ = true;
    journal_.push_back({Entry::Kind::End, {}, MsgButtons::OkOnly, MsgIcon::None, {}, MsgResult::Ok, {}, 0});
    throw ProgramEnded{};
}

std::vector<std::string> TestUi::journalLines() const {
    std::vector<std::string> lines;
    for (const Entry& e : journal_) {
        switch (e.kind) {
            case Entry::Kind::Beep: lines.push_back("beep"); break;
            case Entry::Kind::MessageBox: {
                std::string line = "msgbox";
                if (e.buttons != MsgButtons::OkOnly) line += " " + toString(e.buttons);
                if (e.icon != MsgIcon::None) line += " " + toString(e.icon);
                if (!e.title.empty()) line += " [" + e.title + "]";
                line += ": " + e.text;
                if (e.buttons != MsgButtons::OkOnly) line += " -> " + toString(e.answer);
                lines.push_back(std::move(line));
                break;
            }
            case Entry::Kind::InputBox: lines.push_back("inputbox: " + e.text + " -> " + e.answerText); break;
            case Entry::Kind::ShellOpen:
                lines.push_back("shell " + e.answerText + ": " + e.text + " -> " + std::to_string(e.result));
                break;
            case Entry::Kind::ShellRun: lines.push_back("run: " + e.text); break;
            case Entry::Kind::End: lines.push_back("end"); break;
        }
    }
    return lines;
}

std::vector<std::string> TestUi::messages() const {
    std::vector<std::string> out;
    for (const Entry& e : journal_)
        if (e.kind == Entry::Kind::MessageBox) out.push_back(e.text);
    return out;
}

int TestUi::beepCount() const {
    return static_cast<int>(std::count_if(journal_.begin(), journal_.end(),
                                          [](const Entry& e) { return e.kind == Entry::Kind::Beep; }));
}

void TestUi::verifyDone() const {
    std::string problems;
    for (const auto& f : failures_) problems += "\n  " + f;
    for (const auto& a : answers_)
        problems += std::string("\n  expected ") + (a.inputBox ? "input box" : "message box") + " never shown: \"" +
                    a.text + "\"";
    if (!problems.empty()) throw std::logic_error("the scripted user interface was not used as expected:" + problems);
}

}  // namespace forms
