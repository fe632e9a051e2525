// The scan window's steps, one click of MyButton1 each. Every statement of a
// step runs with run-time errors ignored: a control call that fails is
// skipped and the next one runs, so a broken step ends with its failure
// message or silently.
#include <optional>
#include <utility>

#include "petty/scanning/bill_files.h"
#include "petty/scanning/file_stamp.h"
#include "petty/scanning/formscan.h"
#include "petty/scanning/or_nothing.h"
#include "petty/scanning/scan_control_ids.h"
#include "petty/shell/app_state.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/forms/ui.h"
#include "platform/win/pending_messages.h"

namespace petty {

namespace ids = scan_ids::twain;

namespace {

void message(std::string_view text) { forms::ui().msgBox(text); }

void refuseWithBeep(std::string_view text) {
    forms::ui().beep();
    message(text);
}

constexpr int32_t kNoWindow = 0;
constexpr int32_t kPixelBlackWhite = 0;
constexpr int32_t kPixelRgb = 2;
constexpr int32_t kTiffGroup4 = 4;
constexpr int32_t kRotate90 = 1;
constexpr int32_t kRotate180 = 2;
constexpr int32_t kLastStateWithoutPage = 4;

}  // namespace

std::string Formscan::documentsPath(const std::string& name) const {
    return resolveProgramPath(appState().documentsFolder + name).string();
}

void Formscan::setPointer(int pointer) { forms::ui().setMousePointer(pointer); }

// The window counts as scanning while a step runs; a close asked for
// meanwhile is carried out once the engine has stopped.
void Formscan::beginScan() {
    scanning_ = true;
    stopRequested_ = false;
}

void Formscan::endScan() {
    scanning_ = false;
    stopRequested_ = false;
    if (std::exchange(closeAfterStop_, false)) skipOnFailure([this] { unload(); });
}

bool Formscan::refusedWhileScanning() {
    if (!scanning_) return false;
    forms::ui().beep();
    return true;
}

void Formscan::Form_QueryUnload(int& cancel, int) {
    if (!scanning_) return;
    // The window stays until the engine has stopped: the scan's result
    // belongs to it and to the voucher that opened it.
    cancel = 1;
    if (stopRequested_) return;
    if (forms::ui().msgBox("A scan is running. Cancel it and close the window?", forms::MsgButtons::YesNo) !=
        forms::MsgResult::Yes)
        return;
    closeAfterStop_ = true;
    requestStop();
}

void Formscan::Form_Unload(int&) {
    // The bill the window stored, whichever way the window is closed.
    appState().scannedFilePath = storedPath_;
}

void Formscan::requestStop() {
    stopRequested_ = true;
    // Disabling the source while a page is read makes the engine cancel the
    // transfer after its current chunk; the page loop then ends.
    skipOnFailure([this] { controls_.twain.call(ids::TwainDisableSource); });
}

bool Formscan::transferCancelled() const {
    if (stopRequested_) return true;
    return orNothing([this] { return controls_.twain.callLong(ids::TwainGetLastResultCode); }).value_or(0) ==
           ids::kResultCancel;
}

void Formscan::tellStored(const std::string& name) {
    storedPath_ = appState().documentsFolder + name;
    appState().scannedFilePath = storedPath_;
    // Bills are private to the book's owner, whatever the umask.
    std::error_code ignored;
    std::filesystem::permissions(documentsPath(name), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 ignored);
    message("Completed ! The bill is stored as " + shownPath(storedPath_) + ".");
}

void Formscan::tellCancelled() {
    appState().scannedFilePath.clear();
    message("The scan was cancelled: no bill was stored.");
}

void Formscan::MyButton1_Click(int index) {
    // The close step during a scan asks as the title bar's close does.
    if (scanning_ && index == Close) {
        unload();
        return;
    }
    if (refusedWhileScanning()) return;
    AppState& app = appState();
    app.scannedFilePath.clear();
    if (app.documentsFolder.empty()) app.documentsFolder = app.programFolder + "\\documents\\";
    std::error_code ignored;
    if (!std::filesystem::is_directory(resolveProgramPath(app.documentsFolder), ignored))
        return refuseWithBeep(shownPath(app.documentsFolder) + " not found!!");
    if (index >= ScanToJpeg && index <= ScanAllToPdf && !settleFileName()) return;
    switch (index) {
        case SelectSource: return selectAndOpenSource();
        case ScanToJpeg:
        case ScanToPdf:
        case ScanAllToJpeg: return scanOnePage(static_cast<Step>(index));
        case ScanAllToTiff:
        case ScanAllToPdf: return scanAllPages(static_cast<Step>(index));
        case Close: return closeWindow();
        default: return;  // "Save document" has no step of its own
    }
}

bool Formscan::settleFileName() {
    const AppState& app = appState();
    if (!app.scanBaseName.empty()) {
        scanFileName_ = app.scanBaseName;
    } else {
        scanFileName_ = forms::ui().inputBox("File name without extension:", "Scan output file", "");
        if (scanFileName_.empty()) {
            refuseWithBeep("File name has to be entered!!");
            return false;
        }
    }
    if (scanFileName_.find('.') != std::string::npos) {
        refuseWithBeep("File name should not have extension!");
        return false;
    }
    return true;
}

void Formscan::selectAndOpenSource() {
    skipOnFailure([this] { controls_.twain.call(ids::TwainSelectSource, {kNoWindow}); });
    setPointer(forms::vbHourglass);
    if (!orNothing([this] { return controls_.twain.callBool(ids::TwainOpenDefaultSource); }).value_or(false))
        message("Can't open default source !");
    setPointer(forms::vbCustom);
}

bool Formscan::openSource() {
    return orNothing([this] { return controls_.twain.callBool(ids::TwainOpenDefaultSource); }).value_or(false);
}

void Formscan::showOpenFailure() {
    const int32_t state = orNothing([this] { return controls_.twain.callLong(ids::TwainGetState); }).value_or(-1);
    message("can't open default source, twain state is: " + std::to_string(state));
}

void Formscan::applyScannerSettings() {
    const LateBoundControl& twain = controls_.twain;
    // The box decides whether the scanner's own dialog shows.
    skipOnFailure([&] { twain.call(ids::TwainSetHideUI, {chkHideUI.value() != 0}); });
    skipOnFailure([&] { twain.call(ids::TwainSetIndicators, {chkIndicator.value() != 0}); });
    if (chkAutoBrightness.value() == forms::vbChecked) {
        skipOnFailure([&] { twain.call(ids::TwainSetAutoBrightness, {true}); });
    } else {
        skipOnFailure([&] { twain.call(ids::TwainSetAutoBrightness, {false}); });
        skipOnFailure([&] { twain.call(ids::TwainSetCurrentBrightness, {int32_t{HBrightness.value()}}); });
    }
    skipOnFailure([&] { twain.call(ids::TwainSetCurrentContrast, {int32_t{HContrast.value()}}); });
    skipOnFailure([&] { twain.call(ids::TwainEnableDuplex, {chkDuplex.value() == forms::vbChecked}); });
}

void Formscan::applyImageFilters() {
    // The first filter that fails ends the routine.
    skipOnFailure([this] {
        const LateBoundControl& twain = controls_.twain;
        const auto ticked = [](const forms::CheckBox& box) { return box.value() == forms::vbChecked; };
        if (ticked(ChkNeg)) twain.call(ids::FxNegative);
        if (ticked(chkContrast)) twain.call(ids::FxStretchContrast);
        if (ticked(chkSepia)) twain.call(ids::FxSepia);
        if (ticked(chkRotate90)) twain.call(ids::Rotate, {kRotate90});
        if (ticked(chkRotate180)) twain.call(ids::Rotate, {kRotate180});
        if (ticked(chkAutoDesk)) twain.call(ids::AutoDeskew);
        if (ticked(ChkAutoCrop)) twain.call(ids::CropBorders);
    });
}

void Formscan::showScannedImage() {
    skipOnFailure([this] {
        const int32_t image = controls_.twain.callLong(ids::GetNativeImage);
        controls_.viewer.call(scan_ids::viewer::SetNativeImage, {image});
        // The viewer stops using the borrowed image, which the step releases right after.
        controls_.viewer.call(scan_ids::viewer::ImageClosed);
    });
    // The window repaints (the preview, the progress) before the next page.
    win::RunPendingMessages();
}

void Formscan::setPageFormat(int32_t resolution, int32_t pixelType, int32_t bitDepth) {
    const LateBoundControl& twain = controls_.twain;
    skipOnFailure([&] { twain.call(ids::TwainSetCurrentResolution, {resolution}); });
    skipOnFailure([&] { twain.call(ids::TwainSetCurrentPixelType, {pixelType}); });
    skipOnFailure([&] { twain.call(ids::TwainSetCurrentBitDepth, {bitDepth}); });
}

Formscan::Outcome Formscan::scanPageInto(OnePage page) {
    const LateBoundControl& twain = controls_.twain;
    applyScannerSettings();
    setPageFormat(pageFormat_.resolution, pageFormat_.pixelType, pageFormat_.bitDepth);
    const FileStamp before = stampOf(page.target);
    const int32_t image =
        orNothing([&] { return twain.callLong(ids::TwainAcquireToMorvalenImage, {kNoWindow}); }).value_or(0);
    const bool cancelled = image == 0 && transferCancelled();
    if (image != 0) {
        applyImageFilters();
        if (chkPreview.value() == forms::vbChecked) showScannedImage();
        if (page.nameToExtend) *page.nameToExtend += page.extension;
        if (page.pdf) skipOnFailure([&] { twain.call(ids::SaveAsPDF, {page.target}); });
        else skipOnFailure([&] { twain.call(ids::SaveAsJPEG, {page.target, page.jpegQuality}); });
        skipOnFailure([&] { twain.call(ids::CloseImage, {image}); });
    }
    skipOnFailure([&] { twain.call(ids::TwainCloseSource); });
    // A stop asked for after the page came (while it was shown) cancels it too.
    if (cancelled || stopRequested_) {
        if (writtenSince(before, page.target)) {
            std::error_code ignored;
            std::filesystem::remove(page.target, ignored);
        }
        return Outcome::Cancelled;
    }
    // Stored only when this scan wrote the file; without a page nothing was saved.
    return image != 0 && writtenSince(before, page.target) ? Outcome::Stored : Outcome::Failed;
}

Formscan::Outcome Formscan::scanFeederInto(Feeder run) {
    const LateBoundControl& twain = controls_.twain;
    applyScannerSettings();
    skipOnFailure([&] { twain.call(ids::TwainSetAutoFeed, {true}); });
    skipOnFailure([&] { twain.call(ids::TwainSetAutoScan, {true}); });
    // A format the user set up holds for the feeder too (its resolution for
    // the TIFF, whose Group 4 pages are black and white).
    const int32_t resolution = formatSetUp_ ? pageFormat_.resolution : 200;
    if (run.tiff) setPageFormat(resolution, kPixelBlackWhite, 1);
    else if (formatSetUp_) setPageFormat(resolution, pageFormat_.pixelType, pageFormat_.bitDepth);
    else setPageFormat(200, kPixelRgb, 8);

    const FileStamp before = stampOf(run.target);
    if (!run.tiff) {
        if (run.nameToExtend) *run.nameToExtend += ".pdf";
        skipOnFailure([&] { twain.call(ids::TwainPdfStart, {run.target}); });
    }
    bool cancelled = false;
    for (int page = 1;; ++page) {
        if (stopRequested_) {
            cancelled = true;
            break;
        }
        const int32_t image =
            orNothing([&] { return twain.callLong(ids::TwainAcquireToMorvalenImage, {kNoWindow}); }).value_or(0);
        if (image == 0 && transferCancelled()) {
            cancelled = true;
            break;
        }
        applyImageFilters();
        if (chkPreview.value() == forms::vbChecked) showScannedImage();
        if (run.tiff && page == 1) {
            // The first page stays open as the start of the file.
            if (run.nameToExtend) *run.nameToExtend += "multipage.tif";
            skipOnFailure([&] { twain.call(ids::TiffSaveAsNativeMultiPage, {run.target, kTiffGroup4}); });
        } else {
            skipOnFailure(
                [&] { twain.call(run.tiff ? ids::TiffAddToNativeMultiPage : ids::TwainAddMorvalenImageToPdf, {image}); });
            skipOnFailure([&] { twain.call(ids::CloseImage, {image}); });
        }
        // No page came back: the source has nothing more to give, whatever
        // state it reports, so the loop cannot run on forever.
        if (image == 0) break;
        const std::optional<int32_t> state = orNothing([&] { return twain.callLong(ids::TwainGetState); });
        if (!state || *state <= kLastStateWithoutPage) break;
    }
    skipOnFailure([&] { twain.call(run.tiff ? ids::TiffCloseNativeMultiPage : ids::TwainPdfStop); });
    skipOnFailure([&] { twain.call(ids::TwainCloseSource); });
    // A stop asked for between two pages (while one was shown) ends the run as cancelled.
    if (cancelled || stopRequested_) {
        // The pages read before the cancel are no bill: the file they began goes.
        if (writtenSince(before, run.target)) {
            std::error_code ignored;
            std::filesystem::remove(run.target, ignored);
        }
        return Outcome::Cancelled;
    }
    return writtenSince(before, run.target) ? Outcome::Stored : Outcome::Failed;
}

void Formscan::scanOnePage(Step step) {
    const bool warnFirst = step == ScanAllToJpeg;
    const std::string extension = step == ScanToPdf ? ".pdf" : ".jpg";
    if (warnFirst) refuseWithBeep("Multiple jpg not supported. Please use multipage PDF/TIF!");
    else setPointer(forms::vbHourglass);
    if (!openSource()) {
        if (!warnFirst) setPointer(forms::vbCustom);
        return showOpenFailure();
    }
    // A file already there (an earlier scan of the same minute) is never overwritten.
    const std::string name = freeBillName(appState().documentsFolder, scanFileName_, extension);
    scanFileName_ = name.substr(0, name.size() - extension.size());
    Outcome outcome;
    {
        ScanRun run(*this);
        outcome = scanPageInto({documentsPath(name), step == ScanToPdf, extension, &scanFileName_, 75});
        if (!warnFirst) setPointer(forms::vbCustom);
        if (outcome == Outcome::Stored) {
            tellStored(scanFileName_);
        } else if (outcome == Outcome::Cancelled) {
            tellCancelled();
        } else {
            if (step == ScanToJpeg) message("Failed !");
            if (step == ScanToPdf) message("Failed to scan the document!");
            appState().scannedFilePath.clear();
        }
    }
}

void Formscan::scanAllPages(Step step) {
    const bool tiff = step == ScanAllToTiff;
    if (!openSource()) return showOpenFailure();
    const std::string ending = tiff ? "multipage.tif" : ".pdf";
    const std::string name = freeBillName(appState().documentsFolder, scanFileName_, ending);
    scanFileName_ = name.substr(0, name.size() - ending.size());
    ScanRun run(*this);
    const Outcome outcome = scanFeederInto({tiff, documentsPath(name), &scanFileName_});
    if (outcome == Outcome::Stored) tellStored(scanFileName_);
    else if (outcome == Outcome::Cancelled) tellCancelled();
    else appState().scannedFilePath.clear();
}

void Formscan::closeWindow() {
    // The bill the window stored; a window that stored none reports none.
    appState().scannedFilePath = storedPath_;
    unload();
}

}  // namespace petty
