// The source handling and acquisition members of _Twain called by dispatch
// ID over SANE's test backend: each row starts from the source manager
// unloaded and checks what its member changed (the engine's state, the
// source open, the codes of the last call, the page scanned, the file written).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>
#include <string>
#include <vector>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/morvalen_status.h"
#include "imaging/twain/testdata/scripted_engine.h"
#include "imaging/twain/testing/sane_twain_table.h"
#include "imaging/twain/testing/scripted_engine_table.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/global_memory.h"

namespace scanvelt::testing {
namespace {

using namespace com;

class AcquisitionTable;

struct AcquisitionRow {
    const char* member;
    void (*run)(AcquisitionTable&);  // starting state, the call and its effect
};

class AcquisitionTable : public SaneTwainTable {
public:
    // A feeder batch of the test backend with automatic scanning, its first
    // page scanned: the next page waits (state 6).
    void startBatch() {
        open();
        ASSERT_TRUE(yes("TwainSelectFeeder", {MakeBool(true)}));
        ASSERT_TRUE(yes("TwainSetAutoScan", {MakeBool(true)}));
        scan();
        ASSERT_EQ(longValue("TwainGetState"), 6);
    }
    void expectCodes(int32_t condition, int32_t result, const char* after) {
        EXPECT_EQ(longValue("TwainGetLastConditionCode"), condition) << after;
        EXPECT_EQ(longValue("TwainGetLastResultCode"), result) << after;
    }
    // Resolution 75 dpi, colour, A6: none of them the device's default.
    void setUpPage() {
        ASSERT_TRUE(yes("TwainSetCurrentResolution", {MakeI4(75)}));
        ASSERT_TRUE(yes("TwainSetCurrentPixelType", {MakeI4(kPixelRgb)}));
        ASSERT_TRUE(yes("TwainSetPaperSize", {MakeI4(kPaperA6)}));
    }
    // An A6 colour page at 75 dpi.
    static void expectA6Colour(const ScannedPageFacts& page) {
        expectPixels(page.width, 105, 75, "width");
        expectPixels(page.height, 148, 75, "height");
        EXPECT_EQ(page.format, gdiplus::PixelFormat24bppRGB);
        expectDpiNear(page.dpiX, 75);
        expectDpiNear(page.dpiY, 75);
    }
};

// A scan dialog service whose setup dialog sets `resolution`, counting its calls.
win::ScanDialogService setupSetting(int* shown, double resolution, win::DialogAnswer answer) {
    win::ScanDialogService service;
    service.editSetup = [=](win::ScanSetupRequest& request) {
        ++*shown;
        for (auto& s : request.settings)
            if (s.name == "resolution") s.value = resolution;
        return answer;
    };
    return service;
}

const AcquisitionRow kAcquisitionRows[] = {
    // The engine's state through the session: loaded, manager open, source open, manager closed.
    {"TwainGetState",
     [](AcquisitionTable& t) {
         EXPECT_EQ(t.longValue("TwainGetState"), 1);
         t.longValue("TwainGetSourceCount");
         EXPECT_EQ(t.longValue("TwainGetState"), 3);
         t.open();
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
         t.yes("TwainCloseSourceManager", {MakeI4(0)});
         EXPECT_EQ(t.longValue("TwainGetState"), 2);
     }},
    {"TwainIsAvailable",
     [](AcquisitionTable& t) {
         EXPECT_TRUE(t.yes("TwainIsAvailable"));
         SetTwainEngineFile("/nonexistent/libmvtwain.so");
         EXPECT_FALSE(t.yes("TwainIsAvailable"));
         SetTwainEngineFile(MVTWAIN_PATH);
     }},
    {"TwainOpenDefaultSource",
     [](AcquisitionTable& t) {
         EXPECT_TRUE(t.yes("TwainOpenDefaultSource"));
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), kFirstSource);
     }},
    // The user's choice becomes the default source; a cancelled choice changes nothing.
    {"TwainSelectSource",
     [](AcquisitionTable& t) {
         t.call("TwainSetHideUI", {MakeBool(false)});
         win::ScanDialogService service;
         win::DialogAnswer answer = win::DialogAnswer::Cancelled;
         size_t pick = 1;
         service.chooseSource = [&](const win::ScanSourceChoiceRequest& request, size_t& chosen) {
             EXPECT_EQ(request.sources.size(), 3u);
             chosen = pick;
             return answer;
         };
         win::SetScanDialogService(service);
         EXPECT_FALSE(t.yes("TwainSelectSource", {MakeI4(0)}));
         EXPECT_EQ(t.text("TwainGetDefaultSourceName"), kFirstSource);
         answer = win::DialogAnswer::Accepted;
         EXPECT_TRUE(t.yes("TwainSelectSource", {MakeI4(0)}));
         EXPECT_EQ(t.text("TwainGetDefaultSourceName"), kSecondSource);
         EXPECT_TRUE(t.yes("TwainOpenDefaultSource"));
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), kSecondSource);
         // The engine keeps the choice for the program's life: the first source again.
         pick = 0;
         EXPECT_TRUE(t.yes("TwainSelectSource", {MakeI4(0)}));
         EXPECT_EQ(t.text("TwainGetDefaultSourceName"), kFirstSource);
     }},
    // By label with spaces around it, by device name, and a source that is not there.
    {"TwainOpenSource",
     [](AcquisitionTable& t) {
         EXPECT_TRUE(t.yes("TwainOpenSource", {MakeBstrUtf8(std::string("  ") + kSecondSource + " ")}));
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), kSecondSource);
         EXPECT_TRUE(t.yes("TwainOpenSource", {MakeBstrUtf8("test:0")}));
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), kFirstSource);
         EXPECT_FALSE(t.yes("TwainOpenSource", {MakeBstrUtf8("test:9")}));
         t.expectCodes(kConditionNoSource, kResultFailure, "a source that is not there");
     }},
    // Closing the source unloads the manager too; without a source there is nothing to close.
    {"TwainCloseSource",
     [](AcquisitionTable& t) {
         EXPECT_FALSE(t.yes("TwainCloseSource"));
         t.open();
         EXPECT_TRUE(t.yes("TwainCloseSource"));
         EXPECT_EQ(t.longValue("TwainGetState"), 1);
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), "");
     }},
    {"TwainCloseSourceManager",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_TRUE(t.yes("TwainCloseSourceManager", {MakeI4(0)}));
         EXPECT_EQ(t.longValue("TwainGetState"), 2);
         EXPECT_FALSE(t.yes("TwainCloseSourceManager", {MakeI4(0)}));
         t.expectCodes(kConditionSequence, kResultFailure, "closed twice");
     }},
    {"TwainUnloadSourceManager",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_TRUE(t.yes("TwainUnloadSourceManager"));
         EXPECT_EQ(t.longValue("TwainGetState"), 1);
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), "");
     }},
    // Ends a batch (state 6 back to 4); with no batch it is out of sequence.
    {"TwainDisableSource",
     [](AcquisitionTable& t) {
         t.startBatch();
         EXPECT_TRUE(t.yes("TwainDisableSource"));
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
         EXPECT_FALSE(t.yes("TwainDisableSource"));
         t.expectCodes(kConditionSequence, kResultFailure, "no batch");
     }},
    // Before a source is open (state 3): status 32; after, the user's setting
    // reaches the device; a cancel changes nothing.
    {"TwainShowSetupDialogSource",
     [](AcquisitionTable& t) {
         int shown = 0;
         win::SetScanDialogService(setupSetting(&shown, 75, win::DialogAnswer::Accepted));
         t.longValue("TwainGetSourceCount");  // state 3: the manager open, no source
         t.longValue("TwainAcquireToDib", {MakeI4(0)});
         ASSERT_NE(t.longValue("GetStat"), BadTwainState);
         EXPECT_FALSE(t.yes("TwainShowSetupDialogSource", {MakeI4(0)}));
         EXPECT_EQ(t.longValue("GetStat"), BadTwainState);
         EXPECT_EQ(shown, 0);
         t.open();
         EXPECT_TRUE(t.yes("TwainShowSetupDialogSource", {MakeI4(0)}));
         EXPECT_EQ(shown, 1);
         EXPECT_EQ(t.longValue("TwainGetCurrentResolution"), 75);
         win::SetScanDialogService(setupSetting(&shown, 120, win::DialogAnswer::Cancelled));
         EXPECT_FALSE(t.yes("TwainShowSetupDialogSource", {MakeI4(0)}));
         EXPECT_EQ(t.longValue("TwainGetCurrentResolution"), 75);
     }},
    // Each of the eight arguments lands in its place: the engine logs the
    // product (the last) with the version (the first two); during a batch
    // nothing is registered.
    {"TwainSetApplicationInfo",
     [](AcquisitionTable& t) {
         auto info = [&](const char* product) {
             t.call("TwainSetApplicationInfo", {MakeI4(3), MakeI4(7), MakeI4(2), MakeI4(33), MakeBstrUtf8("3.7 beta"),
                                                MakeBstrUtf8("Maker"), MakeBstrUtf8("Family"), MakeBstrUtf8(product)});
         };
         t.call("TwainSetDebugMode", {MakeBool(true)});
         ::testing::internal::CaptureStderr();
         info("Ledger Scan");
         EXPECT_NE(::testing::internal::GetCapturedStderr().find("mvtwain: application Ledger Scan 3.7\n"),
                   std::string::npos);
         t.startBatch();
         ::testing::internal::CaptureStderr();
         info("During A Batch");
         EXPECT_EQ(::testing::internal::GetCapturedStderr().find("During A Batch"), std::string::npos);
         t.call("TwainSetDebugMode", {MakeBool(false)});
     }},
    {"TwainGetSourceCount",
     [](AcquisitionTable& t) {
         EXPECT_EQ(t.longValue("TwainGetSourceCount"), 3);
         EXPECT_EQ(t.longValue("TwainGetState"), 3);
     }},
    // Numbers from 1 (1 or less is the first); a number past the list names no source.
    {"TwainGetSourceName",
     [](AcquisitionTable& t) {
         const std::pair<int32_t, std::string> cases[] = {
             {1, kFirstSource}, {2, kSecondSource}, {3, kScriptedSource},
             {4, ""},           {0, kFirstSource},  {-1, kFirstSource}};
         for (const auto& [number, name] : cases)
             EXPECT_EQ(t.text("TwainGetSourceName", {MakeI4(number)}), name) << number;
     }},
    // With the user interface shown, a scan shows the setup dialog first and takes its settings.
    {"TwainSetHideUI",
     [](AcquisitionTable& t) {
         int shown = 0;
         win::SetScanDialogService(setupSetting(&shown, 60, win::DialogAnswer::Accepted));
         t.open();
         EXPECT_EQ(t.call("TwainSetHideUI", {MakeBool(false)}).vt, VT_EMPTY);
         AcquisitionTable::expectDpiNear(t.scan().dpiX, 60);
         EXPECT_EQ(shown, 1);
         t.call("TwainSetHideUI", {MakeBool(true)});
         t.call("TwainSetCurrentResolution", {MakeI4(90)});
         AcquisitionTable::expectDpiNear(t.scan().dpiX, 90);
         EXPECT_EQ(shown, 1);
     }},
    // With indicators on, a scan shows its progress under the source's name.
    {"TwainSetIndicators",
     [](AcquisitionTable& t) {
         std::vector<std::string> progress;
         win::ScanDialogService service;
         service.showProgress = [&](const win::ScanProgress& p) {
             progress.push_back(p.sourceName);
             return true;
         };
         win::SetScanDialogService(service);
         t.open();
         EXPECT_TRUE(t.yes("TwainSetIndicators", {MakeBool(true)}));
         EXPECT_EQ(t.capCurrent(4107), 1);
         t.scan();
         ASSERT_FALSE(progress.empty());
         EXPECT_EQ(progress.front(), kFirstSource);
         progress.clear();
         EXPECT_TRUE(t.yes("TwainSetIndicators", {MakeBool(false)}));
         t.scan();
         EXPECT_TRUE(progress.empty());
     }},
    // The engine reports through its codes and keeps every source open until
    // the host closes it: these switches answer nothing and leave the open
    // source scanning.
    {"TwainSetErrorMessage",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_EQ(t.call("TwainSetErrorMessage", {MakeBool(true)}).vt, VT_EMPTY);
         EXPECT_NE(t.scan().width, 0);
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
     }},
    {"TwainSetMultiTransfer",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_EQ(t.call("TwainSetMultiTransfer", {MakeBool(true)}).vt, VT_EMPTY);
         EXPECT_NE(t.scan().width, 0);
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
     }},
    {"TwainDisableAutoSourceClose",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_EQ(t.call("TwainDisableAutoSourceClose", {MakeBool(false)}).vt, VT_EMPTY);
         EXPECT_NE(t.scan().width, 0);
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), kFirstSource);
     }},
    // Two transfers of a feeder batch: the batch ends after the second page; 0 is no count.
    {"TwainSetXferCount",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_TRUE(t.yes("TwainSetXferCount", {MakeI4(2)}));
         EXPECT_EQ(t.capCurrent(1), 2);
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         t.yes("TwainSetAutoScan", {MakeBool(true)});
         t.scan();
         EXPECT_EQ(t.longValue("TwainGetState"), 6);
         t.scan();
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
         EXPECT_FALSE(t.yes("TwainSetXferCount", {MakeI4(0)}));
         t.expectCodes(kConditionBadValue, kResultFailure, "no count");
     }},
    // The test backend has no duplex feeder.
    {"TwainEnableDuplex",
     [](AcquisitionTable& t) {
         t.open();
         EXPECT_FALSE(t.yes("TwainEnableDuplex", {MakeBool(true)}));
         t.expectCodes(kConditionUnsupported, kResultFailure, "no duplex");
         EXPECT_FALSE(t.yes("TwainIsDuplexEnabled"));
     }},
    // A scan the user cancels in the progress window, then one that completes.
    {"TwainUserClosedSource",
     [](AcquisitionTable& t) {
         bool cancel = true;
         win::ScanDialogService service;
         service.showProgress = [&](const win::ScanProgress&) { return !cancel; };
         win::SetScanDialogService(service);
         t.open();
         t.yes("TwainSetIndicators", {MakeBool(true)});
         EXPECT_EQ(t.longValue("TwainAcquireToMorvalenImage", {MakeI4(0)}), 0);
         EXPECT_EQ(t.longValue("GetStat"), TwainTransferCanceled);
         EXPECT_TRUE(t.yes("TwainUserClosedSource"));
         cancel = false;
         EXPECT_NE(t.scan().width, 0);
         EXPECT_FALSE(t.yes("TwainUserClosedSource"));
     }},
    // The scripted source's first page arrives, its second fails.
    {"TwainLastXferFail",
     [](AcquisitionTable& t) {
         t.open("scripted:0");
         EXPECT_NE(t.scan().width, 0);
         EXPECT_FALSE(t.yes("TwainLastXferFail"));
         EXPECT_EQ(t.longValue("TwainAcquireToMorvalenImage", {MakeI4(0)}), 0);
         EXPECT_EQ(t.longValue("GetStat"), TwainTransferError);
         EXPECT_TRUE(t.yes("TwainLastXferFail"));
     }},
    {"TwainEndXfer",
     [](AcquisitionTable& t) {
         EXPECT_FALSE(t.yes("TwainEndXfer"));
         t.expectCodes(kConditionSequence, kResultFailure, "no source");
         t.open();
         EXPECT_TRUE(t.yes("TwainEndXfer"));
         t.expectCodes(kConditionSuccess, kResultSuccess, "a source open");
     }},
    {"TwainEndAllXfers",
     [](AcquisitionTable& t) {
         t.startBatch();
         EXPECT_TRUE(t.yes("TwainEndAllXfers"));
         EXPECT_EQ(t.longValue("TwainGetState"), 4);
         EXPECT_FALSE(t.yes("TwainEndAllXfers"));
     }},
    // Back to the whole bed after A6: the page is the bed's full width (200 mm).
    {"TwainResetImageLayout",
     [](AcquisitionTable& t) {
         EXPECT_FALSE(t.yes("TwainResetImageLayout"));
         t.open();
         t.yes("TwainSetCurrentResolution", {MakeI4(kScanResolution)});
         t.yes("TwainSetPaperSize", {MakeI4(kPaperA6)});
         EXPECT_TRUE(t.yes("TwainResetImageLayout"));
         EXPECT_EQ(t.longValue("TwainGetPaperSize"), 0);
         const ScannedPageFacts page = t.scan();
         AcquisitionTable::expectPixels(page.width, 200, kScanResolution, "width");
         AcquisitionTable::expectPixels(page.height, 200, kScanResolution, "height");
     }},
    // The codes of the last call: a failure, then a success; without an engine, TWCC_BUMMER and success.
    {"TwainGetLastConditionCode",
     [](AcquisitionTable& t) {
         t.yes("TwainOpenSource", {MakeBstrUtf8("test:9")});
         EXPECT_EQ(t.longValue("TwainGetLastConditionCode"), kConditionNoSource);
         t.open();
         EXPECT_EQ(t.longValue("TwainGetLastConditionCode"), kConditionSuccess);
         SetTwainEngineFile("/nonexistent/libmvtwain.so");
         EXPECT_EQ(t.longValue("TwainGetLastConditionCode"), 1);
         SetTwainEngineFile(MVTWAIN_PATH);
     }},
    {"TwainGetLastResultCode",
     [](AcquisitionTable& t) {
         t.yes("TwainOpenSource", {MakeBstrUtf8("test:9")});
         EXPECT_EQ(t.longValue("TwainGetLastResultCode"), kResultFailure);
         t.open();
         EXPECT_EQ(t.longValue("TwainGetLastResultCode"), kResultSuccess);
         SetTwainEngineFile("/nonexistent/libmvtwain.so");
         EXPECT_EQ(t.longValue("TwainGetLastResultCode"), kResultSuccess);
         SetTwainEngineFile(MVTWAIN_PATH);
     }},
    // The page as set up becomes the current image; without a source nothing is made and the current image stays.
    {"TwainAcquireToMorvalenImage",
     [](AcquisitionTable& t) {
         const int32_t kept = testing_support::MakePage(40, 30);
         t.control().setCurrentImage(kept);
         EXPECT_EQ(t.longValue("TwainAcquireToMorvalenImage", {MakeI4(0)}), 0);
         EXPECT_EQ(t.longValue("GetStat"), TwainError);
         EXPECT_EQ(t.longValue("GetNativeImage"), kept);
         t.open();
         t.setUpPage();
         const int32_t id = t.longValue("TwainAcquireToMorvalenImage", {MakeI4(0)});
         ASSERT_NE(id, 0);
         EXPECT_EQ(t.longValue("GetStat"), OK);
         EXPECT_EQ(t.longValue("GetNativeImage"), id);
         ScannedPageFacts page;
         std::tie(page.width, page.height) = testing_support::SizeOf(id);
         std::tie(page.dpiX, page.dpiY) = testing_support::ResolutionOf(id);
         page.format = PixelFormatOf(id);
         AcquisitionTable::expectA6Colour(page);
         t.control().setCurrentImage(0);
         ReleaseImage(id);
         ReleaseImage(kept);
     }},
    // A packed DIB of the device's default page, 80 x 100 mm in 8 bits, at 100 dpi.
    {"TwainAcquireToDib",
     [](AcquisitionTable& t) {
         t.open();
         t.yes("TwainSetCurrentResolution", {MakeI4(100)});
         const uint32_t handle = static_cast<uint32_t>(t.longValue("TwainAcquireToDib", {MakeI4(0)}));
         ASSERT_NE(handle, 0u);
         EXPECT_EQ(t.longValue("GetStat"), OK);
         const win::HGLOBAL block{handle};
         ASSERT_GE(win::GlobalSize(block), 40u);
         const auto* header = static_cast<const uint8_t*>(win::GlobalLock(block));
         ASSERT_NE(header, nullptr);
         auto read32 = [&](size_t at) {
             return static_cast<int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                         static_cast<uint32_t>(header[at + 3]) << 24);
         };
         AcquisitionTable::expectPixels(read32(4), 80, 100, "width");
         AcquisitionTable::expectPixels(std::abs(read32(8)), 100, 100, "height");
         EXPECT_EQ(header[14], kDefaultBitDepth);
         EXPECT_NEAR(read32(24), 100 / 0.0254, 1.0);
         win::GlobalUnlock(block);
         win::GlobalFree(block);
     }},
    // The page as set up in the host's file; without a source status 32 and no file.
    {"TwainAcquireToFile",
     [](AcquisitionTable& t) {
         const std::string path = t.temp.file("page.bmp");
         EXPECT_EQ(t.longValue("TwainAcquireToFile", {MakeBstrUtf8(path), MakeI4(0)}), BadTwainState);
         EXPECT_FALSE(std::filesystem::exists(path));
         t.open();
         t.setUpPage();
         EXPECT_EQ(t.longValue("TwainAcquireToFile", {MakeBstrUtf8(path), MakeI4(0)}), OK);
         int32_t id = 0;
         ASSERT_EQ(LoadImageFromFile(id, path, false, false, true, 0, true, true), OK);
         ScannedPageFacts page;
         std::tie(page.width, page.height) = testing_support::SizeOf(id);
         std::tie(page.dpiX, page.dpiY) = testing_support::ResolutionOf(id);
         page.format = PixelFormatOf(id);
         AcquisitionTable::expectA6Colour(page);
         ReleaseImage(id);
     }},
};
const bool kAcquisitionRowsRegistered = RegisterMemberTable("_Twain", kAcquisitionRows);

