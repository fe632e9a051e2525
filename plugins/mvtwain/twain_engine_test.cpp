#include "plugins/mvtwain/twain_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "plugins/mvtwain/deferred_cancellation.h"
#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/testing/engine_fixture.h"
#include "plugins/mvtwain/twain_codes.h"

namespace mvtwain {
namespace {

using testing::EngineTest;
using testing::ScopedVariable;

bool setCap(Engine& e, int32_t c, double value) {
    bool snapped = false;
    return e.capabilities() && e.capabilities()->set(c, value, snapped) == MVTWAIN_TWCC_SUCCESS;
}

TEST_F(EngineTest, StatesFollowManagerAndSource) {
    EXPECT_EQ(engine.state(), 1);
    EXPECT_TRUE(engine.available());
    EXPECT_EQ(engine.state(), 1);
    ASSERT_TRUE(engine.openManager());
    EXPECT_EQ(engine.state(), 3);
    auto sources = engine.sources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].device, "test:0");
    EXPECT_EQ(sources[0].label, "test:0 (Noname frontend-tester)");

    ASSERT_TRUE(engine.openSource("test:0 (Noname frontend-tester)"));
    EXPECT_EQ(engine.state(), 4);
    EXPECT_EQ(engine.currentLabel(), "test:0 (Noname frontend-tester)");
    // Opening the open source again is no error.
    EXPECT_TRUE(engine.openSource("test:0"));
    EXPECT_EQ(engine.state(), 4);
    EXPECT_FALSE(engine.disableSource());  // not enabled
    EXPECT_EQ(engine.conditionCode(), MVTWAIN_TWCC_SEQERROR);
    EXPECT_TRUE(engine.closeSource());
    EXPECT_EQ(engine.state(), 3);
    EXPECT_EQ(engine.currentLabel(), "");
    EXPECT_TRUE(engine.closeManager());
    EXPECT_EQ(engine.state(), 2);
    EXPECT_TRUE(engine.unloadManager());
    EXPECT_EQ(engine.state(), 1);
}

TEST_F(EngineTest, UnknownSourceIsNoDevice) {
    EXPECT_FALSE(engine.openSource("scanner:none"));
    EXPECT_EQ(engine.conditionCode(), MVTWAIN_TWCC_NODS);
    EXPECT_EQ(engine.resultCode(), MVTWAIN_TWRC_FAILURE);
    EXPECT_EQ(engine.state(), 3);
}

TEST_F(EngineTest, AcquireWithoutAnOpenSourceIsASequenceError) {
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_EQ(engine.conditionCode(), MVTWAIN_TWCC_SEQERROR);
    EXPECT_FALSE(engine.last().cancelled);
    EXPECT_EQ(engine.capabilities(), nullptr);
}

TEST_F(EngineTest, ColourPageAtThreeHundredDpiHasTheScanAreasSize) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::XResolution, 300));
    ASSERT_TRUE(setCap(engine, cap::PixelType, 2));
    ASSERT_TRUE(setCap(engine, cap::BitDepth, 8));
    auto layout = engine.capabilities()->layout();
    ASSERT_TRUE(layout);
    const uint32_t handle = engine.acquire();
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(engine.state(), 4);  // a flatbed delivers one page
    EXPECT_FALSE(engine.last().raw);
    auto dib = takeDib(handle);
    EXPECT_EQ(dib.bitCount, 24);
    EXPECT_NEAR(dib.width, (layout->right - layout->left) * 300, 1.0);
    EXPECT_NEAR(dib.height, (layout->bottom - layout->top) * 300, 1.0);
    EXPECT_EQ(dib.pixelsPerMetre, 11811u);
    EXPECT_EQ(engine.resultCode(), MVTWAIN_TWRC_XFERDONE);
}

