// Every member of _MvViewer in the type library is named by a table of cases
// that proves its effect; a member added to the library without a row fails.
#include <gtest/gtest.h>

#include "imaging/typelib/testing/member_tables.h"

namespace scanvelt::testing {
namespace {

// Members whose rows are still to be written. The list only shrinks: a name
// that gets a row must leave it, and a new member never enters it.
const std::set<std::string> kUntabled = {
    "AnimateGIF", "Appearance", "BackColor", "BackStyle", "BorderStyle", "CenterOnRect", "Clear", "ClearRect",
    "ClipControls", "CloseImage", "CloseImageEx", "ContinuousViewMode", "CoordImageToObject", "CoordObjectToImage",
    "Copy2Clipboard", "CopyRegion2Clipboard", "DeleteHBitmap", "DisableAutoFocus", "DisplayFirstFrame",
    "DisplayFrame", "DisplayFromByteArray", "DisplayFromByteArrayICM", "DisplayFromClipboardData", "DisplayFromFTP",
    "DisplayFromFile", "DisplayFromFileICM", "DisplayFromGdiDib", "DisplayFromHBitmap", "DisplayFromHICON",
    "DisplayFromMemory", "DisplayFromMetaFile", "DisplayFromMorvalenImage", "DisplayFromPdfFile",
    "DisplayFromStdPicture", "DisplayFromStream", "DisplayFromStreamICM", "DisplayFromString", "DisplayFromURL",
    "DisplayFromURLStop", "DisplayLastFrame", "DisplayNextFrame", "DisplayPreviousFrame", "EnableMenu",
    "EnableMouseWheel", "Enabled", "ExifTagCount", "ExifTagGetID", "ExifTagGetName", "ExifTagGetValue",
    "ForcePictureMode", "ForceScrollBars", "GetDisplayedArea", "GetDisplayedAreaMM", "GetDocumentType", "GetHBitmap",
    "GetImageFormat", "GetMouseX", "GetMouseY", "GetRectHeight", "GetRectValues", "GetRectValuesMM",
    "GetRectValuesObject", "GetRectWidth", "GetRectX", "GetRectY", "GetStat", "GetVersion", "GetnativePDF",
    "HScrollVisible", "IPTCTagCount", "IPTCTagGetID", "IPTCTagGetValueString", "ImageAlignment", "ImageClosed",
    "ImageForceTemporaryMode", "ImageMaskColor", "ImagePosition", "KeepImagePosition", "LockControl",
    "MouseButtonForMouseMode", "MouseMode", "MousePointer", "MouseWheelMode", "OptimizeDrawingSpeed",
    "PDFShowDialogForPassword", "PdfDisplayFormField", "PdfDpiRendering", "PdfEnablePageCash",
    "PdfForceTemporaryMode", "PdfGetAuthor", "PdfGetCreationDate", "PdfGetCreator", "PdfGetKeywords",
    "PdfGetMetadata", "PdfGetModificationDate", "PdfGetProducer", "PdfGetSubject", "PdfGetTitle", "PdfGetVersion",
    "PdfRenderingMode", "PlayGif", "PrintGetActivePrinter", "PrintGetColorMode", "PrintGetCopies",
    "PrintGetDocumentName", "PrintGetDuplexMode", "PrintGetImageAlignment", "PrintGetMargins", "PrintGetOrientation",
    "PrintGetPaperBin", "PrintGetPaperHeight", "PrintGetPaperSize", "PrintGetPaperWidth", "PrintGetPrinterName",
    "PrintGetPrintersCount", "PrintGetQuality", "PrintGetStat", "PrintImage", "PrintImage2Printer",
    "PrintImageBySize", "PrintImageBySize2Printer", "PrintImageDialog", "PrintImageDialogBySize",
    "PrintImageDialogFit", "PrintImageFit", "PrintSetActivePrinter", "PrintSetAutoRotation", "PrintSetColorMode",
    "PrintSetCopies", "PrintSetDocumentName", "PrintSetDuplexMode", "PrintSetFromToPage", "PrintSetImageAlignment",
    "PrintSetOrientation", "PrintSetPaperBin", "PrintSetQuality", "PrintSetStdPaperSize", "PrintSetUserPaperSize",
    "RectBorderColor", "RectBorderSize", "RectBorderStyle", "RectDrawMode", "RectIsEditable", "Redraw", "Refresh",
    "ScrollBars", "ScrollLargeChange", "ScrollOptimization", "ScrollSmallChange", "SetBackGroundColor",
    "SetFtpPassiveMode", "SetHttpTransfertBufferSize", "SetItemMenuCaption", "SetItemMenuEnabled", "SetMouseIcon",
    "SetNativeImage", "SetRectValues", "SetRectValuesMM", "SetRectValuesObject", "SilentMode", "SkipImageResolution",
    "StopGif", "Terminate", "VScrollVisible", "ViewerDrop", "ViewerQuality", "ViewerQualityAuto", "gamma", "hdc",
    "hwnd", "isRectDrawed",
};

TEST(ViewerMemberCoverage, EveryMemberOfTheTypeLibraryHasARow) {
    ExpectEveryMemberTabled("_MvViewer", kUntabled);
}

}  // namespace
}  // namespace scanvelt::testing
