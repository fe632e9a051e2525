#pragma once
// For tests: the two scanning controls as scripted IDispatch objects that act
// like a scanner with a given number of pages in its feeder: the source opens
// (or not), pages come back as image IDs, and the save members write their
// files, so that a window's success test sees what a real scan would leave.
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <string>

#include "petty/scanning/scan_control_ids.h"
#include "petty/scanning/scan_controls.h"
#include "petty/scanning/testing/scripted_control.h"

namespace petty::testing {

inline std::map<com::DISPID, std::string> twainMemberNames() {
    namespace t = scan_ids::twain;
    return {{t::AutoDeskew, "AutoDeskew"},
            {t::CropBorders, "CropBorders"},
            {t::FxSepia, "FxSepia"},
            {t::FxStretchContrast, "FxStretchContrast"},
            {t::FxNegative, "FxNegative"},
            {t::TiffSaveAsNativeMultiPage, "TiffSaveAsNativeMultiPage"},
            {t::TiffCloseNativeMultiPage, "TiffCloseNativeMultiPage"},
            {t::TiffAddToNativeMultiPage, "TiffAddToNativeMultiPage"},
            {t::Rotate, "Rotate"},
            {t::CloseImage, "CloseImage"},
            {t::SaveAsPDF, "SaveAsPDF"},
            {t::SaveAsJPEG, "SaveAsJPEG"},
            {t::GetNativeImage, "GetNativeImage"},
            {t::TwainPdfStart, "TwainPdfStart"},
            {t::TwainAddMorvalenImageToPdf, "TwainAddMorvalenImageToPdf"},
            {t::TwainPdfStop, "TwainPdfStop"},
            {t::TwainAcquireToMorvalenImage, "TwainAcquireToMorvalenImage"},
            {t::TwainDisableSource, "TwainDisableSource"},
            {t::TwainCloseSource, "TwainCloseSource"},
            {t::TwainCloseSourceManager, "TwainCloseSourceManager"},
            {t::TwainEnableDuplex, "TwainEnableDuplex"},
            {t::TwainGetState, "TwainGetState"},
            {t::TwainGetCurrentBitDepth, "TwainGetCurrentBitDepth"},
            {t::TwainGetCurrentPixelType, "TwainGetCurrentPixelType"},
            {t::TwainGetCurrentResolution, "TwainGetCurrentResolution"},
            {t::TwainGetLastResultCode, "TwainGetLastResultCode"},
            {t::TwainOpenDefaultSource, "TwainOpenDefaultSource"},
            {t::TwainSelectSource, "TwainSelectSource"},
            {t::TwainSetAutoBrightness, "TwainSetAutoBrightness"},
            {t::TwainSetAutoFeed, "TwainSetAutoFeed"},
            {t::TwainSetAutoScan, "TwainSetAutoScan"},
            {t::TwainSetCurrentBitDepth, "TwainSetCurrentBitDepth"},
            {t::TwainSetCurrentBrightness, "TwainSetCurrentBrightness"},
            {t::TwainSetCurrentContrast, "TwainSetCurrentContrast"},
            {t::TwainSetCurrentPixelType, "TwainSetCurrentPixelType"},
            {t::TwainSetCurrentResolution, "TwainSetCurrentResolution"},
            {t::TwainSetHideUI, "TwainSetHideUI"},
            {t::TwainSetIndicators, "TwainSetIndicators"},
            {t::TwainShowSetupDialogSource, "TwainShowSetupDialogSource"},
            {t::TwainUnloadSourceManager, "TwainUnloadSourceManager"}};
}

class ScriptedScanner {
public:
    ScriptedScanner() {
        twain.script = [this](const ScriptedControl::Call& c, com::VARIANT& r) { return answer(c, r); };
    }