TEST_F(EngineTest, DepthsGiveTheirForms) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::XResolution, 50));
    struct Case {
        int pixelType, depth;
        bool raw;
        int bits;
    };
    for (const Case c : {Case{0, 1, false, 1}, Case{1, 8, false, 8}, Case{2, 8, false, 24}, Case{1, 16, true, 48},
                         Case{2, 16, true, 48}}) {
        ASSERT_TRUE(setCap(engine, cap::PixelType, c.pixelType));
        ASSERT_TRUE(setCap(engine, cap::BitDepth, c.depth));
        const uint32_t handle = engine.acquire();
        ASSERT_NE(handle, 0u) << c.depth;
        EXPECT_EQ(engine.last().raw, c.raw);
        if (c.raw) {
            EXPECT_EQ(engine.last().bitsPerPixel, c.bits);
            EXPECT_EQ(engine.last().resolutionX, 50);
            EXPECT_GE(engine.last().stride, engine.last().width * 6);
            EXPECT_EQ(win::GlobalSize(win::HGLOBAL{handle}),
                      static_cast<size_t>(engine.last().stride) * engine.last().height);
            win::GlobalFree(win::HGLOBAL{handle});
        } else {
            EXPECT_EQ(takeDib(handle).bitCount, c.bits);
        }
    }
}

TEST_F(EngineTest, FeederDeliversTenPagesThenTheBatchEnds) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::AutoFeed, 1));
    ASSERT_TRUE(setCap(engine, cap::AutoScan, 1));
    int pages = 0;
    do {
        const uint32_t handle = engine.acquire();
        ASSERT_NE(handle, 0u) << "page " << pages + 1;
        takeDib(handle);
        ++pages;
        EXPECT_EQ(engine.state(), pages < 10 ? 6 : 4) << pages;
    } while (engine.state() > 4 && pages < 20);
    EXPECT_EQ(pages, 10);
    // The next batch finds the feeder loaded again.
    const uint32_t handle = engine.acquire();
    EXPECT_NE(handle, 0u);
    takeDib(handle);
}

TEST_F(EngineTest, FeederWithoutAutomaticScanningDeliversOnePagePerAcquisition) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::FeederEnabled, 1));
    takeDib(engine.acquire());
    EXPECT_EQ(engine.state(), 4);
}

TEST_F(EngineTest, InjectedFaultsGiveTheirConditionsAndTheNextScanWorks) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    struct Case {
        const char* status;
        bool cancelled, failed;
        int32_t condition, result;
    };
    const Case cases[] = {
        {"SANE_STATUS_CANCELLED", true, false, MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_CANCEL},
        {"SANE_STATUS_IO_ERROR", false, true, MVTWAIN_TWCC_OPERATIONERROR, MVTWAIN_TWRC_FAILURE},
        {"SANE_STATUS_JAMMED", false, true, MVTWAIN_TWCC_PAPERJAM, MVTWAIN_TWRC_FAILURE},
        {"SANE_STATUS_COVER_OPEN", false, true, MVTWAIN_TWCC_INTERLOCK, MVTWAIN_TWRC_FAILURE},
        {"SANE_STATUS_NO_DOCS", false, false, MVTWAIN_TWCC_NOMEDIA, MVTWAIN_TWRC_FAILURE},
    };
    for (const auto& c : cases) {
        setInSetup(engine, "read-return-value", c.status);
        const uint32_t failed = engine.acquire();
        if (failed != 0) takeDib(failed);  // a page where none belongs is freed, not leaked
        ASSERT_EQ(failed, 0u) << c.status;
        EXPECT_EQ(engine.last().cancelled, c.cancelled) << c.status;
        EXPECT_EQ(engine.last().failed, c.failed) << c.status;
        EXPECT_EQ(engine.conditionCode(), c.condition) << c.status;
        EXPECT_EQ(engine.resultCode(), c.result) << c.status;
        EXPECT_EQ(engine.state(), 4) << c.status;
        setInSetup(engine, "read-return-value", "Default");
        const uint32_t handle = engine.acquire();
        ASSERT_NE(handle, 0u) << "after " << c.status;
        const auto dib = takeDib(handle);
        EXPECT_GT(dib.width, 0) << "after " << c.status;
        EXPECT_FALSE(engine.last().cancelled || engine.last().failed) << "after " << c.status;
    }
}

