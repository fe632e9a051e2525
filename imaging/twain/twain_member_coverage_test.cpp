// Every member of _Twain in the type library is named by a table of cases
// that proves its effect; a member added to the library without a row fails.
#include <gtest/gtest.h>

#include "imaging/typelib/testing/member_tables.h"

namespace scanvelt::testing {
namespace {

// Members whose rows are still to be written. The list only shrinks: a name
// that gets a row must leave it, and a new member never enters it.
const std::set<std::string> kUntabled = {
    "AutoDeskew",
    "CloseNativeImage", "ColorPaletteGet", "ColorPaletteGetColorsCount",
    "ColorPaletteSet", "CopyRegionToClipboard", "CopyToClipboard", "CropBlackBorders", "CropBorders", "CropBordersEX",
    "CropWhiteBorders", "DeleteClipboardData", "DeleteHBitmap", "DeleteHICON", "DeletePictureObject",
    "DisplayImageOnHDC", "DisplayImageOnHwnd", "DisplayImageRectOnHDC", "DisplayImageRectOnHwnd",
    "GetDib", "GetGdiplusImage", "GetHBitmap", "GetHICON", "GetMorvalenImageDC", "GetPicture",
    "GetPictureFromMorvalenImage",
    "PdfCreateRights", "ReleaseMorvalenImageDC", "RemoveDib", "ResetROI",
    "ResizeImage", "SaveAsBmp", "SaveAsByteArray", "SaveAsEXR", "SaveAsGIF", "SaveAsGIFi", "SaveAsICO", "SaveAsJ2K",
    "SaveAsJP2", "SaveAsJPEG", "SaveAsPBM", "SaveAsPDF", "SaveAsPDFA", "SaveAsPDFAEx", "SaveAsPDFEx", "SaveAsPDFOCR",
    "SaveAsPDFOCREx", "SaveAsPNG", "SaveAsPNM", "SaveAsStream", "SaveAsString", "SaveAsTGA", "SaveAsTIFF",
    "SaveAsTIFFjpg", "SaveAsTIFFjpgEx", "SaveAsWBMP", "SaveAsXPM", "SaveToFTP", "SetFtpPassiveMode",
    "SetHttpTransfertBufferSize", "SetROI", "TiffAddToNativeMultiPage", "TiffCloseNativeMultiPage",
    "TiffSaveAsNativeMultiPage", "TwainAcquireToDib", "TwainAcquireToFile", "TwainAcquireToMorvalenImage",
    "TwainAddMorvalenImageToPdf", "TwainAddMorvalenImageToPdfOCR",
    "TwainCloseSource", "TwainCloseSourceManager",
    "TwainDisableAutoSourceClose", "TwainDisableSource", "TwainEnableDuplex", "TwainEndAllXfers", "TwainEndXfer",
    "TwainGetAvailableBarCodeTypeCount", "TwainGetAvailableBarCodeTypeNo", "TwainGetCapItemType",
    "TwainGetCurrentBitDepth", "TwainGetCurrentBrightness", "TwainGetCurrentContrast", "TwainGetCurrentPixelType",
    "TwainGetCurrentResolution", "TwainGetCurrentSourceName", "TwainGetDefaultSourceName", "TwainGetDuplexMode",
    "TwainGetHideUI", "TwainGetLastConditionCode", "TwainGetLastResultCode", "TwainGetPaperSize",
    "TwainGetPhysicalHeight", "TwainGetPhysicalWidth", "TwainGetSourceCount", "TwainGetSourceName", "TwainGetState",
    "TwainHasCameraPreviewUI", "TwainHasFeeder", "TwainHasFlatBed", "TwainIsAutoBrightnessAvailable",
    "TwainIsAutoBrightnessEnabled", "TwainIsAutoFeedAvailable", "TwainIsAutoFeedEnabled", "TwainIsAutoFeedOn",
    "TwainIsAutoScanAvailable", "TwainIsAutoScanEnabled", "TwainIsAutoSizeAvailable", "TwainIsAutoSizeEnabled",
    "TwainIsAutomaticBorderDetectionAvailable", "TwainIsAutomaticBorderDetectionEnabled",
    "TwainIsAutomaticDeskewAvailable", "TwainIsAutomaticDeskewEnabled", "TwainIsAutomaticDiscardBlankPagesAvailable",
    "TwainIsAutomaticDiscardBlankPagesEnabled", "TwainIsAutomaticRotationAvailable",
    "TwainIsAutomaticRotationEnabled", "TwainIsAvailable", "TwainIsBarcodeDetectionAvailable",
    "TwainIsBarcodeDetectionEnabled", "TwainIsDeviceOnline", "TwainIsDuplexEnabled", "TwainIsFeederLoaded",
    "TwainIsFeederSelected", "TwainIsFileTransferModeAvailable", "TwainIsPixelTypeAvailable", "TwainLastXferFail",
    "TwainLogStart", "TwainLogStop", "TwainOpenDefaultSource", "TwainOpenSource", "TwainPdfOCRStart",
    "TwainPdfOCRStartEx", "TwainPdfOCRStop", "TwainPdfStart", "TwainPdfStartEx", "TwainPdfStop", "TwainResetCap",
    "TwainResetImageLayout", "TwainSelectFeeder", "TwainSelectSource", "TwainSetApplicationInfo",
    "TwainSetAutoBrightness", "TwainSetAutoFeed", "TwainSetAutoScan", "TwainSetAutoSize",
    "TwainSetAutomaticBorderDetection", "TwainSetAutomaticDeskew", "TwainSetAutomaticDiscardBlankPages",
    "TwainSetAutomaticRotation", "TwainSetBarcodeDetection", "TwainSetCapCurrentNumeric", "TwainSetCapCurrentString",
    "TwainSetCurrentBitDepth", "TwainSetCurrentBrightness", "TwainSetCurrentCompression", "TwainSetCurrentContrast",
    "TwainSetCurrentImageFileFormat", "TwainSetCurrentPixelFlavor", "TwainSetCurrentPixelType",
    "TwainSetCurrentPlanarChunky", "TwainSetCurrentResolution", "TwainSetCurrentThreshold", "TwainSetDSMPath",
    "TwainSetDebugMode", "TwainSetErrorMessage", "TwainSetHideUI", "TwainSetIndicators", "TwainSetMultiTransfer",
    "TwainSetPaperSize", "TwainSetXferCount", "TwainShowSetupDialogSource", "TwainUnloadSourceManager",
    "TwainUserClosedSource",
};

TEST(TwainMemberCoverage, EveryMemberOfTheTypeLibraryHasARow) {
    ExpectEveryMemberTabled("_Twain", kUntabled);
}

}  // namespace
}  // namespace scanvelt::testing
