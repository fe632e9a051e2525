// The members of _Twain for automatic features and the barcodes the source detected, with their dispatch IDs.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainFeatureMembers() {
    return {
        Method(0x600300e3, "TwainSetAutoSize", {Flag("bAutoSize")}, VT_BOOL),
        Method(0x600300e4, "TwainSetAutomaticBorderDetection", {Flag("bAutoBorderDetect")}, VT_BOOL),
        Method(0x600300e5, "TwainSetAutomaticDeskew", {Flag("bAutoDeskew")}, VT_BOOL),
        Method(0x600300e6, "TwainSetAutomaticDiscardBlankPages", {Flag("bAutoDiscard")}, VT_BOOL),
        Method(0x600300e7, "TwainSetAutomaticRotation", {Flag("bAutoRotate")}, VT_BOOL),
        Method(0x600300e8, "TwainSetBarcodeDetection", {Flag("bBarcodeDetection")}, VT_BOOL),
        Method(0x600300e9, "TwainIsAutoBrightnessAvailable", {}, VT_BOOL),
        Method(0x600300ea, "TwainIsAutoBrightnessEnabled", {}, VT_BOOL),
        Method(0x600300f1, "TwainIsAutoFeedAvailable", {}, VT_BOOL),
        Method(0x600300f2, "TwainIsAutoFeedEnabled", {}, VT_BOOL),
        Method(0x600300f3, "TwainIsAutoScanAvailable", {}, VT_BOOL),
        Method(0x600300f6, "TwainIsAutoScanEnabled", {}, VT_BOOL),
        Method(0x600300f7, "TwainIsAutoSizeAvailable", {}, VT_BOOL),
        Method(0x600300f8, "TwainIsAutoSizeEnabled", {}, VT_BOOL),
        Method(0x60030125, "TwainIsAutomaticBorderDetectionAvailable", {}, VT_BOOL),
        Method(0x60030126, "TwainIsAutomaticBorderDetectionEnabled", {}, VT_BOOL),
        Method(0x60030127, "TwainIsAutomaticDeskewAvailable", {}, VT_BOOL),
        Method(0x60030128, "TwainIsAutomaticDeskewEnabled", {}, VT_BOOL),
        Method(0x60030129, "TwainIsAutomaticDiscardBlankPagesAvailable", {}, VT_BOOL),
        Method(0x6003012a, "TwainIsAutomaticDiscardBlankPagesEnabled", {}, VT_BOOL),
        Method(0x6003012b, "TwainIsAutomaticRotationAvailable", {}, VT_BOOL),
        Method(0x6003012c, "TwainIsAutomaticRotationEnabled", {}, VT_BOOL),
        Method(0x6003012d, "TwainIsBarcodeDetectionAvailable", {}, VT_BOOL),
        Method(0x6003012e, "TwainIsBarcodeDetectionEnabled", {}, VT_BOOL),
        Method(0x6003012f, "TwainGetAvailableBarCodeTypeCount", {}, VT_I4),
        EnumMethod(0x60030142, "TwainGetAvailableBarCodeTypeNo", {Long("nNumber")}, "TwainBarCodeType"),
        Method(0x60030152, "TwainBarCodeGetCount", {}, VT_I4),
        Method(0x60030153, "TwainBarCodeGetValue", {Long("nBarCodeNo")}, VT_BSTR),
        EnumMethod(0x60030154, "TwainBarCodeGetType", {Long("nBarCodeNo")}, "TwainBarCodeType"),
        Method(0x60030113, "TwainBarCodeGetXPos", {Long("nBarCodeNo")}, VT_I4),
        Method(0x60030057, "TwainBarCodeGetYPos", {Long("nBarCodeNo")}, VT_I4),
        Method(0x60030056, "TwainBarCodeGetConfidence", {Long("nBarCodeNo")}, VT_I4),
        EnumMethod(0x60030055, "TwainBarCodeGetRotation", {Long("nBarCodeNo")}, "TwainBarCodeRotation"),
    };
}

}  // namespace scanvelt::typelib
