#include "platform/win/open_file_dialog.h"

#include <gtest/gtest.h>

namespace win {
namespace {

class OpenFileDialog : public ::testing::Test {
protected:
    void TearDown() override { SetOpenFileDialogHandler({}); }
};

TEST_F(OpenFileDialog, WithoutAHostDialogEveryRequestIsCancelled) {
    EXPECT_EQ(GetOpenFileName({0, "Open File", "", 0, 255}), std::nullopt);
}

TEST_F(OpenFileDialog, TheHostSeesTheRequestAndItsAnswerComesBack) {
    OpenFileDialogRequest seen;
    SetOpenFileDialogHandler([&](const OpenFileDialogRequest& request) -> std::optional<std::string> {
        seen = request;
        return "/home/user/bill.tif";
    });
    EXPECT_EQ(GetOpenFileName({77, "Open File", "", OFN_HIDEREADONLY, 255}), "/home/user/bill.tif");
    EXPECT_EQ(seen.ownerWindow, 77u);
    EXPECT_EQ(seen.title, "Open File");
    EXPECT_EQ(seen.maxPathLength, 255u);
}

TEST_F(OpenFileDialog, APathLongerThanTheBufferCountsAsCancelled) {
    SetOpenFileDialogHandler([](const OpenFileDialogRequest&) -> std::optional<std::string> {
        return std::string(6, 'x');
    });
    EXPECT_EQ(GetOpenFileName({0, "Open File", "", 0, 6}), std::string(6, 'x'));
    EXPECT_EQ(GetOpenFileName({0, "Open File", "", 0, 5}), std::nullopt);
}

TEST_F(OpenFileDialog, TheUserCancelling) {
    SetOpenFileDialogHandler([](const OpenFileDialogRequest&) { return std::optional<std::string>(); });
    EXPECT_EQ(GetOpenFileName({0, "Open File", "", 0, 255}), std::nullopt);
}

}  // namespace
}  // namespace win