// A device forgets its settings when it closes, and hosts close the source
// and unload the manager after every scan: what the user changed in the setup
// dialog is set again each time the device opens, while what the user left
// as shown, and what a host set through capabilities, start from the device's own.
TEST_F(EngineTest, SetupChoicesHoldAfterTheSourceAndManagerClose) {
    const auto shownSetup = [this] {
        std::map<std::string, std::string> values;
        win::ScanDialogService service;
        service.editSetup = [&](win::ScanSetupRequest& request) {
            for (const auto& s : request.settings)
                values[s.name] = s.kind == win::ScanSetting::Kind::TextChoice ? s.text : std::to_string(int(s.value));
            return win::DialogAnswer::Cancelled;
        };
        win::SetScanDialogService(service);
        EXPECT_FALSE(engine.sourceSetup());
        win::SetScanDialogService({});
        return values;
    };
    ASSERT_TRUE(engine.openSource("test:0"));
    const auto deviceOwn = shownSetup();
    ASSERT_EQ(deviceOwn.at("test-picture"), "Solid black");
    setInSetup(engine, "test-picture", "Color pattern");
    ASSERT_TRUE(setCap(engine, cap::XResolution, 300));  // a host's capability, not the user's choice
    EXPECT_TRUE(engine.closeSource());
    EXPECT_TRUE(engine.unloadManager());

    ASSERT_TRUE(engine.openSource("test:0"));
    auto reopened = shownSetup();
    EXPECT_EQ(reopened.at("test-picture"), "Color pattern");
    EXPECT_EQ(reopened.at("resolution"), deviceOwn.at("resolution"));
    // The page scanned is the chosen picture, not the device's black.
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::XResolution, 50));
    ASSERT_TRUE(setCap(engine, cap::PixelType, 1));  // grey
    const uint32_t handle = engine.acquire();
    ASSERT_NE(handle, 0u);
    const win::HGLOBAL block{handle};
    const auto* dib = static_cast<const uint8_t*>(win::GlobalLock(block));
    ASSERT_TRUE(dib);
    const size_t bytes = win::GlobalSize(block);
    size_t lit = 0;
    for (size_t i = 40 + 256 * 4; i < bytes; ++i) lit += dib[i] > 32;
    win::GlobalUnlock(block);
    win::GlobalFree(block);
    EXPECT_GT(lit, bytes / 10) << "the page is black";

    // A later choice replaces the earlier one.
    setInSetup(engine, "test-picture", "Grid");
    EXPECT_TRUE(engine.closeSource());
    ASSERT_TRUE(engine.openSource("test:0"));
    EXPECT_EQ(shownSetup().at("test-picture"), "Grid");
}

TEST_F(EngineTest, SetupDialogCancelledBeforeTheScanIsAUserCancel) {
    ASSERT_TRUE(engine.openSource("test:0"));
    int shown = 0;
    win::ScanDialogService service;
    service.editSetup = [&](win::ScanSetupRequest& request) {
        ++shown;
        EXPECT_EQ(request.sourceName, "test:0 (Noname frontend-tester)");
        return win::DialogAnswer::Cancelled;
    };
    win::SetScanDialogService(service);
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_TRUE(engine.last().cancelled);
    EXPECT_EQ(engine.resultCode(), MVTWAIN_TWRC_CANCEL);
    EXPECT_EQ(shown, 1);
    // With the user interface hidden nothing is shown.
    engine.settings().hideUi = true;
    const uint32_t handle = engine.acquire();
    EXPECT_NE(handle, 0u);
    takeDib(handle);
    EXPECT_EQ(shown, 1);
}

// The backend's reader thread asks for asynchronous cancellation when it
// starts; it gets deferred cancellation, so stopping it at the end of a page
// or on a cancel can never leave it dead in the allocator.
TEST_F(EngineTest, TheBackendsReaderThreadIsCancelledOnlyAtCancellationPoints) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    const unsigned long before = MvtwainAsynchronousCancelRequestsDeferred();
    const uint32_t handle = engine.acquire();
    ASSERT_NE(handle, 0u);
    takeDib(handle);
    EXPECT_GT(MvtwainAsynchronousCancelRequestsDeferred(), before);
}

TEST_F(EngineTest, HostCancelBetweenChunksStopsThePage) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::XResolution, 300));
    int pumped = 0;
    // The host's handler runs between chunks and ends the transfer, as a Cancel button does.
    win::SetPendingMessagesHandler([&] {
        if (++pumped == 2) {
            EXPECT_TRUE(engine.abortAllTransfers());
        }
    });
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_GE(pumped, 2);
    EXPECT_TRUE(engine.last().cancelled);
    EXPECT_EQ(engine.state(), 4);
    win::SetPendingMessagesHandler({});
    const uint32_t handle = engine.acquire();
    EXPECT_NE(handle, 0u);
    takeDib(handle);
}

