#include "platform/win/scan_dialogs.h"

#include <gtest/gtest.h>

#include "platform/win/pending_messages.h"

namespace {

TEST(ScanDialogs, WithoutAHostNothingIsShownAndScansGoOn) {
    win::SetScanDialogService({});
    size_t chosen = 5;
    EXPECT_EQ(win::ChooseScanSource({0, {"a", "b"}, 1}, chosen), win::DialogAnswer::NoUserInterface);
    EXPECT_EQ(chosen, 5u);
    win::ScanSetupRequest setup;
    EXPECT_EQ(win::EditScanSetup(setup), win::DialogAnswer::NoUserInterface);
    EXPECT_TRUE(win::ShowScanProgress({"dev", 1, 10, 100}));
    win::CloseScanProgress();
}

TEST(ScanDialogs, TheInstalledDialogsAnswer) {
    win::ScanDialogService service;
    service.chooseSource = [](const win::ScanSourceChoiceRequest& request, size_t& chosen) {
        chosen = request.sources.size() - 1;
        return win::DialogAnswer::Accepted;
    };
    service.editSetup = [](win::ScanSetupRequest& request) {
        request.settings.at(0).value = 300;
        return win::DialogAnswer::Accepted;
    };
    int shown = 0;
    bool closed = false;
    service.showProgress = [&](const win::ScanProgress& progress) { return ++shown < 2 && progress.page == 1; };
    service.closeProgress = [&] { closed = true; };
    win::SetScanDialogService(service);

    size_t chosen = 0;
    EXPECT_EQ(win::ChooseScanSource({0, {"a", "b", "c"}, 0}, chosen), win::DialogAnswer::Accepted);
    EXPECT_EQ(chosen, 2u);
    win::ScanSetting resolution;
    resolution.name = "resolution";
    win::ScanSetupRequest setup{0, "dev", {resolution}};
    EXPECT_EQ(win::EditScanSetup(setup), win::DialogAnswer::Accepted);
    EXPECT_EQ(setup.settings[0].value, 300);
    EXPECT_TRUE(win::ShowScanProgress({"dev", 1, 0, 0}));
    EXPECT_FALSE(win::ShowScanProgress({"dev", 1, 0, 0}));  // the user pressed Cancel
    win::CloseScanProgress();
    EXPECT_TRUE(closed);
    win::SetScanDialogService({});
}

TEST(PendingMessages, RunsTheHostsPumpOnlyWhenInstalled) {
    win::RunPendingMessages();  // no host: nothing happens
    int runs = 0;
    win::SetPendingMessagesHandler([&] { ++runs; });
    win::RunPendingMessages();
    win::RunPendingMessages();
    EXPECT_EQ(runs, 2);
    win::SetPendingMessagesHandler({});
    win::RunPendingMessages();
    EXPECT_EQ(runs, 2);
}

}  // namespace
