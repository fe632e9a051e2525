#include "petty/shell/stored_options_mark.h"

#include <gtest/gtest.h>

#include "petty/shell/shell_test_support.h"

namespace petty {
namespace {

class StoredOptionsMarkTest : public testing::ShellTest {
protected:
    std::filesystem::path book() const { return bookPath(folder.path()); }
};

TEST_F(StoredOptionsMarkTest, FirstRunUntilTheOptionsAreMarkedStored) {
    EXPECT_TRUE(firstRunOf(book()));
    {
        jet::Database db = openBook(book());
        jet::Transaction rolledBack(db);
        markOptionsStored(db);
    }
    EXPECT_TRUE(firstRunOf(book()));  // the mark goes with its transaction
    for (int time = 0; time < 2; ++time) {  // marking again changes nothing
        jet::Database db = openBook(book());
        markOptionsStored(db);
        EXPECT_TRUE(optionsEverStored(db));
    }
    EXPECT_FALSE(firstRunOf(book()));
}

TEST_F(StoredOptionsMarkTest, ABookThatCannotBeReadIsNoFirstRun) {
    const std::vector<std::pair<std::string, std::function<void()>>> faults = {
        {"no book", [this] { std::filesystem::remove(book()); }},
        {"not a book", [this] { writeFile(book()); }},
    };
    for (const auto& [what, fault] : faults) {
        SCOPED_TRACE(what);
        fault();
        EXPECT_FALSE(firstRunOf(book()));
    }
}

}  // namespace
}  // namespace petty
