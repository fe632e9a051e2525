#include "petty/app/create_book_command.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "petty/shell/business_database.h"
#include "platform/jet/test_support.h"

namespace petty {
namespace {

using jet::testing::TestFolder;

// Answers the prompts from a list, remembering what was asked.
struct ScriptedTerminal {
    explicit ScriptedTerminal(std::deque<std::string> a = {}) : answers(std::move(a)) {}
    std::deque<std::string> answers;
    std::vector<std::string> prompts;

    PasswordSource source(bool confirm) {
        return {[this](std::string_view prompt) -> std::optional<std::string> {
                    prompts.emplace_back(prompt);
                    if (answers.empty()) return std::nullopt;
                    std::string a = answers.front();
                    answers.pop_front();
                    return a;
                },
                confirm};
    }
};

class CreateBookCommandTest : public ::testing::Test {
protected:
    int run(const CreateBook& command, ScriptedTerminal& terminal, bool confirm = false) {
        out.str("");
        err.str("");
        return runCreateBook(command, terminal.source(confirm), out, err);
    }
    std::string storedPassword(const char* column) {
        return openBook(bookPath(folder.path())).openRecordset("config").field(column).asText();
    }

    TestFolder folder;
    std::ostringstream out, err;
};

TEST_F(CreateBookCommandTest, GivenPasswordsAreNotAskedFor) {
    ScriptedTerminal terminal;
    EXPECT_EQ(run({folder.path(), "alpha", "beta"}, terminal), 0);
    EXPECT_TRUE(terminal.prompts.empty());
    EXPECT_EQ(out.str(), "Created the book " + bookPath(folder.path()).string() + "\n");
    EXPECT_EQ(storedPassword("ApprovalPassword"), "beta");
}

TEST_F(CreateBookCommandTest, MissingPasswordsAreAskedAndConfirmedOnATerminal) {
    ScriptedTerminal terminal({"alpha", "alpha", "beta", "beta"});
    EXPECT_EQ(run({folder.path(), std::nullopt, std::nullopt}, terminal, true), 0) << err.str();
    EXPECT_EQ(terminal.prompts, (std::vector<std::string>{"Password of the normal log-in: ", "Type it again: ",
                                                          "Password of the approval log-in: ", "Type it again: "}));
    EXPECT_EQ(storedPassword("Password"), "alpha");
}

TEST_F(CreateBookCommandTest, RefusalsExitNonZeroWithTheReasonAndNoBook) {
    const std::tuple<CreateBook, std::deque<std::string>, bool, std::string> cases[] = {
        {{folder.path(), std::nullopt, "beta"}, {}, false, "No password of the normal log-in was given.\n"},
        {{folder.path(), std::nullopt, "beta"}, {"alpha", "alpah"}, true,
         "The two entries of the normal password differ.\n"},
        {{folder.path(), "same", "SAME"}, {}, false,
         "The two passwords must differ (letter case does not count at log-in).\n"},
        {{folder.path(), "", "beta"}, {}, false, "Both passwords must be given.\n"},
    };
    for (const auto& [command, answers, confirm, message] : cases) {
        ScriptedTerminal terminal(answers);
        EXPECT_EQ(run(command, terminal, confirm), 1);
        EXPECT_EQ(err.str(), message);
        EXPECT_FALSE(std::filesystem::exists(bookPath(folder.path())));
    }
}

TEST_F(CreateBookCommandTest, AnExistingBookIsRefused) {
    ScriptedTerminal terminal;
    ASSERT_EQ(run({folder.path(), "alpha", "beta"}, terminal), 0);
    EXPECT_EQ(run({folder.path(), "gamma", "delta"}, terminal), 1);
    EXPECT_EQ(err.str(), "A book exists already: " + bookPath(folder.path()).string() + "\n");
    EXPECT_EQ(storedPassword("Password"), "alpha");
}

}  // namespace
}  // namespace petty
