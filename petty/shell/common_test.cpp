#include "petty/shell/common.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/forms/test_ui.h"
#include "platform/jet/test_support.h"

namespace petty {
namespace {

// The whole text, with whom to ask for such a report.
const std::string kCustomReportMissing =
    " : This custom report is not found! This is an optional report provided on request! If you need a customised "
    "report, send and email to support@kelvra.example with details.";

class CheckFileExistsTest : public ::testing::Test {
protected:
    CheckFileExistsTest() {
        std::filesystem::create_directories(folder / "Documents");
        std::ofstream(folder / "Documents" / "17_0930.jpg") << "x";
        std::ofstream(folder / "Documents" / ".17_0931.jpg") << "x";
        std::filesystem::create_directories(folder / "empty");
    }
    void TearDown() override { EXPECT_NO_THROW(ui.verifyDone()); }
    std::string path(const std::string& tail) const { return folder.path().string() + "\\" + tail; }

    jet::testing::TestFolder folder;
    forms::TestUi ui;
    forms::ScopedUi useUi{ui};
};

TEST_F(CheckFileExistsTest, EmptyPathExplainsWithoutBeep) {
    ui.expectMessage("Report not selected or file name is not available!!");
    EXPECT_FALSE(CheckFileExists(""));
    EXPECT_EQ(ui.beepCount(), 0);
}

TEST_F(CheckFileExistsTest, MissingFilesAnswerFalseWithTheirMessage) {
    struct Case {
        std::string tail;
        std::string message;  // behind the path; empty: no message and no beep
    };
    const Case cases[] = {
        {"pettycash3.rpt", " not found! "},
        {"custom.rpt", kCustomReportMissing},
        {"CUSTOM.RPT", kCustomReportMissing},
        {"voucher1.RPT", " not found! "},   // capitals ignored: every report file is explained
        {"voucher1c.RPT", " not found! "},
        {"documents\\17_1015.jpg", ""},      // a bill: silent
        {"documents\\.17_0931.jpg", ""},     // hidden files do not count
        {"documents", ""},                   // nor do folders
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail);
        ui.clearJournal();
        const std::string missing = path(c.tail);
        if (!c.message.empty()) ui.expectMessage(missing + c.message);
        EXPECT_FALSE(CheckFileExists(missing));
        EXPECT_EQ(ui.beepCount(), c.message.empty() ? 0 : 1);
        EXPECT_EQ(ui.messages().size(), c.message.empty() ? 0u : 1u);
    }
}

TEST_F(CheckFileExistsTest, ExistingFilesAnswerTrueSilently) {
    for (const char* tail : {"documents\\17_0930.JPG", "DOCUMENTS\\", "documents\\17_*", "documents\\*.jpg",
                                   "documents\\17_09?0.jpg"}) {
        SCOPED_TRACE(tail);
        EXPECT_TRUE(CheckFileExists(path(tail)));
    }
    EXPECT_FALSE(CheckFileExists(path("empty\\")));  // a folder with no file in it
    EXPECT_TRUE(ui.journal().empty());
}

}  // namespace
}  // namespace petty
