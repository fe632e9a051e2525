#include "platform/win/clipboard.h"

#include <gtest/gtest.h>

#include <vector>

namespace win {
namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void TearDown() override { SetClipboardService({}); }
};

TEST_F(ClipboardTest, WithoutAServiceEveryWriteFails) {
    EXPECT_EQ(EmptyClipboard(), ClipboardResult::Failed);
    const HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 2, 2);
    EXPECT_EQ(SetClipboardBitmap(bitmap), ClipboardResult::Failed);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(ClipboardTest, TheServiceGetsACopyAndTheCallerKeepsItsHandle) {
    std::vector<int32_t> widths;
    int emptied = 0;
    SetClipboardService({[&] {
                             ++emptied;
                             return ClipboardResult::Done;
                         },
                         [&](const GdiBitmap& bitmap) {
                             widths.push_back(bitmap.width);
                             return ClipboardResult::Done;
                         }});
    const HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 3, 2);
    EXPECT_EQ(EmptyClipboard(), ClipboardResult::Done);
    EXPECT_EQ(SetClipboardBitmap(bitmap), ClipboardResult::Done);
    EXPECT_EQ(emptied, 1);
    EXPECT_EQ(widths, std::vector<int32_t>{3});
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(SetClipboardBitmap(bitmap), ClipboardResult::Failed);  // a freed handle
}

TEST_F(ClipboardTest, APictureIsPastedOnlyThroughAServiceThatHandsOneOut) {
    EXPECT_EQ(GetClipboardBitmap(), HBITMAP{}) << "no service";
    SetClipboardService({[] { return ClipboardResult::Done; }, [](const GdiBitmap&) { return ClipboardResult::Done; }});
    EXPECT_EQ(GetClipboardBitmap(), HBITMAP{}) << "a service that only writes";
    HBITMAP held{};
    ClipboardService service;
    service.takeBitmap = [&] { return held; };
    SetClipboardService(service);
    EXPECT_EQ(GetClipboardBitmap(), HBITMAP{}) << "an empty clipboard";
    held = CreateCompatibleBitmap(HDC{}, 4, 3);
    const HBITMAP pasted = GetClipboardBitmap();
    ASSERT_EQ(pasted, held);
    EXPECT_EQ(FindBitmap(pasted)->width, 4);
    EXPECT_TRUE(DeleteObject(pasted));
}

TEST_F(ClipboardTest, TheServicesFailureComesBack) {
    SetClipboardService({[] { return ClipboardResult::NoMemory; }, [](const GdiBitmap&) { return ClipboardResult::Failed; }});
    EXPECT_EQ(EmptyClipboard(), ClipboardResult::NoMemory);
    const HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    EXPECT_EQ(SetClipboardBitmap(bitmap), ClipboardResult::Failed);
    DeleteObject(bitmap);
}

}  // namespace
}  // namespace win
