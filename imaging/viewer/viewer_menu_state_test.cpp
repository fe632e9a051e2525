// What the context menu and the pointer show before and after a document:
// the frame and GIF items, the ticked mouse mode, the pan hand, and the box
// that a failed creation shows.
#include <gtest/gtest.h>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/com/property_bag.h"
#include "platform/win/message_box.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using namespace testing_support;

// The menu's frame items: Goto First, Previous, Next, Last, Play Gif, Stop GIF Animation.
constexpr int32_t kFrameItems[] = {2, 3, 4, 5, 6, 7};
// The mouse-mode items and the MouseMode each stands for.
constexpr std::pair<int32_t, int32_t> kModeItems[] = {{28, 0}, {29, 2}, {30, 1}, {31, 3}};

class ViewerMenuState : public ViewerFixture {
protected:
    void TearDown() override {
        if (image_) ReleaseImage(image_);
        ViewerFixture::TearDown();
    }
    ViewerControl& control() { return static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control(); }
    // Which of the frame items are enabled, in the order of kFrameItems.
    std::vector<bool> frameItems() {
        std::vector<bool> enabled;
        for (const int32_t item : kFrameItems) enabled.push_back(control().menuItem(item).enabled);
        return enabled;
    }
    int32_t tickedMode() {
        int32_t mode = -1, ticks = 0;
        for (auto [item, itemMode] : kModeItems) {
            if (control().menuItem(item).checked) {
                mode = itemMode;
                ++ticks;
            }
        }
        return ticks == 1 ? mode : -1;
    }
    int32_t image_ = 0;
};

TEST_F(ViewerMenuState, FrameItemsAreEnabledOnlyWhenThereIsAFrameToGoToOrAGifToPlay) {
    EXPECT_EQ(frameItems(), std::vector<bool>(6, false)) << "at creation";
    show(200, 150);
    image_ = makeImage(40, 30, [](int32_t, int32_t) { return 0xFF336699u; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image_)}), 0);
    EXPECT_EQ(frameItems(), std::vector<bool>(6, false)) << "a single image";

    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    int32_t pages = 0;
    ASSERT_EQ(LoadImageFromStream(pages, StreamOf(TestFramesFile({{4, 3}, {4, 3}, {4, 3}})), false), OK);
    ASSERT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(pages)}), 0);
    EXPECT_EQ(frameItems(), (std::vector<bool>{false, false, true, true, false, false})) << "page 1 of 3";
    ASSERT_EQ(callLong("DisplayNextFrame"), 0);
    EXPECT_EQ(frameItems(), (std::vector<bool>{true, true, true, true, false, false})) << "page 2 of 3";
    call("ImageClosed");
    EXPECT_EQ(frameItems(), std::vector<bool>(6, false)) << "closed";
    ReleaseImage(pages);
}

TEST_F(ViewerMenuState, TheMenuTicksTheMouseModeThePropertyBagSet) {
    EXPECT_EQ(tickedMode(), 2) << "pan, the default";
    for (const int32_t mode : {1, 0, 3}) {
        SCOPED_TRACE(mode);
        MemoryPropertyBag* bag = MemoryPropertyBag::Create();
        VARIANT value = MakeI4(mode);
        bag->Write(u"MouseMode", &value);
        IPersistPropertyBag* persist = nullptr;
        ASSERT_EQ(viewer->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist)), S_OK);
        ASSERT_EQ(persist->Load(bag, nullptr), S_OK);
        persist->Release();
        bag->Release();
        show(200, 150);
        EXPECT_EQ(get("MouseMode").lVal, mode);
        EXPECT_EQ(tickedMode(), mode);
    }
}

TEST_F(ViewerMenuState, ThePanHandShowsAsSoonAsAnImageIsShown) {
    show(200, 150);
    EXPECT_EQ(get("MouseMode").lVal, 2);
    EXPECT_NE(site.cursor, kControlCursorCustom) << "no image, no hand";
    image_ = makeImage(400, 300, [](int32_t, int32_t) { return 0xFF808080u; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image_)}), 0);
    EXPECT_EQ(site.cursor, kControlCursorCustom) << "before any press or release";
    EXPECT_EQ(site.cursorHotSpot, (std::pair{8, 1})) << "the open hand";
}

TEST(ViewerCreation, AFailedStartShowsTheInitErrorBoxWithTheOkButtonAloneAndNoIcon) {
    std::vector<win::MessageBoxRequest> boxes;
    win::SetMessageBoxHandler([&boxes](const win::MessageBoxRequest& r) {
        boxes.push_back(r);
        return win::IDOK;
    });
    // A fresh thread's engine whose start fails: reading the graphics layer's version throws.
    OnFreshThread([] {
        SetModuleVersionReader([](std::string_view) -> std::string { throw std::runtime_error("no version"); });
        {
            ViewerControl control([](DISPID, std::vector<VARIANT>&) {}, [](const std::string&) {});
            EXPECT_EQ(control.GetStat(), 1);
        }
        SetModuleVersionReader({});
    });
    win::SetMessageBoxHandler({});
    const auto initError = std::find_if(boxes.begin(), boxes.end(), [](const win::MessageBoxRequest& r) {
        return r.text.rfind("Init Error: ", 0) == 0;
    });
    ASSERT_NE(initError, boxes.end());
    EXPECT_EQ(initError->style, win::MB_OK);
}

}  // namespace
}  // namespace scanvelt::testing