TEST_F(EngineTest, ProgressWindowShowsPagesAndItsCancelIsHonoured) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::XResolution, 300));
    ASSERT_TRUE(setCap(engine, cap::PixelType, 2));
    std::vector<win::ScanProgress> shown;
    int closed = 0;
    bool cancel = false;
    win::ScanDialogService service;
    service.showProgress = [&](const win::ScanProgress& p) {
        shown.push_back(p);
        return !cancel;
    };
    service.closeProgress = [&] { ++closed; };
    win::SetScanDialogService(service);
    takeDib(engine.acquire());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().page, 1);
    EXPECT_GT(shown.back().bytesExpected, 0u);
    EXPECT_LE(shown.back().bytesRead, shown.back().bytesExpected);
    EXPECT_EQ(closed, 1);

    cancel = true;
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_TRUE(engine.last().cancelled);
    EXPECT_EQ(closed, 2);

    // Indicators off: no window.
    shown.clear();
    engine.settings().indicators = false;
    takeDib(engine.acquire());
    EXPECT_TRUE(shown.empty());
}

// A small page (well under a megabyte) shows the window too, and a Cancel
// pressed in it stops the page at the next chunk.
TEST_F(EngineTest, TheProgressWindowsCancelStopsASmallPage) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    engine.settings().indicators = true;
    int shown = 0;
    int closed = 0;
    win::ScanDialogService service;
    service.showProgress = [&](const win::ScanProgress&) { return ++shown < 2; };
    service.closeProgress = [&] { ++closed; };
    win::SetScanDialogService(service);
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_EQ(shown, 2) << "shown at the page's start, cancelled at its first chunk";
    EXPECT_TRUE(engine.last().cancelled);
    EXPECT_EQ(engine.resultCode(), MVTWAIN_TWRC_CANCEL);
    EXPECT_EQ(engine.state(), 4);
    EXPECT_EQ(closed, 1);
}

TEST_F(EngineTest, FileTransferWritesTheSuffixedFileAndNeverLeavesAStaleOne) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    engine.settings().transferMode = 1;
    const auto path = sane.folder() / "page";
    const auto written = sane.folder() / "page_";
    engine.transferPath() = path.string();
    std::ofstream(written) << "an earlier scan";
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_EQ(engine.last().mode, 1);
    EXPECT_FALSE(engine.last().failed);
    std::ifstream in(written, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    EXPECT_FALSE(std::filesystem::exists(path));

    // A failed transfer leaves no file at all, not the earlier one.
    setInSetup(engine, "read-return-value", "SANE_STATUS_IO_ERROR");
    EXPECT_EQ(engine.acquire(), 0u);
    EXPECT_TRUE(engine.last().failed);
    EXPECT_FALSE(std::filesystem::exists(written));
}

TEST_F(EngineTest, SelectedSourceIsTheDefaultForTheNextSession) {
    ASSERT_TRUE(engine.openManager());
    EXPECT_EQ(engine.defaultDevice(), "test:0");  // nothing selected yet: the first
    win::ScanDialogService service;
    service.chooseSource = [](const win::ScanSourceChoiceRequest& request, size_t& chosen) {
        EXPECT_EQ(request.current, 0u);
        chosen = 1;
        return win::DialogAnswer::Accepted;
    };
    win::SetScanDialogService(service);
    EXPECT_TRUE(engine.selectSource());
    EXPECT_EQ(engine.defaultDevice(), "test:1");

    Engine next(MakeEngineProvider());
    EXPECT_EQ(next.defaultDevice(), "test:1");

    // A cancelled dialog keeps the default.
    service.chooseSource = [](const win::ScanSourceChoiceRequest&, size_t& chosen) {
        chosen = 0;
        return win::DialogAnswer::Cancelled;
    };
    win::SetScanDialogService(service);
    EXPECT_FALSE(next.selectSource());
    EXPECT_EQ(next.resultCode(), MVTWAIN_TWRC_CANCEL);
    EXPECT_EQ(next.defaultDevice(), "test:1");
}

TEST_F(EngineTest, SelectingWithoutADialogKeepsTheDefault) {
    EXPECT_TRUE(engine.selectSource());
    EXPECT_EQ(engine.state(), 3);
    EXPECT_EQ(engine.defaultDevice(), "test:0");
}

