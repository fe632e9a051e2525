#pragma once
// For tests: the two scanning controls as scripted IDispatch objects that act
// like a scanner with a given number of pages in its feeder: the source opens
// (or not), pages come back as image IDs, and the save members write their
// files, so that a window's success test sees what a real scan would leave.
#include <filesystem>
#include <fstream>
#include <map>
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
            {t::TwainCloseSource, "TwainCloseSource"},
            {t::TwainCloseSourceManager, "TwainCloseSourceManager"},
            {t::TwainEnableDuplex, "TwainEnableDuplex"},
            {t::TwainGetState, "TwainGetState"},
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
            r = com::MakeI4(open_ && delivered_ < pages ? 100 + ++delivered_ : 0);
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
    std::string document_;
};

}  // namespace petty::testing
