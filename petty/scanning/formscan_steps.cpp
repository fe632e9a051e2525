// The scan window's steps, one click of MyButton1 each. Every statement of a
// step runs with run-time errors ignored: a control call that fails is
// skipped and the next one runs, so a broken step ends with its failure
// message or silently.
#include <optional>

#include "petty/scanning/file_stamp.h"
#include "petty/scanning/formscan.h"
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

template <class Call>
auto orNothing(Call&& call) -> std::optional<decltype(call())> {
    try {
        return call();
    } catch (const std::exception&) {
        return std::nullopt;
    }
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

void Formscan::MyButton1_Click(int index) {
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

bool Formscan::scanPageInto(OnePage page) {
    const LateBoundControl& twain = controls_.twain;
    applyScannerSettings();
    setPageFormat(300, kPixelRgb, 8);
    const FileStamp before = stampOf(page.target);
    const int32_t image =
        orNothing([&] { return twain.callLong(ids::TwainAcquireToMorvalenImage, {kNoWindow}); }).value_or(0);
    if (image != 0) {
        applyImageFilters();
        if (chkPreview.value() == forms::vbChecked) showScannedImage();
        if (page.nameToExtend) *page.nameToExtend += page.extension;
        if (page.pdf) skipOnFailure([&] { twain.call(ids::SaveAsPDF, {page.target}); });
        else skipOnFailure([&] { twain.call(ids::SaveAsJPEG, {page.target, page.jpegQuality}); });
        skipOnFailure([&] { twain.call(ids::CloseImage, {image}); });
    }
    skipOnFailure([&] { twain.call(ids::TwainCloseSource); });
    // Stored only when this scan wrote the file; without a page nothing was saved.
    return image != 0 && writtenSince(before, page.target);
}

bool Formscan::scanFeederInto(Feeder run) {
    const LateBoundControl& twain = controls_.twain;
    applyScannerSettings();
    skipOnFailure([&] { twain.call(ids::TwainSetAutoFeed, {true}); });
    skipOnFailure([&] { twain.call(ids::TwainSetAutoScan, {true}); });
    if (run.tiff) setPageFormat(200, kPixelBlackWhite, 1);
    else setPageFormat(200, kPixelRgb, 8);

    const FileStamp before = stampOf(run.target);
    if (!run.tiff) {
        if (run.nameToExtend) *run.nameToExtend += ".pdf";
        skipOnFailure([&] { twain.call(ids::TwainPdfStart, {run.target}); });
    }
    for (int page = 1;; ++page) {
        const int32_t image =
            orNothing([&] { return twain.callLong(ids::TwainAcquireToMorvalenImage, {kNoWindow}); }).value_or(0);
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
    return writtenSince(before, run.target);
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
    const bool stored =
        scanPageInto({documentsPath(scanFileName_ + extension), step == ScanToPdf, extension, &scanFileName_, 75});
    if (!warnFirst) setPointer(forms::vbCustom);
    if (stored) {
        appState().scannedFilePath = appState().documentsFolder + scanFileName_;
        message("Completed !");
    } else {
        if (step == ScanToJpeg) message("Failed !");
        if (step == ScanToPdf) message("Failed to scan the document!");
        appState().scannedFilePath.clear();
    }
}

void Formscan::scanAllPages(Step step) {
    const bool tiff = step == ScanAllToTiff;
    if (!openSource()) return showOpenFailure();
    if (scanFeederInto({tiff, documentsPath(scanFileName_ + (tiff ? "multipage.tif" : ".pdf")), &scanFileName_})) {
        appState().scannedFilePath = appState().documentsFolder + scanFileName_;
        message("Completed !");
    } else {
        appState().scannedFilePath.clear();
    }
}

void Formscan::closeWindow() {
    AppState& app = appState();
    if (scanFileName_.empty()) unload();
    // An empty name looks at the folder itself: any file in it makes the
    // folder the result, which the register's scan button rejects.
    const std::string path = app.documentsFolder + scanFileName_;
    app.scannedFilePath = findOrdinaryFile(path) ? path : std::string();
    unload();
}

}  // namespace petty
