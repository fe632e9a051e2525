// The members that hand a path to the TWAIN engine, called by dispatch ID on
// the build's own engine: the log is started at the file the host names (a
// Windows path resolved as every member resolves one), written while it runs
// and closed by the stop; the source manager's folder reaches the engine
// resolved the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/testing/twain_tables.h"
#include "imaging/twain/twain_engine.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/message_box.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt::testing {
namespace {

namespace fs = std::filesystem;

class EngineOfTheBuild : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetMessageBoxHandler([](const win::MessageBoxRequest&) { return win::IDOK; });
        SetTwainEngineFile(MVTWAIN_PATH);
        fs::create_directories(scratch_.path() / "logs");
        fs::create_directories(scratch_.path() / "sane");
    }
    void TearDown() override {
        SetTwainEngineFile("");
        win::SetMessageBoxHandler(nullptr);
    }
    files::testing::ScratchFolder scratch_{"engine-paths"};
    win::testing::ScopedEnvironment saneFolder_{"SANE_CONFIG_DIR", nullptr};
};

class EnginePathTable : public TwainTableOver<EngineOfTheBuild> {};

// One step of a row: the member, its arguments within the scratch folder
// (written the Windows way, with a folder's name in another case), what it
// answers, and what is on disk or in the engine's folder afterwards.
struct EnginePathRow {
    const char* member;
    std::string argument;   // after the scratch folder and "\"; empty: no argument
    com::VARTYPE answerType;
    int32_t answer;
    const char* logAfter;   // the log file's content afterwards, if it exists
    const char* saneAfter;  // SANE_CONFIG_DIR afterwards, within the scratch folder
};
const EnginePathRow kEnginePathRows[] = {
    {"TwainLogStart", "Logs\\missing\\engine.log", com::VT_BOOL, com::VARIANT_FALSE, nullptr, nullptr},
    {"TwainLogStart", "Logs", com::VT_BOOL, com::VARIANT_FALSE, nullptr, nullptr},  // a folder
    {"TwainLogStart", "LOGS\\engine.log", com::VT_BOOL, com::VARIANT_TRUE, "log started\n", nullptr},
    {"TwainLogStop", "", com::VT_EMPTY, 0, "log started\nlog stopped\n", nullptr},
    {"TwainSetDSMPath", "Sane", com::VT_EMPTY, 0, "log started\nlog stopped\n", "sane"},
};
const bool kEnginePathRowsRegistered = RegisterMemberTable("_Twain", kEnginePathRows);

TEST_F(EnginePathTable, PathsReachTheEngineResolvedAndTheLogHoldsItsSession) {
    ASSERT_TRUE(kEnginePathRowsRegistered);
    const std::string folder = scratch_.path().string();
    const fs::path log = scratch_.path() / "logs" / "engine.log";
    for (const EnginePathRow& row : kEnginePathRows) {
        SCOPED_TRACE(std::string(row.member) + " " + row.argument);
        std::vector<RowArgument> args;
        if (!row.argument.empty()) args.push_back(folder + "\\" + row.argument);
        const CallAnswer answer = call(row.member, args);
        ASSERT_EQ(answer.hr, com::S_OK);
        EXPECT_EQ(answer.vt, row.answerType);
        EXPECT_EQ(answer.number, row.answer);
        if (row.logAfter) EXPECT_EQ(testing_support::ReadBytes(log.string()), row.logAfter);
        else EXPECT_FALSE(fs::exists(log));
        const char* sane = std::getenv("SANE_CONFIG_DIR");
        if (row.saneAfter) EXPECT_EQ(sane ? std::string(sane) : "", (scratch_.path() / row.saneAfter).string());
        else EXPECT_EQ(sane, nullptr);
    }
    // Nothing beside the two folders: no file named with "\".
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch_.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"logs", "sane"}));
}

}  // namespace
}  // namespace scanvelt::testing
