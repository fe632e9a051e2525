#include "petty/app/command_line.h"

#include <gtest/gtest.h>

namespace petty {
namespace {

TEST(CommandLine, CreateBookWithAndWithoutPasswords) {
    const std::tuple<std::vector<std::string_view>, std::string, std::optional<std::string>, std::optional<std::string>>
        cases[] = {
            {{"--create-book", "/tmp/book"}, "/tmp/book", std::nullopt, std::nullopt},
            {{"--create-book=/tmp/b", "--password", "p"}, "/tmp/b", "p", std::nullopt},
            {{"--approval-password=a=b", "--create-book", "d", "--password="}, "d", "", "a=b"},
            {{"--password", "--create-book", "--create-book", "dir"}, "dir", "--create-book", std::nullopt},
        };
    for (const auto& [args, folder, password, approval] : cases) {
        const Command command = parseCommandLine(args);
        ASSERT_TRUE(std::holds_alternative<CreateBook>(command)) << args.front();
        const auto& create = std::get<CreateBook>(command);
        EXPECT_EQ(create.folder, folder);
        EXPECT_EQ(create.password, password);
        EXPECT_EQ(create.approvalPassword, approval);
    }
}

TEST(CommandLine, StartsTheProgramInTheDefaultOrAGivenFolder) {
    EXPECT_EQ(std::get<StartProgram>(parseCommandLine({})).folder, std::nullopt);
    EXPECT_EQ(std::get<StartProgram>(parseCommandLine({"--folder", "/tmp/b"})).folder, "/tmp/b");
    EXPECT_EQ(std::get<StartProgram>(parseCommandLine({"--folder=x y"})).folder, "x y");
}

TEST(CommandLine, UsageWhenAsked) {
    EXPECT_TRUE(std::get<ShowUsage>(parseCommandLine({"--help"})).asked);
    EXPECT_TRUE(std::get<ShowUsage>(parseCommandLine({"--create-book", "d", "-h"})).asked);
    EXPECT_NE(usageText().find("--create-book DIR"), std::string::npos);
    EXPECT_NE(usageText().find("ostrelle [--folder DIR]"), std::string::npos);
}

TEST(CommandLine, MistakesAreNamed) {
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{"--frobnicate"}, "Unknown argument: --frobnicate"},
        {{"book"}, "Unknown argument: book"},
        {{"--create-book"}, "--create-book needs a value."},
        {{"--create-book", ""}, "--create-book needs a folder."},
        {{"--create-book", "a", "--create-book", "b"}, "--create-book is given twice."},
        {{"--create-book", "a", "--password", "x", "--password=y"}, "--password is given twice."},
        {{"--password", "x"}, "Passwords are given only with --create-book."},
        {{"--folder", "a", "--password", "x"}, "Passwords are given only with --create-book."},
        {{"--folder"}, "--folder needs a value."},
        {{"--folder="}, "--folder needs a folder."},
        {{"--folder", "a", "--folder", "b"}, "--folder is given twice."},
        {{"--folder", "a", "--create-book", "b"}, "--folder and --create-book cannot be given together."},
    };
    for (const auto& [args, message] : cases) {
        const Command command = parseCommandLine(args);
        ASSERT_TRUE(std::holds_alternative<CommandLineError>(command)) << message;
        EXPECT_EQ(std::get<CommandLineError>(command).message, message);
    }
}

}  // namespace
}  // namespace petty
