#pragma once
// What the scan window knows of the scanning library: the class IDs of its
// two controls and the dispatch IDs of the members it calls. The two
// controls' numbers overlap, so each list names its control.
#include <cstdint>

#include "platform/com/abi.h"

namespace petty::scan_ids {

inline constexpr const char* kTwainClassId = "{06e482ed-a0cf-41ad-a6ce-0c2c7961d7ca}";
inline constexpr const char* kViewerClassId = "{f4d3f1fc-a6ab-41e3-8a76-0eee16ce2be4}";

namespace twain {
inline constexpr com::DISPID AutoDeskew = 0x60030010;
inline constexpr com::DISPID CropBorders = 0x60030015;
inline constexpr com::DISPID FxSepia = 0x6003002a;
inline constexpr com::DISPID FxStretchContrast = 0x6003002b;
inline constexpr com::DISPID FxNegative = 0x6003002c;
inline constexpr com::DISPID TiffSaveAsNativeMultiPage = 0x60030043;
inline constexpr com::DISPID TiffCloseNativeMultiPage = 0x60030044;
inline constexpr com::DISPID TiffAddToNativeMultiPage = 0x60030045;
inline constexpr com::DISPID Rotate = 0x6003004f;
inline constexpr com::DISPID CloseImage = 0x60030051;
inline constexpr com::DISPID SaveAsPDF = 0x60030058;
inline constexpr com::DISPID SaveAsJPEG = 0x6003005d;
inline constexpr com::DISPID GetNativeImage = 0x6003006a;
inline constexpr com::DISPID TwainPdfStart = 0x60030075;
inline constexpr com::DISPID TwainAddMorvalenImageToPdf = 0x60030076;
inline constexpr com::DISPID TwainPdfStop = 0x60030077;
inline constexpr com::DISPID TwainAcquireToMorvalenImage = 0x60030078;
inline constexpr com::DISPID TwainDisableSource = 0x6003007b;
inline constexpr com::DISPID TwainCloseSource = 0x6003007d;
inline constexpr com::DISPID TwainCloseSourceManager = 0x6003007e;
inline constexpr com::DISPID TwainEnableDuplex = 0x60030081;
inline constexpr com::DISPID TwainGetLastResultCode = 0x6003008c;
inline constexpr com::DISPID TwainGetCurrentBitDepth = 0x600300a7;
inline constexpr com::DISPID TwainGetCurrentPixelType = 0x600300aa;
inline constexpr com::DISPID TwainGetCurrentResolution = 0x600300ab;
inline constexpr com::DISPID TwainGetState = 0x600300ce;
inline constexpr com::DISPID TwainOpenDefaultSource = 0x600300d3;
inline constexpr com::DISPID TwainSelectSource = 0x600300d6;
inline constexpr com::DISPID TwainSetAutoBrightness = 0x600300d7;
inline constexpr com::DISPID TwainSetAutoFeed = 0x600300d8;
inline constexpr com::DISPID TwainSetAutoScan = 0x600300eb;
inline constexpr com::DISPID TwainSetCurrentBitDepth = 0x600300ec;
inline constexpr com::DISPID TwainSetCurrentBrightness = 0x600300ed;
inline constexpr com::DISPID TwainSetCurrentContrast = 0x600300ee;
inline constexpr com::DISPID TwainSetCurrentPixelType = 0x600300ef;
inline constexpr com::DISPID TwainSetCurrentResolution = 0x600300f0;
inline constexpr com::DISPID TwainSetHideUI = 0x600300f4;
inline constexpr com::DISPID TwainSetIndicators = 0x600300f5;
inline constexpr com::DISPID TwainShowSetupDialogSource = 0x600300f9;
inline constexpr com::DISPID TwainUnloadSourceManager = 0x600300fa;
// TwainGetLastResultCode's answer after a transfer the user or the program cancelled.
inline constexpr int32_t kResultCancel = 3;
}  // namespace twain

namespace viewer {
inline constexpr com::DISPID ImageClosed = 0x6003003e;
inline constexpr com::DISPID SetNativeImage = 0x60030077;
// Properties the window gives the preview when it places it.
inline constexpr com::DISPID ZoomMode = 0x68030013;
inline constexpr com::DISPID Appearance = 0x6803001f;
inline constexpr int32_t ZoomFitToControl = 2;
inline constexpr int32_t AppearanceFlat = 0;
}  // namespace viewer

}  // namespace petty::scan_ids