    // What the scanner is like.
    bool opens = true;             // TwainOpenDefaultSource answers True
    int pages = 1;                 // pages in the feeder (a flatbed: 1)
    int stateWhenClosed = 3;       // the state a failed open leaves
    bool savesWork = true;         // the save members write their files
    bool stateStaysAbove4 = false; // a source that never says it is empty
    int cancelAtPage = 0;          // the user cancels this page in the progress window (0: never)
    // Runs while page n is read, as the window's events do between chunks.
    std::function<void(int page)> duringPage;
    // The source's page format, as its setup dialog shows and sets it.
    int32_t resolution = 50, pixelType = 0, bitDepth = 8;
    std::function<void()> userSetsUp;  // what the user does in the setup dialog (then OK)

    ScriptedControl twain{twainMemberNames()};
    ScriptedControl viewer{{{scan_ids::viewer::SetNativeImage, "SetNativeImage"},
                            {scan_ids::viewer::ImageClosed, "ImageClosed"}}};

    ScanControls controls() { return {LateBoundControl(&twain), LateBoundControl(&viewer)}; }

    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    com::HRESULT answer(const ScriptedControl::Call& c, com::VARIANT& r) {
        const std::string& m = c.member;
        if (m == "TwainOpenDefaultSource") {
            open_ = opens;
            r = com::MakeBool(opens);
        } else if (m == "TwainGetState") {
            r = com::MakeI4(!open_ ? stateWhenClosed : (stateStaysAbove4 || delivered_ < pages) ? 6 : 4);
        } else if (m == "TwainAcquireToMorvalenImage") {
            const int page = delivered_ + 1;
            inPage_ = true;
            if (open_ && duringPage) duringPage(page);
            inPage_ = false;
            const bool cancelled = open_ && (page == cancelAtPage || std::exchange(disabled_, false));
            lastResult_ = cancelled ? scan_ids::twain::kResultCancel : 0;
            r = com::MakeI4(open_ && !cancelled && delivered_ < pages ? 100 + ++delivered_ : 0);
        } else if (m == "TwainDisableSource") {
            // The page being read is cancelled; between pages the batch ends.
            if (inPage_) disabled_ = open_;
            else delivered_ = pages;
            r = com::MakeBool(open_);
        } else if (m == "TwainSetCurrentResolution" || m == "TwainSetCurrentPixelType" || m == "TwainSetCurrentBitDepth") {
            int32_t& value = m == "TwainSetCurrentResolution" ? resolution : m == "TwainSetCurrentPixelType" ? pixelType : bitDepth;
            value = std::stoi(c.args[0]);
            r = com::MakeBool(true);
        } else if (m == "TwainGetCurrentResolution") {
            r = com::MakeI4(resolution);
        } else if (m == "TwainGetCurrentPixelType") {
            r = com::MakeI4(pixelType);
        } else if (m == "TwainGetCurrentBitDepth") {
            r = com::MakeI4(bitDepth);
        } else if (m == "TwainShowSetupDialogSource") {
            if (userSetsUp) userSetsUp();
            r = com::MakeBool(static_cast<bool>(userSetsUp));
        } else if (m == "TwainGetLastResultCode") {
            r = com::MakeI4(lastResult_);
        } else if (m == "GetNativeImage") {
            r = com::MakeI4(100 + delivered_);
        } else if (m == "TwainCloseSource") {
            open_ = false;
            delivered_ = 0;
            r = com::MakeBool(true);
        } else if (m == "SaveAsJPEG" || m == "SaveAsPDF") {
            if (savesWork) write(c.args[0], m);
            r = com::MakeI4(0);
        } else if (m == "TiffSaveAsNativeMultiPage" || m == "TwainPdfStart") {
            document_ = c.args[0];
            r = com::MakeI4(0);
        } else if (m == "TiffCloseNativeMultiPage" || m == "TwainPdfStop") {
            if (savesWork && !document_.empty()) write(document_, m);
            document_.clear();
            r = com::MakeI4(0);
        } else {
            r = com::MakeBool(true);
        }
        return com::S_OK;
    }

    bool open_ = false;
    int delivered_ = 0;
    int32_t lastResult_ = 0;
    bool disabled_ = false;
    bool inPage_ = false;
    std::string document_;
};

}  // namespace petty::testing