TEST_F(AcquisitionTable, EachSourceAndAcquisitionMemberHasItsEffect) {
    ASSERT_TRUE(kAcquisitionRowsRegistered);
    for (const AcquisitionRow& row : kAcquisitionRows) {
        SCOPED_TRACE(row.member);
        startRow();
        row.run(*this);
        endRow();
    }
}

// The switches SANE's engine only takes note of, sent to the scripted engine:
// each flag reaches the engine as the member's argument says (the
// auto-close switch the other way round: disabling sends 0).
struct SwitchRow {
    const char* member;
    int32_t ScriptedEngineRecord::*sent;
    bool inverted;
    bool answers;  // a Boolean member, true when the engine took it
};

const SwitchRow kSwitchRows[] = {
    {"TwainDisableAutoSourceClose", &ScriptedEngineRecord::autoSourceClose, true, false},
    {"TwainSetErrorMessage", &ScriptedEngineRecord::showError, false, false},
    {"TwainSetMultiTransfer", &ScriptedEngineRecord::multiTransfer, false, false},
    {"TwainEnableDuplex", &ScriptedEngineRecord::duplex, false, true},
};
const bool kSwitchRowsRegistered = RegisterMemberTable("_Twain", kSwitchRows);

class SwitchTable : public ScriptedEngineTable {
protected:
    // The record of an engine that has been told nothing yet.
    const ScriptedEngineRecord* fresh() {
        play(ScriptedEngineScript{});
        return HasFatalFailure() ? nullptr : &record();
    }
};

TEST_F(SwitchTable, EachSwitchSendsItsFlag) {
    ASSERT_TRUE(kSwitchRowsRegistered);
    for (const SwitchRow& row : kSwitchRows) {
        for (const bool on : {true, false}) {
            SCOPED_TRACE(std::string(row.member) + (on ? " on" : " off"));
            const ScriptedEngineRecord* record = fresh();
            ASSERT_NE(record, nullptr);
            VARIANT result = call(row.member, {MakeBool(on)});
            EXPECT_EQ(record->*row.sent, on != row.inverted ? 1 : 0);
            if (row.answers) EXPECT_EQ(result.boolVal, VARIANT_TRUE);
            else EXPECT_EQ(result.vt, VT_EMPTY);
        }
    }
}

}  // namespace
}  // namespace scanvelt::testing
