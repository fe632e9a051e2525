#include "imaging/twain/twain_engine.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

class TwainEngineTest : public ::testing::Test {
protected:
    TwainEngineTest() {
        win::SetMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            shown.push_back(r);
            return win::IDOK;
        });
    }
    ~TwainEngineTest() override {
        win::SetMessageBoxHandler(nullptr);
        SetTwainEngineFile("");
    }
    std::vector<win::MessageBoxRequest> shown;
};

TEST_F(TwainEngineTest, ThePresentEngineIsReadySilently) {
    SetTwainEngineFile(MVTWAIN_PATH);
    EXPECT_EQ(MvTwainGetVersion(), 630);
    EXPECT_TRUE(TwainEngineReady());
    EXPECT_TRUE(shown.empty());
}

TEST_F(TwainEngineTest, AMissingEngineIsReportedOnEveryCall) {
    SetTwainEngineFile("/nonexistent/libmvtwain.so");
    EXPECT_FALSE(TwainEngineReady());
    EXPECT_FALSE(TwainEngineReady());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Can't found MVTWAIN.DLL file.");
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[0].style, win::MB_OK | win::MB_ICONERROR);
    EXPECT_THROW(MvTwainGetVersion(), TwainEngineUnavailable);
}

TEST_F(TwainEngineTest, AnEngineWithoutVersionCountsAsMissing) {
    SetTwainEngineFile(VERSIONLESS_LIBRARY_PATH);
    EXPECT_FALSE(TwainEngineReady());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Can't found MVTWAIN.DLL file.");
}

TEST_F(TwainEngineTest, AVersionedFileWithoutTheEntryCountsAsMissing) {
    SetTwainEngineFile(VERSION_PROBE_PATH);
    EXPECT_FALSE(TwainEngineReady());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Can't found MVTWAIN.DLL file.");
}

TEST_F(TwainEngineTest, AnOldEngineIsRefused) {
    SetTwainEngineFile(MVTWAIN_OLD_PATH);
    EXPECT_EQ(MvTwainGetVersion(), 629);
    EXPECT_FALSE(TwainEngineReady());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bad MVTWAIN.DLL version.");
}

}  // namespace
}  // namespace scanvelt
