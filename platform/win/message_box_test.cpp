#include "platform/win/message_box.h"

#include <gtest/gtest.h>

#include <vector>

namespace win {
namespace {

TEST(MessageBox, GoesToTheInstalledHandler) {
    std::vector<MessageBoxRequest> shown;
    SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        shown.push_back(r);
        return 7;
    });
    EXPECT_EQ(ShowMessageBox({0, "Bad file.", "Error", MB_OK | MB_ICONERROR}), 7);
    SetMessageBoxHandler(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bad file.");
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[0].style, MB_ICONERROR);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox({0, "Without a host", "Error", MB_OK}), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: Without a host\n");
}

}  // namespace
}  // namespace win
