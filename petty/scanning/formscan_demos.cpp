// The scan window's demonstration buttons, outside the scan flow: they touch
// no result of the window and make no test of what they wrote beyond
// saying "Done !".
#include <optional>

#include "petty/scanning/formscan.h"
#include "petty/scanning/or_nothing.h"
#include "petty/scanning/scan_control_ids.h"
#include "petty/shell/app_state.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/forms/ui.h"

namespace petty {

namespace ids = scan_ids::twain;

namespace {

void message(std::string_view text) { forms::ui().msgBox(text); }

std::string programPath(const std::string& name) {
    return resolveProgramPath(withFolderSeparator(appState().programFolder) + name).string();
}

constexpr int32_t kNoWindow = 0;
constexpr int32_t kPixelRgb = 2;
constexpr int32_t kLastStateWithoutPage = 4;
constexpr int32_t kLastStateWithoutSource = 3;

const char* stateName(int32_t state) {
    switch (state) {
        case 1: return "TWAIN_PRESESSION (1)";
        case 2: return "TWAIN_SM_LOADED (2)";
        case 3: return "TWAIN_SM_OPEN (3)";
        case 4: return "TWAIN_SOURCE_OPEN (4)";
        case 5: return "TWAIN_SOURCE_ENABLED (5)";
        case 6: return "TWAIN_TRANSFER_READY (6)";
        case 7: return "TWAIN_TRANSFERRING (7)";
        default: return "TWAIN_ERROR (-1)";
    }
}

}  // namespace

void Formscan::Command_Click(int index) {
    if (refusedWhileScanning()) return;
    ScanRun run(*this);
    const LateBoundControl& twain = controls_.twain;
    switch (index) {
        case 1:
            if (!openSource()) return showOpenFailure();
            scanFeederInto({true, programPath("multipage.tif"), nullptr});
            return message("Done !");
        case 2:
            if (!openSource()) return showOpenFailure();
            return demoJpegsFromFeeder();
        case 3:
            if (!openSource()) return showOpenFailure();
            scanPageInto({programPath("acquire.pdf"), true, ".pdf", nullptr, 75});
            return message("Done !");
        case 5: return skipOnFailure([&] { twain.call(ids::TwainSelectSource, {kNoWindow}); });
        case 6: return showSourceSetup();
        case 7: return showTwainState();
        case 8:
            if (!openSource()) message("Can't open default source !");
            return;
        case 9: return skipOnFailure([&] { twain.call(ids::TwainCloseSource); });
        case 10: return skipOnFailure([&] { twain.call(ids::TwainCloseSourceManager, {kNoWindow}); });
        case 11: return skipOnFailure([&] { twain.call(ids::TwainUnloadSourceManager); });
        case 12:
            if (!openSource()) return showOpenFailure();
            // A path relative to the current folder, as the demonstration names it.
            scanFeederInto({false, "output.pdf", nullptr});
            return message("Done !");
        default: return;  // Demo 1 does nothing
    }
}

void Formscan::demoJpegsFromFeeder() {
    const LateBoundControl& twain = controls_.twain;
    applyScannerSettings();
    skipOnFailure([&] { twain.call(ids::TwainSetAutoFeed, {true}); });
    skipOnFailure([&] { twain.call(ids::TwainSetAutoScan, {true}); });
    setPageFormat(300, kPixelRgb, 8);
    for (int page = 1;; ++page) {
        int32_t image = 0;
        skipOnFailure([&] { image = twain.callLong(ids::TwainAcquireToMorvalenImage, {kNoWindow}); });
        applyImageFilters();
        if (chkPreview.value() == forms::vbChecked) showScannedImage();
        const std::string file = programPath("image" + std::to_string(page) + ".jpg");
        skipOnFailure([&] { twain.call(ids::SaveAsJPEG, {file, int32_t{90}}); });
        skipOnFailure([&] { twain.call(ids::CloseImage, {image}); });
        if (image == 0) break;  // no page came back: nothing more will
        std::optional<int32_t> state;
        skipOnFailure([&] { state = twain.callLong(ids::TwainGetState); });
        if (!state || *state <= kLastStateWithoutPage) break;
    }
    skipOnFailure([&] { twain.call(ids::TwainCloseSource); });
    message("Done !");
}

void Formscan::showSourceSetup() {
    int32_t state = -1;
    skipOnFailure([&] { state = controls_.twain.callLong(ids::TwainGetState); });
    if (state <= kLastStateWithoutSource) return message("You need to open a source first !");
    // The dialog shows the values the next scan uses, and what the user sets
    // there is kept for the window's later scans (the source forgets it when
    // it closes after a scan).
    const LateBoundControl& twain = controls_.twain;
    applyScannerSettings();
    setPageFormat(pageFormat_.resolution, pageFormat_.pixelType, pageFormat_.bitDepth);
    if (!orNothing([&] { return twain.callBool(ids::TwainShowSetupDialogSource, {kNoWindow}); }).value_or(false))
        return;
    const auto read = [&](com::DISPID member, int32_t& value) {
        if (const std::optional<int32_t> now = orNothing([&] { return twain.callLong(member); }); now && *now > 0)
            value = *now;
    };
    read(ids::TwainGetCurrentResolution, pageFormat_.resolution);
    read(ids::TwainGetCurrentPixelType, pageFormat_.pixelType);
    read(ids::TwainGetCurrentBitDepth, pageFormat_.bitDepth);
    formatSetUp_ = true;
}

void Formscan::showTwainState() {
    int32_t state = -1;
    skipOnFailure([&] { state = controls_.twain.callLong(ids::TwainGetState); });
    message(stateName(state));
}

}  // namespace petty
