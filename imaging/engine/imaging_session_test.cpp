#include "imaging/engine/imaging_session.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/engine/image_table.h"
#include "imaging/engine/iptc_tags.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/startup.h"

namespace scanvelt {
namespace {

using testing_support::OnFreshThread;
using testing_support::RegisterEmpty;

TEST(ImagingSession, SecondStartOnlyCountsAndTheLastStopReleasesEverything) {
    OnFreshThread([] {
        ASSERT_TRUE(StartImaging());
        const uintptr_t token = CurrentImagingSession().GdiplusToken;
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(CurrentImagingSession().StartCount, 2);
        EXPECT_EQ(CurrentImagingSession().GdiplusToken, token);
        const int32_t id = RegisterEmpty();

        StopImaging();  // the first of two users goes: nothing changes
        EXPECT_TRUE(CurrentImagingSession().GdiplusReady);
        EXPECT_GE(FindImageIndex(id), 0);

        StopImaging();
        EXPECT_FALSE(CurrentImagingSession().GdiplusReady);
        EXPECT_EQ(CurrentImagingSession().GdiplusToken, 0u);
        EXPECT_EQ(FindImageIndex(id), -1);
        EXPECT_EQ(ImageSlotCount(), 0);
    });
}

TEST(ImagingSession, GdiplusStartedByTheHostIsNeitherStartedNorShutDown) {
    OnFreshThread([] {
        gdiplus::ScopedStartup host;
        ASSERT_EQ(host.status(), gdiplus::Ok);
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(CurrentImagingSession().GdiplusToken, 0u);
        const int32_t id = RegisterEmpty();
        StopImaging();
        EXPECT_EQ(FindImageIndex(id), -1);
        EXPECT_TRUE(gdiplus::IsStarted());
    });
}

TEST(ImagingSession, AnUnmatchedStopDelaysTheShutdownUntilTheCountIsZeroAgain) {
    OnFreshThread([] {
        StopImaging();
        EXPECT_EQ(CurrentImagingSession().StartCount, -1);
        ASSERT_TRUE(StartImaging());  // count 0, but the engine starts
        const int32_t id = RegisterEmpty();
        StopImaging();  // count -1: not a last stop
        EXPECT_GE(FindImageIndex(id), 0);
        ASSERT_TRUE(StartImaging());
        ASSERT_TRUE(StartImaging());
        StopImaging();  // back to exactly 0 on a started engine
        EXPECT_EQ(FindImageIndex(id), -1);
        EXPECT_FALSE(CurrentImagingSession().GdiplusReady);
    });
}

TEST(ImagingSession, PluginInstalledAfterTheFirstStartIsFoundByTheNextStart) {
    OnFreshThread([] {
        SetModuleVersionReader([](std::string_view) { return std::string("Unknown"); });
        ASSERT_TRUE(StartImaging());
        EXPECT_FALSE(PluginAvailable());
        EXPECT_EQ(ActiveCodecPlugin(), nullptr);
        int32_t count = 0;
        EXPECT_EQ(GetIptcTagCount(0, count), MvimgplugDllRequired);

        auto plugin = std::make_shared<testing_support::RecordingCodecPlugin>();
        testing_support::InstallPlugin(plugin);
        ASSERT_TRUE(StartImaging());
        EXPECT_TRUE(PluginAvailable());
        EXPECT_EQ(ActiveCodecPlugin(), plugin.get());
        EXPECT_EQ(CurrentImagingSession().PluginVersion, "3.18.0.0");
        EXPECT_EQ(GetIptcTagCount(0, count), OK);
        StopImaging();
        StopImaging();
    });
}

TEST(ImagingSession, TheLastStopEndsThePluginBindingSoTheNextSessionLooksAgain) {
    OnFreshThread([] {
        auto first = std::make_shared<testing_support::RecordingCodecPlugin>();
        testing_support::InstallPlugin(first);
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(ActiveCodecPlugin(), first.get());
        StopImaging();
        EXPECT_FALSE(PluginAvailable());

        auto second = std::make_shared<testing_support::RecordingCodecPlugin>();
        testing_support::InstallPlugin(second);
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(ActiveCodecPlugin(), second.get());
        StopImaging();
    });
}

TEST(ImagingSession, APluginVersionWithoutABoundPluginIsNotAvailable) {
    OnFreshThread([] {
        SetModuleVersionReader([](std::string_view) { return std::string("3.18.0.0"); });
        ASSERT_TRUE(StartImaging());
        EXPECT_FALSE(PluginAvailable());
        StopImaging();
    });
}

TEST(ImagingSession, AFailingStartIsReportedAndTriedAgainByTheNextStart) {
    OnFreshThread([] {
        std::vector<std::string> messages;
        SetEngineMessageHandler([&](const std::string& text) { messages.push_back(text); });
        SetModuleVersionReader([](std::string_view) -> std::string { throw std::runtime_error("probe failed"); });
        EXPECT_FALSE(StartImaging());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "Error starting GDI+. Err no: 51. Error: probe failed");

        SetModuleVersionReader({});
        EXPECT_TRUE(StartImaging());
        EXPECT_EQ(GdiplusVersion(), gdiplus::kLibraryFileVersion);
        StopImaging();
        StopImaging();
        EXPECT_EQ(CurrentImagingSession().GdiplusToken, 0u);
        EXPECT_EQ(messages.size(), 1u);
    });
}

struct VersionCase {
    const char* version;
    bool below6;
};

class GdiplusVersionSwitchTest : public testing::TestWithParam<VersionCase> {};

TEST_P(GdiplusVersionSwitchTest, ReadsTheLeadingNumberAtTheFirstStart) {
    const VersionCase c = GetParam();
    OnFreshThread([c] {
        SetModuleVersionReader([c](std::string_view dll) {
            return dll == "gdiplus.dll" ? std::string(c.version) : std::string("Unknown");
        });
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(GdiplusVersion(), c.version);
        EXPECT_EQ(GdiplusBelowVersion6(), c.below6);
        StopImaging();
    });
}

INSTANTIATE_TEST_SUITE_P(Versions, GdiplusVersionSwitchTest,
                         testing::Values(VersionCase{"5.1.3102.5512", true}, VersionCase{"6.1.7601.24214", false},
                                         VersionCase{"10.0.0.1", false}, VersionCase{"Unknown", true}));

TEST(ImagingSession, OurGdiplusLayerReportsVersion6OrLater) {
    OnFreshThread([] {
        ASSERT_TRUE(StartImaging());
        EXPECT_EQ(GdiplusVersion(), gdiplus::kLibraryFileVersion);
        EXPECT_FALSE(GdiplusBelowVersion6());
        StopImaging();
    });
}

}  // namespace
}  // namespace scanvelt