TEST_F(EngineTest, CloseRequestedDuringAScanClosesAfterIt) {
    ASSERT_TRUE(engine.openSource("test:0"));
    engine.settings().hideUi = true;
    ASSERT_TRUE(setCap(engine, cap::XResolution, 300));
    // The close is asked for once, in the middle of the page; the engine must
    // keep its device until the page's read has stopped.
    int asked = 0;
    int stateAfterTheRequest = 0;
    win::SetPendingMessagesHandler([&] {
        if (asked++ > 0) return;
        engine.closeSource();
        stateAfterTheRequest = engine.state();
    });
    const uint32_t handle = engine.acquire();
    win::SetPendingMessagesHandler({});
    if (handle != 0) takeDib(handle);
    ASSERT_GT(asked, 0) << "the engine ran no host messages during the page";
    EXPECT_EQ(stateAfterTheRequest, 7) << "the source closed under the running read";
    EXPECT_EQ(handle, 0u);
    EXPECT_TRUE(engine.last().cancelled);
    EXPECT_EQ(engine.state(), 3);
}

class ScriptedEngineTest : public EngineTest {
protected:
    std::unique_ptr<Engine> scripted(const std::string& script) {
        ScopedVariable variable(kScriptedSourceVariable, script);
        auto e = std::make_unique<Engine>(MakeEngineProvider());
        e->settings().hideUi = true;
        EXPECT_TRUE(e->openSource(kScriptedDeviceName));
        return e;
    }
};

TEST_F(ScriptedEngineTest, PagesComeFromTheGivenFiles) {
    const auto file = sane.folder() / "page.pnm";
    std::ofstream(file, std::ios::binary) << "P6 3 2 255\n" << std::string(18, '\x7f');
    auto e = scripted("pages=" + file.string());
    auto dib = takeDib(e->acquire());
    EXPECT_EQ(dib.width, 3);
    EXPECT_EQ(dib.height, 2);
    EXPECT_EQ(dib.bitCount, 24);
    EXPECT_EQ(dib.pixelsPerMetre, 3937u);  // the source's 100 dpi
    // Rows of 9 bytes padded to 12, as every DIB row is padded to 4 bytes.
    EXPECT_EQ(dib.bytes, 40u + 12 * 2);
}

TEST_F(ScriptedEngineTest, NotListedWithoutTheVariable) {
    for (const auto& s : engine.sources()) EXPECT_NE(s.device, kScriptedDeviceName);
    EXPECT_FALSE(engine.openSource(kScriptedDeviceName));
}

TEST_F(ScriptedEngineTest, FeederBatchWithAJamAndAFailure) {
    auto e = scripted("feeder=5;jam-at=3;fail-at=4;cancel-at=5");
    ASSERT_TRUE(setCap(*e, cap::AutoFeed, 1));
    ASSERT_TRUE(setCap(*e, cap::AutoScan, 1));
    takeDib(e->acquire());
    EXPECT_EQ(e->state(), 6);
    takeDib(e->acquire());
    // Page 3 jams as it starts: reported by its own transfer, which ends the batch.
    EXPECT_EQ(e->state(), 6);
    EXPECT_EQ(e->acquire(), 0u);
    EXPECT_TRUE(e->last().failed);
    EXPECT_EQ(e->conditionCode(), MVTWAIN_TWCC_PAPERJAM);
    EXPECT_EQ(e->state(), 4);
    EXPECT_EQ(e->acquire(), 0u);  // page 4 fails
    EXPECT_EQ(e->conditionCode(), MVTWAIN_TWCC_OPERATIONERROR);
    EXPECT_EQ(e->acquire(), 0u);  // page 5 is cancelled
    EXPECT_TRUE(e->last().cancelled);
    EXPECT_EQ(e->state(), 4);
}

TEST_F(ScriptedEngineTest, TransferCountEndsTheBatchEarly) {
    auto e = scripted("feeder=8");
    ASSERT_TRUE(setCap(*e, cap::AutoFeed, 1));
    ASSERT_TRUE(setCap(*e, cap::AutoScan, 1));
    ASSERT_TRUE(setCap(*e, cap::XferCount, 2));
    takeDib(e->acquire());
    EXPECT_EQ(e->state(), 6);
    takeDib(e->acquire());
    EXPECT_EQ(e->state(), 4);
}

}  // namespace
}  // namespace mvtwain
